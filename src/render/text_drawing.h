#pragma once
// The four text drawers. Each binds the font texture on stage 0 once, adds
// one screen quad per glyph (and one per shadow) to the screen batch and
// flushes it once at the end. Colours are ARGB; a shadow colour of 0 draws no
// shadow. A font-set index outside the table raises 9.
#include <cstdint>
#include <string>

#include "core/geometry.h"
#include "data/glyph_index_list.h"

namespace kiv {

// Alignment of each line of a glyph block relative to its x.
inline constexpr std::int32_t kAlignLeft = 1;
inline constexpr std::int32_t kAlignCentre = 0;
inline constexpr std::int32_t kAlignRight = -1;

// Draws one line of text with the pen starting at (x, y): the shadow 2 pixels
// right and down, the glyph with its top corners in topColor and its bottom
// corners in bottomColor.
void DrawTextLine(std::int32_t fontSet, const std::u16string& text, std::int32_t x, std::int32_t y,
                  std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor);

// DrawTextLine centred on x: it starts at x - width \ 2 of the measured text.
void DrawTextCentered(std::int32_t fontSet, const std::u16string& text, std::int32_t x, std::int32_t y,
                      std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor);

// Draws entries firstIndex..lastIndex of laid-out text as lines from y down,
// each aligned at x (kAlignLeft, kAlignCentre, kAlignRight). lineHeight -1
// takes the height of glyph 0. With lineCount above 0 only the lines n with
// firstLine < n <= firstLine + lineCount are drawn (lines count from 1), but
// the pen still passes every line. Sizes and padding are scaled. outRect gets
// the extent of every line passed: left, top, right, bottom.
void DrawGlyphBlock(Rect& outRect, std::int32_t fontSet, const GlyphIndexList& glyphs,
                    std::int32_t firstIndex, std::int32_t lastIndex, std::int32_t x, std::int32_t y,
                    std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor,
                    std::int32_t lineHeight, std::int32_t firstLine, std::int32_t lineCount,
                    std::int32_t align, float scale);

// Draws the longest tail of laid-out text whose width does not pass width, as
// one left-aligned block at (x, y): the text being typed, which scrolls left.
void DrawTextTail(std::int32_t fontSet, const GlyphIndexList& glyphs, std::int32_t x, std::int32_t y,
                  std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor,
                  std::int32_t width);

}  // namespace kiv
