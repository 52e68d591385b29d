// The shared drawing helpers: pick colours, the screen overlay against a
// recording device, the screen rectangle of an anchored field, and the switch
// between the coloured and the lit 3-D batch.
#include "render/draw_helpers.h"

#include <gtest/gtest.h>

#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "render/render_hooks.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

using test::RecordedKind;

TEST(MakePickColor, PacksKindMapAndIndexIn32Bits) {
  struct Case {
    std::int32_t map, index, kind, expected;
  };
  const Case cases[] = {
      {0, 0, 0, 1},
      {2, 5, 0, 2 * 32768 + 6},
      {0, 0, 1, (1 << 20) + 1},
      {1, 31, 0, 32768 + 32},
      // Only the low 24 bits of the map count; -1 keeps them all.
      {-1, 0, 0, static_cast<std::int32_t>(0xFFFFFFu * 32768u + 1u)},
      {0x1000001, 0, 0, 32768 + 1},
      // The sum wraps as 32-bit arithmetic does.
      {0, 0x7FFFFFFF, 0, static_cast<std::int32_t>(0x80000000u)},
      {0, -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.map << " " << c.index << " " << c.kind);
    EXPECT_EQ(MakePickColor(c.map, c.index, c.kind), c.expected);
  }
}

class ScreenOverlayTest : public ::testing::Test {
 protected:
  test::RecordingBatcher recorder;
};

TEST_F(ScreenOverlayTest, FadeModeLerpsFromTheColourWithoutAlphaOverTheBackBuffer) {
  recorder.backBufferWidth = 320;
  recorder.backBufferHeight = 200;
  DrawScreenOverlay(-4, 0x80FF2040, 0.5f);
  ASSERT_EQ(recorder.quads.size(), 1u);
  ASSERT_EQ(recorder.Count(RecordedKind::kFlush), 1u);
  const test::RecordedQuad& quad = recorder.quads[0];
  EXPECT_EQ(quad.stride, sizeof(ScreenVertex));
  EXPECT_FLOAT_EQ(quad.Left(), 0.0f);
  EXPECT_FLOAT_EQ(quad.Top(), 0.0f);
  EXPECT_FLOAT_EQ(quad.Right(), 320.0f);
  EXPECT_FLOAT_EQ(quad.Bottom(), 200.0f);
  for (auto corner : {test::kTopLeft, test::kTopRight, test::kBottomLeft, test::kBottomRight}) {
    EXPECT_EQ(quad.Screen(corner).diffuse, 0x40FF2040u);
    EXPECT_EQ(quad.Screen(corner).specular, 0u);
  }
  EXPECT_FLOAT_EQ(quad.Screen(test::kBottomRight).tu, 1.0f);
  EXPECT_FLOAT_EQ(quad.Screen(test::kBottomRight).tv, 1.0f);
  // The texture of stage 0 is cleared before the quad is drawn.
  ASSERT_GE(recorder.events.size(), 2u);
  EXPECT_EQ(recorder.events[0].kind, RecordedKind::kBind);
  EXPECT_EQ(recorder.events[0].stage, 0u);
  EXPECT_EQ(recorder.events[0].texture, nullptr);
}

TEST_F(ScreenOverlayTest, FadeEndsAtTheFullColourAndStartsTransparent) {
  DrawScreenOverlay(-4, 0xFF102030, 1.0f);
  DrawScreenOverlay(-4, 0xFF102030, 0.0f);
  ASSERT_EQ(recorder.quads.size(), 2u);
  EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse, 0xFF102030u);
  EXPECT_EQ(recorder.quads[1].Screen(test::kTopLeft).diffuse, 0x00102030u);
}

TEST_F(ScreenOverlayTest, InstantModeDrawsThePlainColourFromHalfAndOtherModesNothing) {
  struct Case {
    std::int32_t mode;
    float amount;
    bool drawn;
  };
  const Case cases[] = {{-3, 0.49f, false}, {-3, 0.5f, true}, {-3, 1.0f, true}, {-3, 0.0f, false},
                        {0, 1.0f, false},   {-2, 1.0f, false}, {-5, 1.0f, false}, {1, 0.7f, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.amount);
    recorder.Clear();
    DrawScreenOverlay(c.mode, 0x80123456, c.amount);
    ASSERT_EQ(recorder.quads.size(), c.drawn ? 1u : 0u);
    if (c.drawn) {
      EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse, 0x80123456u);
    } else {
      EXPECT_TRUE(recorder.events.empty());
    }
  }
}

class FieldScreenRectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    dataSettings.Reset();
    dataSettings.gameVideoWidth = 800;
    dataSettings.gameVideoHeight = 600;
    map = gameData.maps.Append();
    gameData.maps[map].isInterface = true;
  }
  void TearDown() override {
    gameData.Reset();
    dataSettings.Reset();
  }
  std::int32_t map = -1;
};

struct RectCase {
  const char* name;
  float x, y;
  std::int32_t width, height;              // current size
  std::int32_t designWidth, designHeight;  // the field's own design size
  std::uint8_t alignX, alignY;
  std::int32_t anchors;
  std::int32_t originX, originY, viewWidth, viewHeight;
  FieldScreenRect expected;  // left, top, offsetX, offsetY, width, height
};

TEST_F(FieldScreenRectTest, PlacesFieldsByAnchorsAndAlignment) {
  const RectCase cases[] = {
      // No anchors: centred on a view 200 wider (and 100 taller) than the design.
      {"no anchors", 100, 50, 40, 20, 40, 20, 0, 0, 0, 0, 0, 1000, 700, {200, 100, -100, -50, 40, 20}},
      {"no anchors same view", 100, 50, 40, 20, 40, 20, 0, 0, 0, 0, 0, 800, 600, {100, 50, 0, 0, 40, 20}},
      // Odd excess: Int takes the floor of -100.5 and -0.5.
      {"no anchors odd", 100, 50, 40, 20, 40, 20, 0, 0, 0, 0, 0, 1001, 601, {201, 51, -101, -1, 40, 20}},
      // Left and right: width and x double on a view twice the design width.
      {"left right", 100, 50, 40, 20, 40, 20, 0, 0, 1 | 4, 0, 0, 1600, 600, {200, 50, -100, 0, 80, 20}},
      // Top and bottom scale height and y.
      {"top bottom", 100, 50, 40, 20, 40, 20, 0, 0, 2 | 8, 0, 0, 800, 1200, {100, 100, 0, -50, 40, 40}},
      // Top and bottom, middle: also moves by half the extra view height.
      {"top bottom middle", 100, 50, 40, 20, 40, 20, 0, 1, 2 | 8, 0, 0, 800, 1200, {100, 380, 0, -350, 40, 40}},
      {"top bottom bottom", 100, 50, 40, 20, 40, 20, 0, 2, 2 | 8, 0, 0, 800, 1200, {100, 660, 0, -650, 40, 40}},
      // Left only stays put; with 0x20 its position scales.
      {"left", 100, 50, 40, 20, 40, 20, 0, 0, 1, 0, 0, 1600, 600, {100, 50, 0, 0, 40, 20}},
      {"left scaled", 100, 50, 40, 20, 40, 20, 0, 0, 1 | 0x20, 0, 0, 1600, 600, {200, 50, -100, 0, 40, 20}},
      // Right only keeps its distance to the right edge.
      {"right", 700, 50, 40, 20, 40, 20, 0, 0, 4, 0, 0, 1000, 600, {900, 50, -200, 0, 40, 20}},
      {"bottom", 100, 500, 40, 20, 40, 20, 0, 0, 8, 0, 0, 800, 700, {100, 600, 0, -100, 40, 20}},
      // Keeping the edge: a bottom-anchored field 60 high, designed 40, moves its top up by 20.
      {"bottom keep top", 100, 500, 40, 60, 40, 40, 0, 0, 8 | 0x10, 0, 0, 800, 600, {100, 480, 0, 20, 40, 60}},
      {"bottom keep middle", 100, 500, 40, 60, 40, 40, 0, 1, 8 | 0x10, 0, 0, 800, 600, {100, 460, 0, 10, 40, 60}},
      {"bottom keep bottom", 100, 500, 40, 60, 40, 40, 0, 2, 8 | 0x10, 0, 0, 800, 600, {100, 440, 0, 0, 40, 60}},
      // A left-anchored field grows to the right whatever its alignment.
      {"left keep centre", 100, 50, 60, 20, 40, 20, 1, 0, 1 | 0x10, 0, 0, 800, 600, {80, 50, -10, 0, 60, 20}},
      {"left keep right", 100, 50, 60, 20, 40, 20, 2, 0, 1 | 0x10, 0, 0, 800, 600, {60, 50, -20, 0, 60, 20}},
      {"right keep left", 700, 50, 60, 20, 40, 20, 0, 0, 4 | 0x10, 0, 0, 800, 600, {680, 50, 20, 0, 60, 20}},
      {"right keep centre", 700, 50, 60, 20, 40, 20, 1, 0, 4 | 0x10, 0, 0, 800, 600, {660, 50, 10, 0, 60, 20}},
      // Halves round to even: offset Round(5 - 7.5) = -2 and width Round(37.5) = 38.
      {"halves", 5, 50, 25, 20, 25, 20, 0, 0, 1 | 4, 0, 0, 1200, 600, {7, 50, -2, 0, 38, 20}},
      {"centre half", 10, 50, 5, 20, 5, 20, 1, 0, 0, 0, 0, 800, 600, {8, 50, 0, 0, 5, 20}},
      {"centre half odd", 11, 50, 5, 20, 5, 20, 1, 0, 0, 0, 0, 800, 600, {8, 50, 0, 0, 5, 20}},
      // The origin moves the rectangle with the view.
      {"origin", 100, 50, 40, 20, 40, 20, 0, 0, 0, 30, 40, 800, 600, {130, 90, -30, -40, 40, 20}},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.name);
    Field field;
    field.mapIndex = map;
    field.x = c.x;
    field.y = c.y;
    field.pixelWidth = c.width;
    field.pixelHeight = c.height;
    field.previousPixelWidth = c.designWidth;
    field.previousPixelHeight = c.designHeight;
    field.placementBytes[0] = c.alignX;
    field.placementBytes[1] = c.alignY;
    field.anchorFlags = c.anchors;
    FieldScreenRect rect;
    GetFieldScreenRect(field, c.originX, c.originY, c.viewWidth, c.viewHeight, rect);
    EXPECT_EQ(rect.left, c.expected.left);
    EXPECT_EQ(rect.top, c.expected.top);
    EXPECT_EQ(rect.offsetX, c.expected.offsetX);
    EXPECT_EQ(rect.offsetY, c.expected.offsetY);
    EXPECT_EQ(rect.width, c.expected.width);
    EXPECT_EQ(rect.height, c.expected.height);
  }
}

TEST_F(FieldScreenRectTest, AnAlignmentOutsideTheRangeKeepsTheCallersEdges) {
  Field field;
  field.mapIndex = map;
  field.x = 100;
  field.y = 50;
  field.pixelWidth = 40;
  field.pixelHeight = 20;
  field.placementBytes[0] = 3;
  field.placementBytes[1] = 9;
  FieldScreenRect rect;
  rect.left = -7;
  rect.top = -9;
  GetFieldScreenRect(field, 0, 0, 800, 600, rect);
  EXPECT_EQ(rect.left, -7);
  EXPECT_EQ(rect.top, -9);
}

TEST_F(FieldScreenRectTest, TheChosenScreenLayoutGivesTheDesignSize) {
  Map& record = gameData.maps[map];
  record.screenLayouts.resize(2);
  record.screenLayouts[1].width = 400;
  record.screenLayouts[1].height = 300;
  record.chosenScreenLayout = 1;
  Field field;
  field.mapIndex = map;
  field.x = 100;
  field.y = 50;
  field.pixelWidth = 40;
  field.pixelHeight = 20;
  field.anchorFlags = 1 | 4 | 2 | 8;
  FieldScreenRect rect;
  GetFieldScreenRect(field, 0, 0, 800, 600, rect);
  EXPECT_EQ(rect.width, 80);
  EXPECT_EQ(rect.height, 40);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 100);
  // A layout index outside the list falls back to the game's video size.
  record.chosenScreenLayout = 5;
  GetFieldScreenRect(field, 0, 0, 800, 600, rect);
  EXPECT_EQ(rect.width, 40);
  EXPECT_EQ(rect.left, 100);
}

TEST_F(FieldScreenRectTest, ADesignSizeBelowOneTakesTheViewsSize) {
  // A size list entry of 0 by 0 would divide by zero: the field is placed as
  // on a view of its design size.
  Map& record = gameData.maps[map];
  record.screenLayouts.resize(1);
  record.chosenScreenLayout = 0;
  Field field;
  field.mapIndex = map;
  field.x = 100;
  field.y = 50;
  field.pixelWidth = 40;
  field.pixelHeight = 20;
  field.anchorFlags = 1 | 4 | 2 | 8 | 0x20;
  FieldScreenRect rect;
  GetFieldScreenRect(field, 0, 0, 1000, 700, rect);
  EXPECT_EQ(rect.width, 40);
  EXPECT_EQ(rect.height, 20);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  // So does a game video size of 0, also on a view of size 0.
  record.chosenScreenLayout = -1;
  dataSettings.gameVideoWidth = 0;
  dataSettings.gameVideoHeight = -5;
  GetFieldScreenRect(field, 0, 0, 0, 0, rect);
  EXPECT_EQ(rect.width, 40);
  EXPECT_EQ(rect.height, 20);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
}

TEST_F(FieldScreenRectTest, TheDrawnWidthOfAFieldByIndex) {
  Map& record = gameData.maps[map];
  record.fields.resize(2);
  Field& field = record.fields[1];
  field.mapIndex = map;
  field.x = 100;
  field.pixelWidth = 40;
  field.anchorFlags = 1 | 4;
  EXPECT_EQ(FieldDrawnWidth(map, 1, 1600, 600), 80);
  EXPECT_EQ(FieldDrawnWidth(map, 1, 800, 600), 40);
  // Indexes outside their tables give -1: the layout then keeps the pixel width.
  EXPECT_EQ(FieldDrawnWidth(map, 2, 800, 600), -1);
  EXPECT_EQ(FieldDrawnWidth(map, -1, 800, 600), -1);
  EXPECT_EQ(FieldDrawnWidth(map + 1, 0, 800, 600), -1);
  EXPECT_EQ(FieldDrawnWidth(-1, 0, 800, 600), -1);
}

class Quad3DTest : public ::testing::Test {
 protected:
  void TearDown() override { renderHooks.Reset(); }
  void Add() {
    QuadAdd3D(1, 2, 3, 4, 5, 6, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004,
              0x11, 0.0f, 0.0f, -1.0f);
    QuadBatchFlush3D();
  }
  test::RecordingBatcher recorder;
};

TEST_F(Quad3DTest, LitModeTakesTheLitBatchAndOtherwiseTheColouredOne) {
  struct Case {
    bool litBatch, lightingOff;
    std::uint32_t stride;
  };
  const Case cases[] = {{false, false, sizeof(ColoredVertex)},
                        {true, false, sizeof(LitVertex)},
                        {true, true, sizeof(ColoredVertex)},
                        {false, true, sizeof(ColoredVertex)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.litBatch << " " << c.lightingOff);
    recorder.Clear();
    renderHooks.LitBatchOn = [&] { return c.litBatch; };
    renderHooks.LightingOff = [&] { return c.lightingOff; };
    Add();
    ASSERT_EQ(recorder.quads.size(), 1u);
    EXPECT_EQ(recorder.quads[0].stride, c.stride);
    if (c.stride == sizeof(LitVertex)) {
      const auto v = recorder.quads[0].Vertex<LitVertex>(test::kTopLeft);
      EXPECT_FLOAT_EQ(v.nz, -1.0f);
    } else {
      const auto v = recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft);
      EXPECT_EQ(v.diffuse, 0xFF000001u);
      EXPECT_EQ(v.specular, 0x11u);
    }
  }
}

}  // namespace
}  // namespace kiv
