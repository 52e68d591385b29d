#pragma once
// A font set of our own for the text tests, put in gameData.fontSets[0]:
// a 256 x 64 texture with 1 pixel of padding around every cell, so a glyph of
// w pixels moves the pen by w - 2. Sizes are exact binary fractions.
#include <gtest/gtest.h>

#include <vector>

#include "data/data_hooks.h"
#include "data/game_data.h"

namespace kiv::test {

struct GlyphSpec {
  char16_t character;
  float pixelWidth;
};

// Glyph index: the position in this list, which is sorted by signed code.
inline const std::vector<GlyphSpec> kTestGlyphs = {
    {u'\u8000', 8},  // 0: code -32768; also the glyph of missing characters
    {u'\uFF21', 8},  // 1: code -223
    {u' ', 4},       // 2: advance 2
    {u',', 1},       // 3: advance -1
    {u'A', 8},       // 4: advance 6
    {u'B', 10},      // 5: advance 8
    {u'H', 6.5f},    // 6: advance 4.5, rounded after every glyph
    {u'I', 5},       // 7: advance 3
    {u'W', 40},      // 8: advance 38
};
inline constexpr std::int16_t kSpace = 2, kComma = 3, kA = 4, kB = 5, kH = 6, kI = 7, kW = 8;
inline constexpr std::int32_t kTextureWidth = 256, kTextureHeight = 64, kPadding = 1;
inline constexpr float kGlyphHeight = 0.25f;  // 16 pixels: the font's line height is 14

inline FontSet MakeTestFont() {
  FontSet font;
  font.textureWidth = kTextureWidth;
  font.textureHeight = kTextureHeight;
  font.glyphInset = kPadding;
  float u = 0;
  for (const GlyphSpec& spec : kTestGlyphs) {
    FontGlyph glyph;
    glyph.code = static_cast<std::int16_t>(spec.character);
    glyph.u = u;
    glyph.v = 0.5f;
    glyph.width = spec.pixelWidth / kTextureWidth;
    glyph.height = kGlyphHeight;
    font.glyphs.push_back(glyph);
    u += 0.125f;
  }
  font.lineHeight = 14;
  return font;
}

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    dataHooks.Reset();
    gameData.fontSets.push_back(MakeTestFont());
  }
  void TearDown() override {
    gameData.Reset();
    dataHooks.Reset();
  }
  static FontSet& Font() { return gameData.fontSets[0]; }
};

}  // namespace kiv::test
