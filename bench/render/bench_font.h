#pragma once
// The font set the drawing benches share: printable codes 32..126 in cells 16
// pixels apart on a 256 x 128 texture, 4 to 15 pixels wide.
#include <cstdint>

#include "data/set_records.h"

namespace kiv::bench {

inline FontSet BenchFont(std::int32_t lineHeight = 0) {
  FontSet font;
  font.textureWidth = 256;
  font.textureHeight = 128;
  font.glyphInset = 1;
  for (std::int16_t code = 32; code <= 126; ++code) {
    const std::int32_t cell = code - 32;
    FontGlyph glyph;
    glyph.code = code;
    glyph.u = static_cast<float>(cell % 16) / 16.0f;
    glyph.v = static_cast<float>(cell / 16) / 8.0f;
    glyph.width = static_cast<float>(4 + cell % 12) / 256.0f;
    glyph.height = 16.0f / 128.0f;
    font.glyphs.push_back(glyph);
  }
  if (lineHeight != 0) font.lineHeight = lineHeight;
  return font;
}

}  // namespace kiv::bench
