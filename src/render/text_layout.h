#pragma once
// Text laid out with font sets: glyphs found by character code, the pen's
// advance over a glyph, and word wrap into laid-out text with line marks.
#include <cstdint>
#include <string>

#include "data/glyph_index_list.h"
#include "data/set_records.h"

namespace kiv {

inline constexpr char16_t kLineMarkCharacter = u'\u00B6';  // "¶" forces a line break

// The font set at an index; raises 9 for one outside the table.
const FontSet& FontSetAt(std::int32_t fontSet);

// The glyph of a character in a font's table (sorted by code), the character's
// UTF-16 value read as a signed 16-bit code; 0 when the font has none.
std::int32_t FindFontGlyph(const FontSet& font, char16_t character);
std::int32_t FindFontGlyph(std::int32_t fontSet, char16_t character);

// The glyph record an index of laid-out text draws: glyph 0 for an index the
// font does not have (text laid out with another font), null for a font
// without glyphs.
const FontGlyph* GlyphForIndex(const FontSet& font, std::int32_t index);

// The pen x after a glyph: the glyph's width in pixels plus x less the padding
// on both sides, rounded half to even. Scaled text passes the scaled texture
// width and padding. No glyph leaves the pen where it is.
std::int32_t AdvancePen(const FontGlyph* glyph, double textureWidth, double padding, std::int32_t x);

// Lays a text out: one glyph index per character, kGlyphLineMark at each "¶"
// and, when width is not 0, in place of the blank before a word that would
// pass the width (a word includes the blank that ends it; a word wider than
// the width stands alone on its line and overflows it). Widths are measured
// with the font's sizes times scale. Writes the number of lines to lineCount,
// except with no font set loaded (gives one entry 0) or an empty text (gives
// the glyph of " "), where lineCount keeps its value.
GlyphIndexList WrapText(std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                        std::int32_t& lineCount, float scale);

}  // namespace kiv
