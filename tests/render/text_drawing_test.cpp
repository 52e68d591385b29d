// The four text drawers, recorded through the batcher and device seams.
#include "render/text_drawing.h"

#include <memory>
#include <string>

#include "render/text_font_fixture.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

using test::kA;
using test::kB;
using test::kBottomLeft;
using test::kBottomRight;
using test::kH;
using test::kTopLeft;
using test::kTopRight;
using test::RecordedKind;
using test::RecordedQuad;

constexpr std::int16_t kMark = kGlyphLineMark;
constexpr std::uint32_t kTop = 0xFF112233, kBottom = 0xFF445566, kShadow = 0x80000000;

class TextDrawingTest : public test::TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    // A texture object only to tell binds apart: it has no device behind it.
    texture = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 256, 64, 0, 1);
    Font().loadedTexture = texture;
  }

  // Every drawer binds the font texture on stage 0 first and flushes once at the end.
  void ExpectOneBindThenOneFlush() {
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events.front().kind, RecordedKind::kBind);
    EXPECT_EQ(recorder.events.front().stage, 0u);
    EXPECT_EQ(recorder.events.front().texture, texture.get());
    EXPECT_EQ(recorder.Count(RecordedKind::kBind), 1u);
    EXPECT_EQ(recorder.Count(RecordedKind::kFlush), recorder.quads.empty() ? 0u : 1u);
  }

  std::vector<float> QuadLefts() const {
    std::vector<float> lefts;
    for (const RecordedQuad& q : recorder.quads) lefts.push_back(q.Left());
    return lefts;
  }
  std::vector<float> QuadTops() const {
    std::vector<float> tops;
    for (const RecordedQuad& q : recorder.quads) tops.push_back(q.Top());
    return tops;
  }

  gfx::TexturePtr texture;
  test::RecordingBatcher recorder;
};

TEST_F(TextDrawingTest, DrawTextLineDrawsShadowThenGradientGlyph) {
  DrawTextLine(0, u"AB", 10, 20, kTop, kBottom, kShadow);
  ExpectOneBindThenOneFlush();
  ASSERT_EQ(recorder.quads.size(), 4u);
  // Shadow and glyph of "A" at pen 10, of "B" at pen 10 + 6; cells start one
  // pixel of padding before the pen.
  struct Expected {
    float left, top, width;
    std::uint32_t topColor, bottomColor;
    float u;
  };
  const Expected expected[4] = {{11, 21, 8, kShadow, kShadow, 0.5f},
                                {9, 19, 8, kTop, kBottom, 0.5f},
                                {17, 21, 10, kShadow, kShadow, 0.625f},
                                {15, 19, 10, kTop, kBottom, 0.625f}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const RecordedQuad& q = recorder.quads[static_cast<std::size_t>(i)];
    EXPECT_EQ(q.stride, sizeof(ScreenVertex));
    EXPECT_EQ(q.Left(), expected[i].left);
    EXPECT_EQ(q.Top(), expected[i].top);
    EXPECT_EQ(q.Right() - q.Left(), expected[i].width);
    EXPECT_EQ(q.Bottom() - q.Top(), 16);
    EXPECT_EQ(q.Screen(kTopLeft).diffuse, expected[i].topColor);
    EXPECT_EQ(q.Screen(kTopRight).diffuse, expected[i].topColor);
    EXPECT_EQ(q.Screen(kBottomLeft).diffuse, expected[i].bottomColor);
    EXPECT_EQ(q.Screen(kBottomRight).diffuse, expected[i].bottomColor);
    EXPECT_EQ(q.Screen(kTopLeft).specular, 0u);
    EXPECT_EQ(q.Screen(kTopLeft).tu, expected[i].u);
    EXPECT_EQ(q.Screen(kTopLeft).tv, 0.5f);
    EXPECT_EQ(q.Screen(kBottomRight).tu, expected[i].u + expected[i].width / 256);
    EXPECT_EQ(q.Screen(kBottomRight).tv, 0.75f);
  }
}

TEST_F(TextDrawingTest, DrawTextLineWithoutShadowAndWithHalfPixelAdvances) {
  // "H" advances 4.5: the pen goes 0, 4, 8, 12 (halves to even after every glyph).
  DrawTextLine(0, u"HHHA", 0, 0, kTop, kTop, 0);
  ExpectOneBindThenOneFlush();
  EXPECT_EQ(QuadLefts(), (std::vector<float>{-1, 3, 7, 11}));
}

TEST_F(TextDrawingTest, DrawTextCenteredStartsAtXLessHalfTheWidthTruncated) {
  struct Case {
    std::u16string text;
    float firstLeft;
  };
  const Case cases[] = {
      {u"AB", 100 - 7 - 1},   // width 14
      {u"I", 100 - 1 - 1},    // width 3: 3 \ 2 = 1
      {u",", 100 - 0 - 1},    // width -1: -1 \ 2 = 0, toward zero
      {u",,,", 100 + 1 - 1},  // width -3: -3 \ 2 = -1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    recorder.Clear();
    DrawTextCentered(0, c.text, 100, 0, kTop, kTop, 0);
    ExpectOneBindThenOneFlush();
    ASSERT_FALSE(recorder.quads.empty());
    EXPECT_EQ(recorder.quads[0].Left(), c.firstLeft);
  }
}

// "AB" (14 wide) over "AAA" (18 wide), line height 20, at (100, 50).
TEST_F(TextDrawingTest, DrawGlyphBlockAlignsEachLineAtX) {
  const GlyphIndexList glyphs = {kA, kB, kMark, kA, kA, kA};
  struct Case {
    std::int32_t align;
    float line1, line2;  // pen x of each line
    Rect extent;
  };
  const Case cases[] = {
      {kAlignLeft, 100, 100, {100, 50, 118, 90}},
      {kAlignCentre, 93, 91, {91, 50, 109, 90}},
      {kAlignRight, 86, 82, {82, 50, 100, 90}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.align);
    recorder.Clear();
    Rect extent;
    DrawGlyphBlock(extent, 0, glyphs, 0, 5, 100, 50, kTop, kBottom, 0, 20, 0, 0, c.align, 1.0f);
    ExpectOneBindThenOneFlush();
    EXPECT_EQ(QuadLefts(),
              (std::vector<float>{c.line1 - 1, c.line1 + 5, c.line2 - 1, c.line2 + 5, c.line2 + 11}));
    EXPECT_EQ(QuadTops(), (std::vector<float>{49, 49, 69, 69, 69}));
    EXPECT_EQ(extent, c.extent);
  }
}

// Line height -1 is glyph 0's height less the padding, at the scaled sizes:
// texture size and padding are each scaled and rounded half to even.
TEST_F(TextDrawingTest, DrawGlyphBlockScalesSizesAndTakesTheLineHeightFromGlyphZero) {
  struct Case {
    float scale;
    float glyphWidth, glyphHeight;  // of "A"
    std::int32_t padding, advance, lineHeight;
  };
  const Case cases[] = {
      {1.0f, 8, 16, 1, 6, 14},
      {2.0f, 16, 32, 2, 12, 28},
      {2.5f, 20, 40, 2, 16, 36},  // padding 2.5 rounds to 2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    recorder.Clear();
    Rect extent;
    DrawGlyphBlock(extent, 0, {kA, kMark, kA, kA}, 0, 3, 0, 0, kTop, kBottom, 0, -1, 0, 0, kAlignLeft,
                   c.scale);
    ASSERT_EQ(recorder.quads.size(), 3u);
    const RecordedQuad& first = recorder.quads[0];
    EXPECT_EQ(first.Left(), static_cast<float>(-c.padding));
    EXPECT_EQ(first.Right() - first.Left(), c.glyphWidth);
    EXPECT_EQ(first.Bottom() - first.Top(), c.glyphHeight);
    EXPECT_EQ(recorder.quads[2].Left(), static_cast<float>(c.advance - c.padding));
    EXPECT_EQ(recorder.quads[1].Top(), static_cast<float>(c.lineHeight - c.padding));
    EXPECT_EQ(extent, (Rect{0, 0, 2 * c.advance, 2 * c.lineHeight}));
  }
}

TEST_F(TextDrawingTest, DrawGlyphBlockThatOpensWithALineMarkBeginsWithAnEmptyLine) {
  Rect extent;
  DrawGlyphBlock(extent, 0, {kMark, kA, kB}, 0, 2, 100, 50, kTop, kBottom, 0, 20, 0, 0, kAlignRight, 1.0f);
  ExpectOneBindThenOneFlush();
  EXPECT_EQ(QuadTops(), (std::vector<float>{69, 69}));
  EXPECT_EQ(QuadLefts(), (std::vector<float>{85, 91}));  // the line after the mark, right-aligned
  EXPECT_EQ(extent, (Rect{86, 50, 100, 90}));
}

// Six lines of "A", then "AB" on the fifth: only lines 4 and 5 are drawn with
// lineCount 2 from firstLine 3, but the extent covers all six.
TEST_F(TextDrawingTest, DrawGlyphBlockDrawsOnlyTheLinesOfItsWindow) {
  const GlyphIndexList glyphs = {kA, kMark, kA, kMark, kA, kMark, kA, kMark, kA, kB, kMark, kA};
  struct Case {
    std::int32_t firstLine, lineCount;
    std::vector<float> tops;
  };
  const Case cases[] = {
      {3, 2, {69, 89, 89}},
      {0, 0, {9, 29, 49, 69, 89, 89, 109}},
      {-5, -1, {9, 29, 49, 69, 89, 89, 109}},
      {5, 10, {109}},
      {6, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firstLine);
    recorder.Clear();
    Rect extent;
    DrawGlyphBlock(extent, 0, glyphs, 0, 11, 0, 10, kTop, kBottom, kShadow, 20, c.firstLine, c.lineCount,
                   kAlignLeft, 1.0f);
    ExpectOneBindThenOneFlush();
    std::vector<float> glyphTops;  // every second quad is a glyph, after its shadow
    for (std::size_t i = 1; i < recorder.quads.size(); i += 2) glyphTops.push_back(recorder.quads[i].Top());
    EXPECT_EQ(glyphTops, c.tops);
    EXPECT_EQ(extent, (Rect{0, 10, 14, 130}));
  }
}

TEST_F(TextDrawingTest, DrawGlyphBlockOfAPartMeasuresFromItsFirstEntry) {
  // Entries 3..5 are "B", the mark and "A": the first line is "B" alone.
  Rect extent;
  DrawGlyphBlock(extent, 0, {kA, kA, kA, kB, kMark, kA, kA}, 3, 5, 100, 0, kTop, kBottom, 0, 20, 0, 0,
                 kAlignRight, 1.0f);
  EXPECT_EQ(QuadLefts(), (std::vector<float>{91, 93}));
  EXPECT_EQ(extent, (Rect{92, 0, 100, 40}));
}

TEST_F(TextDrawingTest, DrawGlyphBlockDrawsOnlyEntriesTheListHolds) {
  Rect extent;
  DrawGlyphBlock(extent, 0, {kA, kB}, -3, 9, 0, 0, kTop, kBottom, 0, 20, 0, 0, kAlignCentre, 1.0f);
  EXPECT_EQ(QuadLefts(), (std::vector<float>{-8, -2}));
  EXPECT_EQ(extent, (Rect{-7, 0, 7, 20}));
  recorder.Clear();
  DrawGlyphBlock(extent, 0, {}, 0, -1, 5, 6, kTop, kBottom, 0, 20, 0, 0, kAlignLeft, 1.0f);
  ExpectOneBindThenOneFlush();
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_EQ(extent, (Rect{5, 6, 5, 6}));
}

// Entries laid out with another font draw as glyph 0.
TEST_F(TextDrawingTest, GlyphsTheFontDoesNotHaveDrawAsGlyphZero) {
  Rect extent;
  DrawGlyphBlock(extent, 0, {-5, 300}, 0, 1, 0, 0, kTop, kBottom, 0, 20, 0, 0, kAlignLeft, 1.0f);
  ASSERT_EQ(recorder.quads.size(), 2u);
  for (const RecordedQuad& q : recorder.quads) EXPECT_EQ(q.Screen(kTopLeft).tu, 0.0f);
  EXPECT_EQ(extent.right, 12);
}

TEST_F(TextDrawingTest, DrawTextTailDrawsTheLongestTailThatFits) {
  // From the back "AAAB" measures 8, 14, 20, 26.
  const GlyphIndexList glyphs = {kA, kA, kA, kB};
  struct Case {
    std::int32_t width;
    std::vector<float> lefts;
  };
  const Case cases[] = {
      {100, {-1, 5, 11, 17}},  // all of it
      {26, {-1, 5, 11, 17}},  {25, {-1, 5, 11}}, {20, {-1, 5, 11}}, {19, {-1, 5}}, {7, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    recorder.Clear();
    DrawTextTail(0, glyphs, 0, 0, kTop, kBottom, 0, c.width);
    ExpectOneBindThenOneFlush();
    EXPECT_EQ(QuadLefts(), c.lefts);
    // The tail ends with "B": the last quad drawn is always its glyph.
    if (!c.lefts.empty()) {
      EXPECT_EQ(recorder.quads.back().Right() - recorder.quads.back().Left(), 10);
    }
  }
}

TEST_F(TextDrawingTest, DrawTextTailGivesALineMarkNoRoom) {
  DrawTextTail(0, {kH, kA, kMark, kB}, 0, 0, kTop, kBottom, 0, 14);
  EXPECT_EQ(QuadLefts(), (std::vector<float>{-1, -1}));  // "A", then "B" on the next line
  EXPECT_EQ(QuadTops(), (std::vector<float>{-1, 31}));
}

}  // namespace
}  // namespace kiv
