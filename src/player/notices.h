#pragma once
// The notices on the screen: short texts that stack up from the bottom, shown
// at full strength for 10 seconds, fading over 5 more, then removed.
#include <cstdint>
#include <string>
#include <vector>

#include "data/glyph_index_list.h"

namespace kiv {

struct Notice {
  std::u16string text;
  GlyphIndexList glyphs;  // the text laid out with font set 0
  std::int32_t lineCount = 0;
  std::int32_t age = 0;  // ms
};

// Oldest first; the newest is drawn at the bottom.
extern std::vector<Notice> notices;

}  // namespace kiv
