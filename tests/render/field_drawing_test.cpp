// The field pass of interfaces against the recording device: which fields are
// drawn in normal frames and pick passes, the states around the loop, texts,
// object pictures, static effects and views.
#include "render/field_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/variant.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "mathkiv/colors.h"
#include "media/device_reset.h"
#include "media/graphics.h"
#include "player/player_hooks.h"
#include "render/draw_helpers.h"
#include "render/field_sprites.h"
#include "render/frame_drawing.h"
#include "support/recording_batcher.h"
#include "text_font_fixture.h"

namespace kiv {
namespace {

constexpr std::int32_t kViewWidth = 800, kViewHeight = 600;
constexpr std::uint8_t kText = 0, kMeter = 2, kEffect = 5, kView = 6;

std::vector<FieldSprite> drawnSprites;
void RecordSprite(const FieldSprite& sprite, const MapView&) { drawnSprites.push_back(sprite); }

struct DrawMapCall {
  std::int32_t map, x, y, parent, field, width, height;
};

class FieldDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    playerHooks.Reset();
    playerSettings.Reset();
    graphics.Reset();
    drawnSprites.clear();
    SetFieldSpriteDrawer(RecordSprite);
    pickPass = 0;
    map = gameData.maps.Append();
    Map& m = gameData.maps[map];
    m.isInterface = true;
    m.ambientColor = 0xFFFFFFFF;
    projectState.currentPlayerInterface.index = map;  // takes input
    playerHooks.FieldViewMap = [](std::int32_t, std::int32_t field) { return field == 0 ? -1 : 7; };
    playerHooks.DrawMap = [this](std::int32_t m2, std::int32_t x, std::int32_t y, std::int32_t parent,
                                 std::int32_t field, std::int32_t width, std::int32_t height) {
      drawMapCalls.push_back({m2, x, y, parent, field, width, height});
    };
    view.viewport = {5, 6, 700, 500, 0, 1};
  }
  void TearDown() override {
    SetFieldSpriteDrawer(nullptr);
    pickPass = 0;
    gameData.Reset();
    projectState.Reset();
    playerHooks.Reset();
    playerSettings.Reset();
  }

  Map& Interface() { return gameData.maps[map]; }

  // A field of the kind at (x, y) of 20 x 10 pixels that draws a plain
  // rectangle in a pick pass.
  Field& AddField(std::uint8_t kind, float x, float y) {
    Field field;
    field.mapIndex = map;
    field.kind = kind;
    field.x = x;
    field.y = y;
    field.pixelWidth = field.previousPixelWidth = 20;
    field.pixelHeight = field.previousPixelHeight = 10;
    field.byteDefault1 = 0;  // plain pick rectangle
    field.byteByContent = 0;
    Interface().fields.push_back(field);
    return Interface().fields.back();
  }

  void Draw() { DrawFields(map, 0, 0, kViewWidth, kViewHeight, view); }

  // The left edges of the screen quads drawn, in order.
  std::vector<float> QuadLefts() const {
    std::vector<float> lefts;
    for (const auto& q : recorder.quads) lefts.push_back(q.Left());
    return lefts;
  }
  std::vector<std::uint32_t> PickFactors() const {
    std::vector<std::uint32_t> factors;
    for (const auto& e : recorder.Calls(test::DeviceCall::kRenderState, gfx::kRsTextureFactor))
      factors.push_back(e.value);
    return factors;
  }
  static std::uint32_t PickFactor(std::int32_t m, std::int32_t i) {
    return ColorForFormat(graphics.pickTargetFormat, static_cast<std::uint32_t>(MakePickColor(m, i, 0)));
  }

  std::int32_t map = -1;
  MapView view;
  std::vector<DrawMapCall> drawMapCalls;
  test::RecordingBatcher recorder;
};

TEST_F(FieldDrawingTest, HiddenFlagsAndTheScrollRectangle) {
  struct Case {
    const char* name;
    std::uint8_t noDraw, dormant, scrolls;
    float x, y;
    std::array<std::int32_t, 4> scrollRect;
    bool drawn;
  };
  const Case cases[] = {
      {"plain", 0, 0, 0, 10, 10, {0, 0, 0, 0}, true},
      {"hidden", 1, 0, 0, 10, 10, {0, 0, 0, 0}, false},
      {"dormant", 0, 1, 0, 10, 10, {0, 0, 0, 0}, false},
      {"anchor on the scroll rectangle's left edge", 0, 0, 1, 100, 150, {100, 100, 300, 200}, true},
      {"anchor on its right edge", 0, 0, 1, 300, 150, {100, 100, 300, 200}, false},
      {"anchor on its bottom edge", 0, 0, 1, 150, 200, {100, 100, 300, 200}, false},
      {"above it", 0, 0, 1, 150, 99, {100, 100, 300, 200}, false},
      {"a field that does not scroll", 0, 0, 0, 500, 500, {100, 100, 300, 200}, true},
      {"four zeros hide nothing", 0, 0, 1, 500, 500, {0, 0, 0, 0}, true},
  };
  for (const bool picking : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SCOPED_TRACE(picking);
      Interface().fields.clear();
      recorder.Clear();
      Field& f = AddField(kMeter, c.x, c.y);
      f.noDraw = c.noDraw;
      f.nonExistent = c.dormant;
      f.byteByContent = c.scrolls;
      f.value1 = Variant::Double(1);
      f.value2 = Variant::Double(1);
      f.designByte3 = 1;  // plain bar: one triangle list
      Interface().scrollRect = c.scrollRect;
      pickPass = picking ? 1 : 0;
      Draw();
      const bool drew = picking ? recorder.quads.size() == 1 : recorder.Count(test::RecordedKind::kTriangles) == 1;
      EXPECT_EQ(drew, c.drawn);
      if (picking) {
        EXPECT_EQ(PickFactors(),
                  c.drawn ? std::vector<std::uint32_t>{PickFactor(map, 0)} : std::vector<std::uint32_t>{});
      }
    }
  }
}

TEST_F(FieldDrawingTest, PickPassRulesForTheSelectionMarkerAndInterfacesWithoutInput) {
  AddField(kMeter, 0, 0);
  AddField(kMeter, 100, 0);    // the selection marker
  AddField(kView, 200, 0);     // a view with a plain pick rectangle
  Interface().SelectionMarkerField() = 1;
  pickPass = 1;
  Draw();
  EXPECT_EQ(QuadLefts(), (std::vector<float>{0, 200}));
  EXPECT_EQ(PickFactors(), (std::vector<std::uint32_t>{PickFactor(map, 0), PickFactor(map, 2)}));

  // A selection marker that is a view is still drawn.
  recorder.Clear();
  Interface().SelectionMarkerField() = 2;
  Draw();
  EXPECT_EQ(QuadLefts(), (std::vector<float>{0, 100, 200}));

  // Without input only the views.
  recorder.Clear();
  Interface().inputBlock = true;
  projectState.currentPlayerInterface.index = -1;
  Draw();
  EXPECT_EQ(QuadLefts(), (std::vector<float>{200}));

  // In a normal frame the marker is an ordinary field.
  recorder.Clear();
  pickPass = 0;
  Interface().SelectionMarkerField() = 1;
  Interface().fields[0].value1 = Interface().fields[1].value1 = Variant::Double(1);
  Interface().fields[0].value2 = Interface().fields[1].value2 = Variant::Double(1);
  Interface().fields[0].designByte3 = Interface().fields[1].designByte3 = 1;
  Interface().fields[0].spriteSet = Interface().fields[1].spriteSet = -1;
  Draw();
  EXPECT_EQ(recorder.Count(test::RecordedKind::kTriangles), 2u);
}

TEST_F(FieldDrawingTest, ViewFieldsDrawTheirMapAndRestoreTheOuterStates) {
  AddField(kView, 0, 0);            // shows no map
  AddField(kView, 30, 40).byteDefault1 = 1;
  Draw();
  ASSERT_EQ(drawMapCalls.size(), 1u);
  const DrawMapCall& call = drawMapCalls[0];
  EXPECT_EQ(call.map, 7);
  EXPECT_EQ(call.x, 30);
  EXPECT_EQ(call.y, 40);
  EXPECT_EQ(call.parent, map);
  EXPECT_EQ(call.field, 1);
  EXPECT_EQ(call.width, 20);
  EXPECT_EQ(call.height, 10);
  const auto viewports = recorder.Calls(test::DeviceCall::kViewport);
  ASSERT_EQ(viewports.size(), 2u);  // after each view field
  EXPECT_EQ(viewports[1].viewport.x, 5u);
  EXPECT_EQ(viewports[1].viewport.width, 700u);

  using State = std::pair<std::uint32_t, std::uint32_t>;
  const std::vector<State> states = recorder.RenderStates();
  const std::vector<State> expected = {{7, 0}, {22, 1}, {7, 0}, {22, 1}, {7, 0}, {22, 1}, {7, 1}, {22, 3}};
  EXPECT_EQ(states, expected);
  const auto shaders = recorder.Calls(test::DeviceCall::kVertexShader);
  ASSERT_EQ(shaders.size(), 2u);
  EXPECT_EQ(shaders[0].value, 0x1C4u);
  EXPECT_EQ(shaders[1].value, 0x1C2u);

  // With exact picking a view draws its map in pick pass 1 and nothing in 2.
  drawMapCalls.clear();
  pickPass = 1;
  Draw();
  EXPECT_EQ(drawMapCalls.size(), 1u);
  pickPass = 2;
  Draw();
  EXPECT_EQ(drawMapCalls.size(), 1u);
}

TEST_F(FieldDrawingTest, NothingWithoutAmbientAlphaOrOnAMap) {
  AddField(kView, 0, 10).byteDefault1 = 1;
  Interface().ambientColor = 0x00FFFFFF;
  Draw();
  EXPECT_TRUE(recorder.events.empty());
  pickPass = 1;  // the pick image still names the fields
  Draw();
  EXPECT_FALSE(recorder.events.empty());
  recorder.Clear();
  pickPass = 0;
  Interface().ambientColor = 0xFFFFFFFF;
  Interface().isInterface = false;
  Draw();
  DrawFields(-1, 0, 0, 10, 10, view);
  DrawFields(99, 0, 0, 10, 10, view);
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(FieldDrawingTest, StaticEffectsAreCentredScaledAndModulated) {
  SpriteSet set;
  set.poses.resize(1);
  set.poses[0].directions[4].layers.resize(1);
  set.poses[0].directions[4].sizeX = 10;
  set.poses[0].directions[4].sizeY = 5;
  set.loaded = true;
  gameData.spriteSets.push_back(set);
  gameData.spriteSets.push_back(SpriteSet{});  // no poses: size 0
  Interface().ambientColor = 0xFF808080;
  Field& f = AddField(kEffect, 11, 20);
  f.pixelWidth = 21;
  f.spriteSet = 0;
  f.colorsA[0] = 0xFFFFFFFF;
  f.specular = 0xFF00FF00;
  f.rotation = std::bit_cast<std::int32_t>(0.5f);
  f.animationTime = 123;
  AddField(kEffect, 0, 0).spriteSet = -1;
  AddField(kEffect, 0, 0).spriteSet = 1;
  Draw();
  ASSERT_EQ(drawnSprites.size(), 1u);
  const FieldSprite& s = drawnSprites[0];
  EXPECT_EQ(s.x, 22.0f);  // Round(11 + 10.5) = 22, the even neighbour
  EXPECT_EQ(s.y, 25.0f);
  EXPECT_EQ(s.scaleX, 2.1f);
  EXPECT_EQ(s.scaleY, 2.0f);
  EXPECT_EQ(s.clock, 123);
  EXPECT_EQ(s.rotation, 0.5f);
  EXPECT_EQ(s.colour, ColorModulate(0xFFFFFFFF, 0xFF808080));
  EXPECT_EQ(s.second, ColorModulate(0xFF00FF00, 0xFF808080));
}

class FieldTextTest : public FieldDrawingTest {
 protected:
  void SetUp() override {
    FieldDrawingTest::SetUp();
    gameData.fontSets.push_back(test::MakeTestFont());
  }
  Field& AddText(std::int32_t glyphs) {
    Field& f = AddField(kText, 100, 50);
    f.fontSet = 0;
    f.value1 = Variant::Text(u"AAAAAAAAAAAA");
    f.lines.assign(static_cast<std::size_t>(glyphs), test::kA);
    return f;
  }
};

TEST_F(FieldTextTest, TypingShowsTheGlyphsOfItsTime) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::int32_t interval, time, last;
  };
  const Case cases[] = {
      {"whole text", 0, 15, 0, 11},
      {"100 ms at 15 ms per glyph", 1, 15, 100, 7},
      {"half a glyph rounds to even", 1, 10, 25, 2},
      {"at most the last", 1, 15, 100000, 11},
      {"interval 0 shows all", 1, 0, 0, 11},
      {"other modes as 0", 3, 15, 0, 11},
  };
  Field& f = AddText(12);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.designByte1 = c.mode;
    f.animationTime = c.time;
    playerSettings.textInterval = c.interval;
    EXPECT_EQ(LastGlyphShown(f), c.last);
    EXPECT_EQ(FieldTextShown(map, 0), c.last == 11);
    recorder.Clear();
    Draw();
    EXPECT_EQ(recorder.quads.size(), static_cast<std::size_t>(c.last + 1));
  }
  EXPECT_TRUE(FieldTextShown(map, 5));
  EXPECT_TRUE(FieldTextShown(-3, 0));
}

TEST_F(FieldTextTest, TextRectangleIsStoredAndPaintedByLaterPickPasses) {
  Field& f = AddText(3);
  f.placementBytes[0] = 1;  // centred on x: DrawGlyphBlock's alignment 0
  f.lineHeight = 20;        // shifts the text down by 20 / 2 - 14 / 2
  Draw();
  const auto& r = f.textRect;
  EXPECT_EQ(r[1], 50 + 3);  // the top-aligned field's top, plus the shift
  EXPECT_LT(r[0], 100);
  EXPECT_GT(r[2], 100);
  EXPECT_EQ(recorder.quads.size(), 3u);

  // An empty text draws nothing and keeps the rectangle.
  const auto kept = f.textRect;
  recorder.Clear();
  f.value1 = Variant::Text(u"");
  Draw();
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_EQ(f.textRect, kept);

  // The pick pass paints the stored rectangle, in the field's pick colour.
  f.value1 = Variant::Text(u"AAA");
  f.textRect = {10, 20, 50, 35};
  pickPass = 1;
  recorder.Clear();
  Draw();
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].Left(), 10.0f);
  EXPECT_EQ(recorder.quads[0].Top(), 20.0f);
  EXPECT_EQ(recorder.quads[0].Right(), 50.0f);
  EXPECT_EQ(recorder.quads[0].Bottom(), 35.0f);
  EXPECT_EQ(f.textRect, (std::array<std::int32_t, 4>{10, 20, 50, 35}));
}

TEST_F(FieldTextTest, AlignmentsArePassedAsLeftCentreRight) {
  Field& f = AddText(1);
  std::vector<float> lefts;
  for (std::uint8_t align : {0, 1, 2}) {
    f.placementBytes[0] = align;
    recorder.Clear();
    Draw();
    ASSERT_EQ(recorder.quads.size(), 1u);
    lefts.push_back(recorder.quads[0].Left());
  }
  EXPECT_LT(lefts[2], lefts[1]);
  EXPECT_LT(lefts[1], lefts[0]);
}

TEST_F(FieldDrawingTest, ObjectReferencesShowPicturesOrNothing) {
  gameData.items.resize(3);
  gameData.items[2].pictureTexture = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 4, 4, 0, 1);
  gameData.statistics.resize(1);
  gameData.statistics[0].texture = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 4, 4, 0, 1);
  projectState.equipmentAreas.resize(1);
  projectState.equipmentAreas[0].texture =
      std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 4, 4, 0, 1);
  auto reference = [](double code, double first, double second) {
    return Variant::Array(kVarVariant, {Variant::Double(code), Variant(), Variant(), Variant(), Variant(),
                                        Variant::Double(first), Variant::Double(second)});
  };
  struct Case {
    const char* name;
    Variant value;
    const gfx::Texture* texture;  // null: nothing drawn
  };
  const Case cases[] = {
      {"item 2.5 rounds to 2", reference(20, 2.5, 0), gameData.items[2].pictureTexture.get()},
      {"statistic", reference(30, 0, 0), gameData.statistics[0].texture.get()},
      {"equipment area", reference(40, 0.4, 0), projectState.equipmentAreas[0].texture.get()},
      {"code 25", reference(25, 0, 0), nullptr},
      {"item -1 of an empty slot", reference(20, -1, 0), nullptr},
      {"item past the table", reference(20, 3, 0), nullptr},
      {"character of map -1", reference(10, -1, 0), nullptr},
      {"character -1", reference(10, map, -1), nullptr},
      {"character past the map's last", reference(10, map, 0), nullptr},
      {"too short an array", Variant::Array(kVarVariant, {Variant::Double(20)}), nullptr},
  };
  Field& f = AddField(kText, 5, 6);
  f.colorsA[0] = 0xFF112233;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.Clear();
    f.value1 = c.value;
    Draw();
    ASSERT_EQ(recorder.quads.size(), c.texture != nullptr ? 1u : 0u);
    if (c.texture == nullptr) continue;
    EXPECT_EQ(recorder.quads[0].Left(), 5.0f);
    EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse, 0xFF112233u);
    EXPECT_EQ(recorder.Count(test::RecordedKind::kFlush), 1u);
    bool bound = false;
    for (const auto& e : recorder.events)
      if (e.kind == test::RecordedKind::kBind && e.texture == c.texture) bound = true;
    EXPECT_TRUE(bound);
  }
  // A plain pick rectangle unless the exact-pick flag is set.
  pickPass = 1;
  recorder.Clear();
  f.value1 = reference(25, 0, 0);
  Draw();
  EXPECT_EQ(recorder.quads.size(), 1u);
}

}  // namespace
}  // namespace kiv
