// Glyph look-up and word wrap into laid-out text.
#include "render/text_layout.h"

#include <string>

#include "core/error.h"
#include "render/text_font_fixture.h"

namespace kiv {
namespace {

using test::kA;
using test::kB;
using test::kComma;
using test::kH;
using test::kSpace;
using test::kW;
using test::TextTest;

constexpr std::int16_t kMark = kGlyphLineMark;

TEST_F(TextTest, FindFontGlyphSearchesTheSignedCodes) {
  struct Case {
    char16_t character;
    std::int32_t glyph;
  };
  const Case cases[] = {
      {u'A', kA},      // found
      {u'W', kW},      // the last code
      {u' ', kSpace},  // the first code not negative
      {u'\uFF21', 1},  // read as -223: found among the negative codes at the front
      {u'\u8000', 0},  // -32768, the first glyph
      {u'Z', 0},       // past the last code
      {u'C', 0},       // between two codes
      {u'\u0001', 0},  // between the negative codes and the blank
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.character));
    EXPECT_EQ(FindFontGlyph(0, c.character), c.glyph);
  }
  EXPECT_EQ(FindFontGlyph(FontSet(), u'A'), 0);  // a font without glyphs
}

TEST_F(TextTest, WrapTextLaysOutLinesAndCountsThem) {
  struct Case {
    const char* name;
    std::u16string text;
    std::int32_t width;
    float scale;
    GlyphIndexList glyphs;
    std::int32_t lines;
  };
  const Case cases[] = {
      {"line mark", u"A\u00B6B", 0, 1, {kA, kMark, kB}, 2},
      {"line mark within the width", u"A\u00B6B", 100, 1, {kA, kMark, kB}, 2},
      {"no wrapping by width 0", u"WWW WWW", 0, 1, {kW, kW, kW, kSpace, kW, kW, kW}, 1},
      {"no blank: one overflowing line", u"WWW", 50, 1, {kW, kW, kW}, 1},
      // "AAA " is 20 wide with its blank, "AAA" 18: 38 fits, 37 does not.
      {"a word includes its blank, fits", u"AAA AAA", 38, 1, {kA, kA, kA, kSpace, kA, kA, kA}, 1},
      {"a word includes its blank, wraps", u"AAA AAA", 37, 1, {kA, kA, kA, kMark, kA, kA, kA}, 2},
      {"the blank before a wrapped word", u"AB AB AB", 30, 1, {kA, kB, kMark, kA, kB, kSpace, kA, kB}, 2},
      {"every word on its own line", u"W W W", 10, 1, {kW, kMark, kW, kMark, kW}, 3},
      {"the first word never adds a line", u"WW A", 50, 1, {kW, kW, kMark, kA}, 2},
      // A word after a line mark starts its line: it never adds one.
      {"a wide word after a line mark", u"A\u00B6WW", 50, 1, {kA, kMark, kW, kW}, 2},
      {"a wide word after a line mark, then more", u"A\u00B6WW A", 50, 1, {kA, kMark, kW, kW, kMark, kA}, 3},
      // "HHH " measures 4, 8, 12 (halves to even after every glyph), then 14;
      // with "A" 20. Rounding once at the end or halves up would pass 20.
      {"advance rounded half to even per glyph, fits", u"HHH A", 20, 1, {kH, kH, kH, kSpace, kA}, 1},
      {"advance rounded half to even per glyph, wraps", u"HHH A", 19, 1, {kH, kH, kH, kMark, kA}, 2},
      // At scale 2 "AB " is 12 + 16 + 4 and "AB" 28: 60 in all.
      {"scaled widths, fits", u"AB AB", 60, 2, {kA, kB, kSpace, kA, kB}, 1},
      {"scaled widths, wraps", u"AB AB", 59, 2, {kA, kB, kMark, kA, kB}, 2},
      {"a missing character is glyph 0", u"AZ", 0, 1, {kA, 0}, 1},
      {"blanks in a row", u"A  B", 0, 1, {kA, kSpace, kSpace, kB}, 1},
      {"a trailing line mark", u"A\u00B6", 0, 1, {kA, kMark}, 2},
      {"a negative advance", u",,,", 1, 1, {kComma, kComma, kComma}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::int32_t lines = -7;
    EXPECT_EQ(WrapText(0, c.text, c.width, lines, c.scale), c.glyphs);
    EXPECT_EQ(lines, c.lines);
  }
}

// Without a font set loaded or with an empty text the line count keeps the
// caller's value.
TEST_F(TextTest, WrapTextLeavesTheCountOfNoFontAndOfEmptyText) {
  std::int32_t lines = -7;
  EXPECT_EQ(WrapText(0, u"", 10, lines, 1), GlyphIndexList{kSpace});
  EXPECT_EQ(lines, -7);
  gameData.fontSets.clear();
  EXPECT_EQ(WrapText(0, u"AB", 10, lines, 1), GlyphIndexList{0});
  EXPECT_EQ(lines, -7);
}

TEST_F(TextTest, WrapTextOfAFontWithoutGlyphsMeasuresNothing) {
  Font().glyphs.clear();
  std::int32_t lines = 0;
  EXPECT_EQ(WrapText(0, u"AB AB", 1, lines, 1), (GlyphIndexList{0, 0, 0, 0, 0}));
  EXPECT_EQ(lines, 1);
}

TEST_F(TextTest, AFontSetOutsideTheTableIsAnError) {
  std::int32_t lines = 0;
  for (std::int32_t fontSet : {-1, 1}) {
    SCOPED_TRACE(fontSet);
    try {
      WrapText(fontSet, u"A", 0, lines, 1);
      ADD_FAILURE() << "no error";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrIndex);
    }
  }
}

// Glyph 234 of a large font is the line mark in laid-out text: a character
// that has it lays out as a line end, though the count does not know it.
TEST_F(TextTest, GlyphTwoHundredThirtyFourOfALargeFontIsTheLineMark) {
  FontSet& font = Font();
  font.glyphs.clear();
  for (std::int16_t code = 1000; code < 1240; ++code) {
    FontGlyph glyph;
    glyph.code = code;
    glyph.width = 0.03125f;
    font.glyphs.push_back(glyph);
  }
  const std::u16string text = {u'\u03E8', static_cast<char16_t>(1000 + 234), u'\u03E9'};
  std::int32_t lines = 0;
  EXPECT_EQ(WrapText(0, text, 0, lines, 1), (GlyphIndexList{0, kMark, 1}));
  EXPECT_EQ(lines, 1);
}

}  // namespace
}  // namespace kiv
