// The value kinds of interface fields against the recording device: the
// sprite calls and the vertices each kind produces.
#include "render/value_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/variant.h"
#include "data/field_record.h"
#include "data/game_data.h"
#include "mathkiv/colors.h"
#include "platform/gfx/d3d_types.h"
#include "render/field_sprites.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

constexpr std::uint32_t kFilled = 0xFF20C040;
constexpr std::uint32_t kEmpty = 0x80402010;
constexpr std::int32_t kDuration = 400;  // 4 frames of 100 ms
constexpr float kThird = 0.3333333134651184f;
constexpr float kTwoThirds = 0.6666666865348816f;

std::vector<FieldSprite> drawnSprites;

void RecordSprite(const FieldSprite& sprite, const MapView&) { drawnSprites.push_back(sprite); }

class ValueFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    drawnSprites.clear();
    SetFieldSpriteDrawer(RecordSprite);
    SpriteSet set;
    set.poses.resize(1);
    SpriteDirection& d = set.poses[0].directions[4];
    d.layers.resize(1);
    d.builtFrames.resize(4);
    d.frameDuration = 100;
    gameData.spriteSets.push_back(set);
    field.colorsA[0] = kFilled;
    field.colorsB[0] = kEmpty;
    field.spriteSet = 0;
    area.left = 100;
    area.top = 50;
    area.width = 60;
    area.height = 20;
    area.anchorX = 100;
    area.anchorY = 50;
    area.spriteWidth = 30;
    area.spriteHeight = 10;
  }
  void TearDown() override {
    SetFieldSpriteDrawer(nullptr);
    gameData.Reset();
  }

  void Values(double value, double maximum) {
    field.value1 = Variant::Double(value);
    field.value2 = Variant::Double(maximum);
  }
  void Angles(float start, float end) {
    field.designValues[0] = std::bit_cast<std::int32_t>(start);
    field.designValues[1] = std::bit_cast<std::int32_t>(end);
  }
  std::vector<test::RecordedEvent> Triangles() const {
    std::vector<test::RecordedEvent> out;
    for (const auto& e : recorder.events)
      if (e.kind == test::RecordedKind::kTriangles) out.push_back(e);
    return out;
  }

  Field field;
  FieldArea area;
  MapView view;
  test::RecordingBatcher recorder;
};

TEST_F(ValueFieldsTest, FrameGaugeClockAndColourFollowTheRatio) {
  struct Case {
    const char* name;
    double value, maximum;
    bool drawn;
    float ratio;
  };
  const Case cases[] = {
      {"empty: clock 0 in the filled colour", 0, 10, true, 0.0f},
      {"half", 5, 10, true, 0.5f},
      {"full: the end of the animation in the empty colour", 10, 10, true, 1.0f},
      {"a fraction past the maximum", 5.5, 5, true, 1.1f},
      {"a fraction in the maximum too", 5.5, 5.5, true, 1.1f},
      {"value and maximum 0", 0, 0, false, 0},
      {"negative maximum", 3, -4, true, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    drawnSprites.clear();
    Values(c.value, c.maximum);
    DrawFrameGauge(field, area, view);
    ASSERT_EQ(drawnSprites.size(), c.drawn ? 1u : 0u);
    if (!c.drawn) continue;
    const FieldSprite& s = drawnSprites[0];
    EXPECT_EQ(s.clock, static_cast<std::int32_t>(std::nearbyint(c.ratio * kDuration)));
    EXPECT_EQ(s.colour, ColorLerp(kEmpty, kFilled, 1.0f - c.ratio));
    EXPECT_EQ(s.x, 130.0f);
    EXPECT_EQ(s.y, 60.0f);
    EXPECT_EQ(s.scaleX, 2.0f);
    EXPECT_EQ(s.scaleY, 2.0f);
  }
  EXPECT_EQ(ColorLerp(kEmpty, kFilled, 1.0f), kFilled);
  EXPECT_EQ(ColorLerp(kEmpty, kFilled, 0.0f), kEmpty);

  drawnSprites.clear();
  field.value1 = Variant::Text(u"many");
  DrawFrameGauge(field, area, view);
  Values(1, 2);
  area.spriteWidth = 0;
  DrawFrameGauge(field, area, view);
  EXPECT_TRUE(drawnSprites.empty());
}

TEST_F(ValueFieldsTest, IconRowPlacesByFrameMode) {
  const std::uint32_t half = ColorLerp(kEmpty, kFilled, 0.5f);
  struct Case {
    const char* name;
    double value, maximum;
    std::int32_t iconValue;
    std::uint8_t frameMode;
    std::vector<std::int32_t> clocks;
    std::vector<std::uint32_t> colours;
  };
  const Case cases[] = {
      {"mode 1, value 2.5 of 5", 2.5, 5, 1, 1, {0, 0, 200, 400, 400}, {kFilled, kFilled, half, kEmpty, kEmpty}},
      {"mode 0, value 2.5 of 5", 2.5, 5, 1, 0, {77, 77, 77, 77, 77}, {kFilled, kFilled, kFilled, kEmpty, kEmpty}},
      {"mode 1, whole value 2", 2, 4, 1, 1, {0, 0, 400, 400}, {kFilled, kFilled, kFilled, kEmpty}},
      {"mode 0, whole value 2", 2, 3, 1, 0, {77, 77, 77}, {kFilled, kFilled, kEmpty}},
      {"mode 7 behaves as 0", 1.5, 2, 1, 7, {77, 77}, {kFilled, kFilled}},
      {"icon value 2 over maximum 5: two places", 1, 5, 2, 0, {77, 77}, {kFilled, kEmpty}},
      {"value past the maximum widens the row", 3, 2, 1, 0, {77, 77, 77}, {kFilled, kFilled, kFilled}},
      {"no places", 0, 0, 1, 0, {}, {}},
      {"icon value 0 draws nothing", 3, 5, 0, 0, {}, {}},
  };
  field.animationTime = 77;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    drawnSprites.clear();
    Values(c.value, c.maximum);
    field.valueDefault1 = c.iconValue;
    field.designByte2 = c.frameMode;
    DrawIconRow(field, area, view);
    ASSERT_EQ(drawnSprites.size(), c.clocks.size());
    for (std::size_t i = 0; i < c.clocks.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(drawnSprites[i].clock, c.clocks[i]);
      EXPECT_EQ(drawnSprites[i].colour, c.colours[i]);
      EXPECT_EQ(drawnSprites[i].scaleX, 1.0f);
    }
  }
}

TEST_F(ValueFieldsTest, IconRowSkipsPlacesWithoutAlphaAndUsesEachPlacesState) {
  field.colorsB[0] = 0x00FFFFFF;
  field.sprites.resize(5);
  Values(2, 5);
  field.valueDefault1 = 1;
  area.width = 0;  // one row
  DrawIconRow(field, area, view);
  ASSERT_EQ(drawnSprites.size(), 2u);
  EXPECT_EQ(drawnSprites[0].instance, &field.sprites[0]);
  EXPECT_EQ(drawnSprites[1].instance, &field.sprites[1]);
  // Left-aligned row from the anchor: centres at half an icon, then one icon on.
  EXPECT_EQ(drawnSprites[0].x, 115.0f);
  EXPECT_EQ(drawnSprites[1].x, 145.0f);
  EXPECT_EQ(drawnSprites[0].y, 55.0f);
}

TEST_F(ValueFieldsTest, IconLayoutAsATable) {
  struct Case {
    const char* name;
    std::int32_t i, n, columns, rows;
    std::uint8_t alignX, alignY;
    bool vertical;
    float x, y;
  };
  const Case cases[] = {
      // 7 icons, three to a row, centred: rows of 3, 3 and 1.
      {"row 0 first", 0, 7, 3, 0, 1, 0, false, -10, 5},
      {"row 0 last", 2, 7, 3, 0, 1, 0, false, 10, 5},
      {"row 1 first", 3, 7, 3, 0, 1, 0, false, -10, 15},
      {"last row's one icon centred", 6, 7, 3, 0, 1, 0, false, 0, 25},
      {"one row centred", 1, 3, 0, 0, 1, 0, false, 0, 5},
      {"right aligned runs leftwards", 1, 3, 0, 0, 2, 0, false, -15, 5},
      {"middle of several rows", 4, 7, 3, 0, 0, 1, false, 15, 0},
      {"middle of one row", 0, 3, 0, 0, 0, 1, false, 5, -5},
      {"bottom aligned", 0, 3, 0, 0, 0, 2, false, 5, -15},
      {"alignment 9 behaves as 0", 0, 3, 0, 0, 9, 9, false, 5, 5},
      {"column down", 2, 3, 0, 0, 0, 0, true, 0, 20},
      {"columns of two", 3, 4, 0, 2, 0, 0, true, 10, 10},
      {"column centred", 0, 3, 0, 0, 0, 1, true, 0, -10},
      {"column of two centred, last column", 2, 3, 0, 2, 0, 1, true, 10, 0},
      {"column upwards", 2, 3, 0, 0, 0, 2, true, 0, -20},
      {"column centred across", 0, 3, 0, 0, 1, 0, true, -5, 0},
      {"columns centred across", 0, 3, 0, 2, 1, 0, true, -5, 0},
      {"column right aligned", 0, 3, 0, 0, 2, 0, true, -10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const IconOffset o = IconRowOffset(c.i, c.n, c.columns, c.rows, 10, 10, c.alignX, c.alignY, c.vertical);
    EXPECT_EQ(o.x, c.x);
    EXPECT_EQ(o.y, c.y);
  }
}

TEST_F(ValueFieldsTest, MetersDrawNothingWithoutAShareToShow) {
  field.designByte3 = 1;
  field.spriteSet = -1;
  const double cases[][2] = {{-1, 10}, {5, 0}, {5, -3}};
  for (const auto& c : cases) {
    Values(c[0], c[1]);
    DrawMeter(field, area, view);
  }
  field.value1 = Variant::Text(u"x");
  DrawMeter(field, area, view);
  field.designByte3 = 5;  // no such style
  Values(1, 2);
  DrawMeter(field, area, view);
  EXPECT_TRUE(Triangles().empty());
}

TEST_F(ValueFieldsTest, PieMeterFansOverItsShare) {
  field.designByte3 = 0;
  Angles(0.0f, 6.2831855f);
  area.width = area.height = 100;
  struct Case {
    double value, maximum;
    std::uint32_t triangles;  // 0: not drawn
  };
  const Case cases[] = {{5, 10, 12}, {10, 10, 24}, {30, 10, 24}, {0, 10, 0}, {0.1, 10, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    recorder.Clear();
    Values(c.value, c.maximum);
    DrawMeter(field, area, view);
    const auto fans = Triangles();
    ASSERT_EQ(fans.size(), c.triangles == 0 ? 0u : 1u);
    if (c.triangles == 0) continue;
    EXPECT_EQ(fans[0].state, gfx::kPrimTriangleFan);
    EXPECT_EQ(fans[0].value, c.triangles);
    const auto& v = fans[0].vertices;
    ASSERT_EQ(v.size(), c.triangles + 2);
    EXPECT_EQ(v[0].x, 150.0f);
    EXPECT_EQ(v[0].y, 100.0f);
    EXPECT_EQ(v[0].diffuse, kFilled);
    EXPECT_EQ(v[1].x, 200.0f);  // the start angle on the ellipse
    EXPECT_EQ(v[1].y, 100.0f);
    EXPECT_EQ(v[1].diffuse, kEmpty);
    EXPECT_EQ(v[1].rhw, 1.0f);
    // N = 25 vertices round the ellipse: vertex 7 is a quarter turn on.
    if (v.size() > 7) {
      EXPECT_NEAR(v[7].x, 150.0f, 1e-4);
      EXPECT_NEAR(v[7].y, 150.0f, 1e-4);
    }
  }
}

TEST_F(ValueFieldsTest, PlainBarBandsAcrossItsThickness) {
  field.designByte3 = 1;
  field.spriteSet = -1;
  Values(1, 4);  // share 0.25
  struct Case {
    const char* name;
    bool vertical;
    std::uint8_t align;
    float edge;  // where the bar starts along its length
    float length;
  };
  const Case cases[] = {
      {"horizontal from the anchor", false, 0, 100, 15},
      {"horizontal centred", false, 1, 92, 15},   // Round(100 - 7.5) = 92
      {"horizontal towards", false, 2, 85, 15},
      {"vertical from the anchor", true, 0, 50, 5},
      {"vertical centred", true, 1, 48, 5},  // Round(47.5) = 48
      {"vertical towards", true, 2, 45, 5},
  };
  const std::int32_t bands[12] = {0, 0, 1, 0, 1, 1, 1, 1, 2, 1, 2, 2};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.Clear();
    field.placementBytes = {c.align, c.align, static_cast<std::uint8_t>(c.vertical ? 1 : 0)};
    DrawMeter(field, area, view);
    const auto lists = Triangles();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].state, gfx::kPrimTriangleList);
    EXPECT_EQ(lists[0].value, 4u);
    ASSERT_EQ(lists[0].vertices.size(), 12u);
    for (std::size_t j = 0; j < 12; ++j) {
      SCOPED_TRACE(j);
      const ScreenVertex& v = lists[0].vertices[j];
      const float across = static_cast<float>(bands[j]) * (c.vertical ? 30.0f : 10.0f);
      const float along = c.edge + static_cast<float>(j % 2) * c.length;
      EXPECT_EQ(c.vertical ? v.x : v.y, (c.vertical ? 100.0f : 50.0f) + across);
      EXPECT_EQ(c.vertical ? v.y : v.x, along);
      EXPECT_EQ(v.diffuse, bands[j] == 1 ? kFilled : kEmpty);
    }
  }
}

TEST_F(ValueFieldsTest, SpriteBarIsCutByItsTextureRange) {
  field.designByte3 = 1;
  area.width = 60;  // twice the sprite's width
  struct Case {
    const char* name;
    bool vertical;
    std::uint8_t align;
    double value;
    float x, y, scaleX, scaleY, u1, u2, v1, v2;
  };
  const Case cases[] = {
      {"left quarter from the anchor", false, 0, 1, 108, 60, 0.5f, 2, 0, 0.25f, 0, 1},
      {"centred: the middle of the picture", false, 1, 1, 100, 60, 0.5f, 2, 0.375f, 0.625f, 0, 1},
      {"full centred bar at twice the width stays in the frame", false, 1, 4, 100, 60, 2, 2, 0, 1, 0, 1},
      {"towards the anchor: the right quarter", false, 2, 1, 92, 60, 0.5f, 2, 0.75f, 1, 0, 1},
      {"vertical from the anchor", true, 0, 1, 130, 52, 2, 0.5f, 0, 1, 0, 0.25f},
      {"vertical centred", true, 1, 2, 130, 50, 2, 1, 0, 1, 0.25f, 0.75f},
      {"vertical towards", true, 2, 1, 130, 48, 2, 0.5f, 0, 1, 0.75f, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    drawnSprites.clear();
    Values(c.value, 4);
    field.placementBytes = {c.align, c.align, static_cast<std::uint8_t>(c.vertical ? 1 : 0)};
    DrawMeter(field, area, view);
    ASSERT_EQ(drawnSprites.size(), 1u);
    const FieldSprite& s = drawnSprites[0];
    EXPECT_EQ(s.x, c.x);
    EXPECT_EQ(s.y, c.y);
    EXPECT_EQ(s.scaleX, c.scaleX);
    EXPECT_EQ(s.scaleY, c.scaleY);
    EXPECT_EQ(s.u1, c.u1);
    EXPECT_EQ(s.u2, c.u2);
    EXPECT_EQ(s.v1, c.v1);
    EXPECT_EQ(s.v2, c.v2);
    EXPECT_EQ(s.colour, kFilled);
  }
  drawnSprites.clear();
  area.spriteWidth = 0;
  DrawMeter(field, area, view);
  EXPECT_TRUE(drawnSprites.empty());
}

TEST_F(ValueFieldsTest, NeedlePointsAlongItsSweep) {
  field.designByte3 = 2;
  Angles(0.0f, 2.0f);
  Values(1, 2);  // a = 1
  area.width = 40;
  area.height = 20;
  DrawMeter(field, area, view);
  ASSERT_EQ(drawnSprites.size(), 1u);
  EXPECT_EQ(drawnSprites[0].rotation, 1.0f);
  EXPECT_EQ(drawnSprites[0].x, 120.0f);
  EXPECT_EQ(drawnSprites[0].scaleX, 40.0f / 30.0f);

  field.spriteSet = -1;
  Angles(0.0f, 0.0f);  // a = 0: the tip on the right
  DrawMeter(field, area, view);
  const auto lists = Triangles();
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].value, 1u);
  const auto& v = lists[0].vertices;
  ASSERT_EQ(v.size(), 3u);
  const double halfPi = 1.5707963705062866;
  EXPECT_EQ(v[1].x, 130.0f);
  EXPECT_EQ(v[1].y, 60.0f);
  EXPECT_EQ(v[1].diffuse, kEmpty);
  EXPECT_EQ(v[0].x, static_cast<float>(120 + 20 * std::cos(-halfPi) - 20));
  EXPECT_EQ(v[0].y, static_cast<float>(60 + 20 * std::sin(-halfPi)));
  EXPECT_EQ(v[2].y, static_cast<float>(60 + 20 * std::sin(halfPi)));
  EXPECT_EQ(v[0].diffuse, kFilled);
}

TEST_F(ValueFieldsTest, PanelOfTwiceItsSpriteHasSixteenPixelCornersAndFourEdgePieces) {
  area.spriteWidth = area.spriteHeight = 48;
  area.width = area.height = 96;
  area.left = 10;
  area.top = 20;
  DrawPanel(field, area, view);
  // 4 corners, 4 x 4 edges, 4 x 4 centre.
  ASSERT_EQ(drawnSprites.size(), 36u);
  const double sixth = 48 * 0.16666670143604279;
  const FieldSprite& topLeft = drawnSprites[0];
  EXPECT_EQ(topLeft.x, static_cast<float>(10 + sixth));
  EXPECT_EQ(topLeft.scaleX, kThird);
  EXPECT_EQ(topLeft.u2, kThird);
  EXPECT_EQ(drawnSprites[3].x, static_cast<float>(10 + 96 - sixth));
  EXPECT_EQ(drawnSprites[3].u1, kTwoThirds);
  EXPECT_EQ(drawnSprites[3].v2, 1.0f);
  std::int32_t topPieces = 0;
  for (const FieldSprite& s : drawnSprites) {
    EXPECT_EQ(s.clock, 0);
    EXPECT_EQ(s.colour, kFilled);
    if (s.v1 == 0.0f && s.u1 == kThird) {
      ++topPieces;
      EXPECT_EQ(s.u2, kTwoThirds);
      EXPECT_EQ(s.scaleX, kThird);
    }
  }
  EXPECT_EQ(topPieces, 4);
}

TEST_F(ValueFieldsTest, PanelRemainderIsCutOnTheEdgesAndShrunkInTheCentre) {
  area.spriteWidth = area.spriteHeight = 48;
  area.width = 100;  // six pieces and a quarter
  area.height = 96;
  area.left = 0;
  DrawPanel(field, area, view);
  const float cut = static_cast<float>((100 / 16.0 - 5 - 1) / 3.0);
  std::int32_t cutEdges = 0, shrunkCentre = 0;
  for (const FieldSprite& s : drawnSprites) {
    if (s.scaleX != cut) continue;
    EXPECT_EQ(s.x, static_cast<float>(5 * 16 + 48 * static_cast<double>(cut) / 2));
    if (s.v1 != kThird) {
      ++cutEdges;  // top and bottom: the left part of the middle cell
      EXPECT_EQ(s.u1, kThird);
      EXPECT_EQ(s.u2, kThird + cut);
    } else {
      ++shrunkCentre;  // the whole middle cell, smaller
      EXPECT_EQ(s.u1, kThird);
      EXPECT_EQ(s.u2, kTwoThirds);
      EXPECT_EQ(s.v2, kTwoThirds);
    }
  }
  EXPECT_EQ(cutEdges, 2);
  EXPECT_EQ(shrunkCentre, 4);

  drawnSprites.clear();
  area.spriteWidth = 3;
  DrawPanel(field, area, view);
  field.spriteSet = -1;
  area.spriteWidth = 48;
  DrawPanel(field, area, view);
  EXPECT_TRUE(drawnSprites.empty());
}

}  // namespace
}  // namespace kiv
