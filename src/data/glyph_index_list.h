#pragma once
// Laid-out text: one glyph index of a font set per character, with the line
// mark where a line ends. Glyph 234 of a font can therefore never appear in
// laid-out text.
#include <cstdint>
#include <vector>

namespace kiv {

using GlyphIndexList = std::vector<std::int16_t>;
inline constexpr std::int16_t kGlyphLineMark = 234;

}  // namespace kiv
