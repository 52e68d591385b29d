// The steps of map drawing after the fields, against a recording device:
// shadows under the stencil test, the zones of the pick image, clouds and
// rain, characters' carried interfaces, and a view field's screen sprites,
// transition and flash.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "data/actor_record.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/map_weather_fields.h"
#include "mathkiv/colors.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/draw_helpers.h"
#include "render/map_top_drawing.h"
#include "render/render_hooks.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "sprite_fixture.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

using test::DeviceCall;
using test::RecordedKind;
using test::RecordedQuad;

// ---- What the overlays and shadows compute ----

TEST(ScreenSpriteColourTest, FadesInAndOutAndEndsAFadeOfNoLengthAtOnce) {
  constexpr std::uint32_t kColour = 0xC0408020;
  struct Case {
    const char* what;
    std::int32_t clock, fadeTime, fadeOutStart;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"fade-in start", 0, 400, -1, 0x00408020},
      {"fade-in half way", 200, 400, -1, ColorLerp(0x00408020, kColour, 0.5f)},
      {"fade-in end", 400, 400, -1, kColour},
      {"after the fade-in", 900, 400, -1, kColour},
      {"fade-in of no length", 0, 0, -1, kColour},
      {"before the fade-out starts", 100, 1000, 500, kColour},
      {"fade-out start", 500, 1000, 500, kColour},
      {"fade-out half way", 750, 1000, 500, ColorLerp(kColour, 0x00FFFFFF, 0.5f)},
      {"fade-out end", 1000, 1000, 500, 0x00FFFFFF},
      {"after the fade-out", 5000, 1000, 500, 0x00FFFFFF},
      {"fade-out of no length", 500, 500, 500, 0x00FFFFFF},
      {"fade time 0 with a fade-out start", 10, 0, 0, 0x00FFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ScreenSpriteColour(kColour, c.clock, c.fadeTime, c.fadeOutStart), c.expected);
  }
}

TEST(TransitionAmountTest, DirectionsAndNoDuration) {
  EXPECT_FLOAT_EQ(TransitionAmount(1, 500, 500), 1.0f);
  EXPECT_FLOAT_EQ(TransitionAmount(1, 200, 500), 0.4f);
  EXPECT_FLOAT_EQ(TransitionAmount(2, 200, 500), 0.6f);
  EXPECT_LT(TransitionAmount(0, 200, 500), 0.0f);
  EXPECT_LT(TransitionAmount(1, 200, 0), 0.0f);
}

TEST(FlashAmountTest, CountTwoOverASecondPeaksAtAQuarterAndThreeQuarters) {
  struct Case {
    std::int32_t count, elapsed, duration;
    float expected;
  };
  const Case cases[] = {
      {2, 0, 1000, 0.0f},   {2, 250, 1000, 1.0f}, {2, 500, 1000, 0.0f},  {2, 750, 1000, 1.0f},
      {2, 1000, 1000, 0.0f}, {1, 500, 1000, 1.0f}, {0, 250, 1000, 0.0f},  // a count of 0 shows no flash
      {0, 0, 1000, 0.0f},   {3, 100, 0, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " " << c.elapsed << " " << c.duration);
    EXPECT_NEAR(FlashAmount(c.count, c.elapsed, c.duration), c.expected, 1e-6);
  }
}

TEST(ShadowScaleTest, HalfAtHeight150) {
  EXPECT_FLOAT_EQ(ShadowScale(0), 1.0f);
  EXPECT_FLOAT_EQ(ShadowScale(150), 0.5f);
  EXPECT_FLOAT_EQ(ShadowScale(-150), 0.5f);
  EXPECT_FLOAT_EQ(ShadowScale(450), 0.25f);
}

TEST(MessageTextPlacementTest, CentredAboveTheFootInTwoColourForms) {
  const MessageTextLook say = MessageTextPlacement(100.5f, 200.4f, false);
  EXPECT_EQ(say.x, 100);  // halves to even
  EXPECT_EQ(say.y, 200 - 80);
  const MessageTextLook second = MessageTextPlacement(100, 200, true);
  EXPECT_NE(say.top, second.top);
  EXPECT_NE(say.bottom, second.bottom);
  EXPECT_EQ(say.shadow, second.shadow);
}

// ---- Drawing against the recording device ----

// A map of 10 x 8 tiles whose visible rectangle is (0, 0)-(320, 256), sprite
// set 0 of one 10 x 10 layer in direction 4.
class MapTopTest : public test::SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    storedProjectSettings.flags = {};
    gameState.paused = 0;
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.width = 9, map.height = 7, map.layerCount = 0;
    step.map = index;
    step.view = &view;
    step.width = 320, step.height = 256;
    step.visibleRect = {0, 0, 320, 256};
    renderHooks.IsCharacterVisible = [](std::int32_t, std::int32_t) { return true; };
    SpriteDirection& d = Direction(0);
    d.layers.push_back(test::MakeLayer());
    FramesOf(d, {test::LayerPart(0)});
    gameData.spriteSets[0].usedValues = {0};
  }
  void TearDown() override {
    storedProjectSettings.flags = {};
    SpriteTest::TearDown();
  }
  Map& TheMap() { return gameData.maps[step.map]; }
  std::vector<std::uint32_t> States(std::uint32_t state) const {
    std::vector<std::uint32_t> out;
    for (const auto& e : recorder.Calls(DeviceCall::kRenderState, state)) out.push_back(e.value);
    return out;
  }
  // Width and height of quad q (coloured 3-D or screen).
  std::pair<float, float> Size(std::size_t q) const {
    const RecordedQuad& quad = recorder.quads[q];
    if (quad.stride == sizeof(ColoredVertex)) {
      const ColoredVertex tl = quad.Vertex<ColoredVertex>(test::kTopLeft);
      const ColoredVertex br = quad.Vertex<ColoredVertex>(test::kBottomRight);
      return {br.x - tl.x, br.y - tl.y};
    }
    return {quad.Right() - quad.Left(), quad.Bottom() - quad.Top()};
  }
  Actor& AddActor(float x, float y, float z) {
    Actor& a = TheMap().actors.emplace_back();
    a.x = x, a.y = y, a.z = z;
    a.shadow = 1;
    a.shadowColor = 0x80000000;
    CharacterLayer layer;
    layer.layerSpriteSet = 0;
    a.characterLayers.push_back(layer);
    return a;
  }

  MapDrawStep step;
};

TEST_F(MapTopTest, WithoutOptionFlag3NoShadowIsDrawnAndTheStencilStaysOff) {
  AddActor(100, 100, 0);
  DrawShadows(step);
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_TRUE(States(gfx::kRsStencilEnable).empty());
  storedProjectSettings.flags[2] = 1;
  renderHooks.PickPassMode = [] { return 1; };
  DrawShadows(step);
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_TRUE(States(gfx::kRsStencilEnable).empty());
}

TEST_F(MapTopTest, CharacterShadowShrinksWithHeightAndLiesFlat) {
  storedProjectSettings.flags[2] = 1;
  struct Case {
    const char* what;
    float z;
    std::uint8_t setFlags;
    std::int32_t state, deadUpright, keepItems;
    bool drawn;
    float width, height;
  };
  const Case cases[] = {
      {"on the ground", 0, 0, 0, 0, 0, true, 10, 5},
      {"at 150: half its width", 150, 0, 0, 0, 0, true, 5, 2.5f},
      {"full-height shadow set", 150, 0x4, 0, 0, 0, true, 5, 5},
      {"below the ground", -1, 0, 0, 0, 0, false, 0, 0},
      {"dead", 0, 0, 3, 0, 0, false, 0, 0},
      {"dead upright without its items", 0, 0, 3, 1, 0, false, 0, 0},
      {"dead upright keeping its items", 0, 0, 3, 1, 1, true, 10, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.Clear();
    TheMap().actors.clear();
    gameData.spriteSets[0].flags = c.setFlags;
    Actor& a = AddActor(100, 100, c.z);
    a.state = c.state, a.deadUpright = c.deadUpright, a.keepItems = c.keepItems;
    DrawShadows(step);
    EXPECT_EQ(States(gfx::kRsStencilEnable), (std::vector<std::uint32_t>{1, 0}));
    ASSERT_EQ(recorder.quads.size(), c.drawn ? 1u : 0u);
    if (!c.drawn) continue;
    const auto [w, h] = Size(0);
    EXPECT_FLOAT_EQ(w, c.width);
    EXPECT_FLOAT_EQ(h, c.height);
    const ColoredVertex v = recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft);
    EXPECT_FLOAT_EQ(v.z, 0);  // flattened onto the ground
    EXPECT_EQ(v.diffuse, 0x80000000u);
  }
}

TEST_F(MapTopTest, ShadowPassStatesInOrder) {
  storedProjectSettings.flags[2] = 1;
  DrawShadows(step);
  const auto depth = recorder.Calls(DeviceCall::kDepthLayer);
  ASSERT_FALSE(depth.empty());
  EXPECT_EQ(depth[0].value, 2u);
  const std::vector<std::uint32_t> cull = States(gfx::kRsCullMode);
  ASSERT_GE(cull.size(), 2u);
  EXPECT_EQ(cull[0], gfx::kCullCw);  // for the doors
  EXPECT_EQ(cull[1], gfx::kCullCcw);
  EXPECT_EQ(States(gfx::kRsStencilEnable), (std::vector<std::uint32_t>{1, 0}));
}

TEST_F(MapTopTest, DoorShadowsAreCulledWithTheirOwnMarginsAndLaidFlat) {
  storedProjectSettings.flags[2] = 1;
  DoorSet& set = gameData.doorSets.emplace_back();
  set.textures[0] = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 8, 8, 0, 1);
  struct Case {
    float x, y;
    std::uint8_t shadow;
    bool drawn;
  };
  const Case cases[] = {
      {100, 100, 1, true}, {100, 100, 0, false},   // no shadow flag
      {100, -191, 1, true}, {100, -192, 1, false},  // 192 reach down
      {100, 191, 1, true},  {100, 192, 1, false},   // and -64 up: y + 64 reaches the bottom
      {-63, 100, 1, true},  {-64, 100, 1, false},   // 64 right
      {351, 100, 1, true},  {352, 100, 1, false},   // 32 left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << " shadow " << int{c.shadow});
    recorder.Clear();
    TheMap().doors.clear();
    Door& door = TheMap().doors.emplace_back();
    door.x = c.x, door.y = c.y, door.doorSet = 0;
    door.byte4 = c.shadow;
    door.value3 = 0x40000000;
    DrawShadows(step);
    ASSERT_EQ(recorder.quads.size(), c.drawn ? 1u : 0u);
    if (!c.drawn) continue;
    const ColoredVertex tl = recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft);
    const ColoredVertex bl = recorder.quads[0].Vertex<ColoredVertex>(test::kBottomLeft);
    EXPECT_EQ(tl.diffuse, 0x40000000u);
    EXPECT_FLOAT_EQ(std::fabs(bl.y - tl.y), 32);  // the flat shadow takes half the door's height
  }
}

TEST_F(MapTopTest, PickUpSpriteShadowLiesBelowItSquashed) {
  storedProjectSettings.flags[2] = 1;
  PickUp& p = TheMap().pickUps.emplace_back();
  p.x = 100, p.y = 100, p.z = 40;
  p.spriteSet = 0;
  p.flag2 = 1;
  p.values2[0] = static_cast<std::int32_t>(0x60000000u);
  DrawShadows(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(Centre(0), (std::pair<float, float>{100, 124}));
  const ColoredVertex v = recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft);
  EXPECT_FLOAT_EQ(v.z, 0);
  EXPECT_EQ(v.diffuse, 0x60000000u);
  EXPECT_FLOAT_EQ(Size(0).second, 5);
  p.flag2 = 0;
  recorder.Clear();
  DrawShadows(step);
  EXPECT_TRUE(recorder.quads.empty());
}

TEST_F(MapTopTest, OnlyZonesWithAMouseTriggerArePaintedInThePickImage) {
  TheMap().actors.resize(3);
  struct ZoneCase {
    std::vector<std::int32_t> events;
    bool drawn;
  };
  const ZoneCase zones[] = {
      {{kSymTriggerZoneMouseDown}, true},
      {{kSymTriggerZoneMouseDown - 1}, false},  // a touch of a character only
      {{kSymTriggerZoneMouseDown - 1, kSymTriggerZoneMouseDown + 4}, true},
      {{kSymTriggerZoneMouseDown + 5}, false},
      {{}, false},
  };
  for (const ZoneCase& z : zones) {
    Zone& zone = TheMap().zones.emplace_back();
    for (std::int32_t e : z.events) zone.triggers.push_back(Trigger{e, {}, {}});
    CollisionBox box;
    box.left = 10, box.top = 20, box.right = 40, box.bottom = 60, box.front = 0, box.back = 32;
    zone.shape.rectangles.push_back(box);
  }
  DrawZones(step);  // not a pick pass
  EXPECT_EQ(recorder.Count(RecordedKind::kTriangles), 0u);
  renderHooks.PickPassMode = [] { return 1; };
  graphics.pickTargetFormat = gfx::kFmtX8R8G8B8;
  DrawZones(step);
  graphics.Reset();
  std::vector<std::uint32_t> colours;
  for (const auto& e : recorder.events) {
    if (e.kind != RecordedKind::kTriangles) continue;
    EXPECT_EQ(e.value, 12u);
    EXPECT_EQ(e.stride, 28u);
    ASSERT_EQ(e.coloredVertices.size(), 36u);
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    for (const ColoredVertex& v : e.coloredVertices) {
      minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
      minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
    }
    EXPECT_EQ((std::array<float, 4>{minX, maxX, minZ, maxZ}), (std::array<float, 4>{10, 40, 0, 32}));
    colours.push_back(e.coloredVertices[0].diffuse);
  }
  // The pick colours follow the map's characters: zone k is 3 + k.
  EXPECT_EQ(colours, (std::vector<std::uint32_t>{0xFF000000u | static_cast<std::uint32_t>(MakePickColor(0, 3, 0)),
                                                 0xFF000000u | static_cast<std::uint32_t>(MakePickColor(0, 5, 0))}));
  EXPECT_EQ(States(gfx::kRsZEnable), (std::vector<std::uint32_t>{0, 1}));
}

TEST_F(MapTopTest, CloudsPassMirrorAFirstAndRainTurnsAgainstTheWind) {
  CloudParticle& cloud = TheMap().clouds.emplace_back();
  cloud.x = 50, cloud.y = 60;
  cloud.spriteSet = 0;
  cloud.mirrorA = 1;
  cloud.color = 0x80FFFFFF;
  CloudParticle& unresolved = TheMap().clouds.emplace_back();
  unresolved.spriteSet = -2;  // a set that was never found draws nothing
  DrawClouds(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const RecordedQuad& q = recorder.quads[0];
  EXPECT_EQ(q.stride, sizeof(ScreenVertex));
  EXPECT_EQ(Centre(0), (std::pair<float, float>{49.5f, 59.5f}));  // screen quads lie half a pixel up-left
  EXPECT_FLOAT_EQ(q.Screen(test::kTopLeft).tu, 1);  // mirrored across x
  EXPECT_FLOAT_EQ(q.Screen(test::kTopLeft).tv, 0);
  EXPECT_EQ(q.Screen(test::kTopLeft).diffuse, 0x80FFFFFFu);

  recorder.Clear();
  RainSpriteSet(TheMap()) = 0;
  WindDirection(TheMap()) = 0;  // cos 1: the drop turns by -pi/4
  RainParticle& drop = TheMap().rainDrops.emplace_back();
  drop.x = 100, drop.y = 100, drop.size = 2;
  drop.color = 0xFFFFFFFF;
  DrawRain(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const ScreenVertex a = recorder.quads[0].Screen(test::kTopLeft), b = recorder.quads[0].Screen(test::kTopRight);
  EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 20, 1e-3);  // drawn at its size
  const double angle = std::atan2(b.y - a.y, b.x - a.x);
  EXPECT_NEAR(angle, -std::numbers::pi / 4, 1e-4);

  recorder.Clear();
  renderHooks.PickPassMode = [] { return 1; };
  DrawClouds(step);
  DrawRain(step);
  EXPECT_TRUE(recorder.quads.empty());
}

// ---- View overlays ----

class ViewOverlayTest : public MapTopTest {
 protected:
  void SetUp() override {
    MapTopTest::SetUp();
    const std::int32_t holder = gameData.maps.Append();
    gameData.maps[holder].isInterface = true;
    gameData.maps[holder].fields.resize(2);
    step.parentMap = holder;
    step.viewField = 1;
  }
  FieldView& View() { return gameData.maps[step.parentMap].fields[1].view; }
  std::vector<std::uint32_t> QuadColours() const {
    std::vector<std::uint32_t> out;
    for (const RecordedQuad& q : recorder.quads) out.push_back(q.Screen(test::kTopLeft).diffuse);
    return out;
  }
};

TEST_F(ViewOverlayTest, TransitionAndFlashCoverTheView) {
  struct Case {
    const char* what;
    std::uint8_t direction;
    std::int32_t kind, elapsed, duration;
    std::vector<std::uint32_t> colours;
  };
  const Case cases[] = {
      {"fading out, at its end", 1, -4, 500, 500, {0xFF102030}},
      {"fading in, at its end", 2, -4, 500, 500, {0x00102030}},
      {"instant at 0.4", 1, -3, 200, 500, {}},
      {"instant at 0.6", 1, -3, 300, 500, {0xFF102030}},
      {"no duration", 1, -4, 0, 0, {}},
      {"no direction", 0, -4, 100, 500, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.Clear();
    View() = FieldView();
    View().transitionMode = c.direction;
    View().transitionKind = c.kind;
    View().transitionColor = 0xFF102030;
    View().transitionElapsed = c.elapsed;
    View().transitionDuration = c.duration;
    DrawViewOverlays(step);
    EXPECT_EQ(QuadColours(), c.colours);
  }
  recorder.Clear();
  View() = FieldView();
  View().flashColor = 0xFFFFFFFF;
  View().flashCount = 2;
  View().flashElapsed = 250;
  View().flashDuration = 1000;
  DrawViewOverlays(step);
  EXPECT_EQ(QuadColours(), std::vector<std::uint32_t>{0xFFFFFFFF});
  recorder.Clear();
  View().flashCount = 0;
  DrawViewOverlays(step);
  EXPECT_EQ(QuadColours(), std::vector<std::uint32_t>{0x00FFFFFF});
}

TEST_F(ViewOverlayTest, ScreenSpritesStandOffByTheirAnchorsAndFade) {
  SpriteDirection& d = Direction(0);
  d.sizeX = 10, d.sizeY = 10;
  FieldRuntimeEntry entry;
  entry.values = {0,
                  std::bit_cast<std::int32_t>(100.0f),
                  std::bit_cast<std::int32_t>(50.0f),
                  std::bit_cast<std::int32_t>(0.5f),
                  std::bit_cast<std::int32_t>(-1.0f),
                  static_cast<std::int32_t>(0xFF00FF00u),
                  100,
                  400,
                  -1};
  gameData.maps[step.parentMap].fields[1].runtimeEntries.push_back(entry);
  FieldRuntimeEntry missing = entry;
  missing.values[0] = 7;  // no such sprite set
  gameData.maps[step.parentMap].fields[1].runtimeEntries.push_back(missing);
  DrawViewOverlays(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(Centre(0), (std::pair<float, float>{104.5f, 39.5f}));
  EXPECT_EQ(QuadColours(), std::vector<std::uint32_t>{ColorLerp(0x0000FF00, 0xFF00FF00, 0.25f)});
}

// ---- Tops ----

class TopsTest : public MapTopTest {
 protected:
  void SetUp() override {
    MapTopTest::SetUp();
    carried = gameData.maps.Append();
    Map& shown = gameData.maps[carried];
    shown.isInterface = true;
    shown.ambientColor = 0xFF000000;
    shown.fields.resize(1);
    shown.fields[0].name = u"own";
    Actor& a = AddActor(160, 128, 0);
    a.mapReference.kind = carried;
    a.carriedFields.resize(2);
    a.carriedFields[0].name = u"actor's";
    // An identity view: map pixels are screen pixels.
    view.viewport = gfx::Viewport{0, 0, 640, 480, 0, 1};
    view.projection = gfx::MatrixOrthoOffCenterLH(0, 640, 480, 0, -1000, 1000);
    dataSettings.gameVideoWidth = 800;
    dataSettings.gameVideoHeight = 600;
    renderHooks.UpdateCarriedInterfaceSystems = [this](std::int32_t i, std::int32_t m, std::int32_t actor) {
      updates.push_back({i, m, actor});
      seenFields.push_back(gameData.maps[i].fields.empty() ? u"" : gameData.maps[i].fields[0].name);
    };
    renderHooks.DrawFields = [this](std::int32_t m, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                                    const MapView&) {
      drawnAt.push_back({m, x, y});
      EXPECT_EQ(gameData.maps[m].overlayActive, 1);
    };
  }
  void TearDown() override {
    dataSettings = DataSettings();
    MapTopTest::TearDown();
  }
  std::int32_t carried = -1;
  std::vector<std::array<std::int32_t, 3>> updates, drawnAt;
  std::vector<std::u16string> seenFields;
};

TEST_F(TopsTest, CarriedInterfaceIsCentredOnTheCharacterWithItsOwnLists) {
  DrawTops(step);
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0], (std::array<std::int32_t, 3>{carried, step.map, 0}));
  EXPECT_EQ(seenFields, std::vector<std::u16string>{u"actor's"});
  // x = Round(160 - 400 + Int((800 - 320) / 2)), y = Round(128 - 300 + Int((600 - 256) / 2)).
  ASSERT_EQ(drawnAt.size(), 1u);
  EXPECT_EQ(drawnAt[0], (std::array<std::int32_t, 3>{carried, 0, 0}));
  const Map& shown = gameData.maps[carried];
  EXPECT_EQ(shown.overlayActive, 0);
  ASSERT_EQ(shown.fields.size(), 1u);
  EXPECT_EQ(shown.fields[0].name, u"own");
  ASSERT_EQ(TheMap().actors[0].carriedFields.size(), 2u);
  EXPECT_EQ(TheMap().actors[0].carriedFields[0].name, u"actor's");
}

TEST_F(TopsTest, TheCharactersAmbientColourStandsInForTheInterfacesOwn) {
  // The character's copy has alpha 0: the interface shows no fields over it,
  // though its own colour would show them.
  Actor& a = TheMap().actors[0];
  a.carriedAmbient = 0x00FFFFFF;
  DrawTops(step);
  EXPECT_EQ(updates.size(), 1u);
  EXPECT_TRUE(drawnAt.empty());
  EXPECT_EQ(gameData.maps[carried].ambientColor, 0xFF000000u);

  // A change made while it stands in is the character's.
  renderHooks.UpdateCarriedInterfaceSystems = [](std::int32_t i, std::int32_t, std::int32_t) {
    gameData.maps[i].ambientColor = 0xFF123456;
  };
  DrawTops(step);
  EXPECT_EQ(drawnAt.size(), 1u);
  EXPECT_EQ(TheMap().actors[0].carriedAmbient, 0xFF123456u);
  EXPECT_EQ(gameData.maps[carried].ambientColor, 0xFF000000u);
}

TEST_F(TopsTest, WhoDrawsACarriedInterface) {
  struct Case {
    const char* what;
    std::uint8_t shown;
    std::int32_t vehicle, turret;
    std::uint8_t removed;
    float x;
    bool drawn;
  };
  const Case cases[] = {
      {"plain", 0, -1, -1, 0, 160, true},
      {"already shown elsewhere", 1, -1, -1, 0, 160, false},
      {"riding", 0, 2, -1, 0, 160, false},
      {"operating a turret", 0, -1, 1, 0, 160, false},
      {"removed", 0, -1, -1, 1, 160, false},
      {"beyond a quarter of the design width", 0, -1, -1, 0, 320 + 200, false},
      {"within it", 0, -1, -1, 0, 320 + 199, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    updates.clear();
    drawnAt.clear();
    gameData.maps[carried].overlayActive = c.shown;
    Actor& a = TheMap().actors[0];
    a.vehicleRidden = c.vehicle, a.turretOperated = c.turret, a.removed = c.removed, a.x = c.x;
    DrawTops(step);
    EXPECT_EQ(drawnAt.size(), c.drawn ? 1u : 0u);
    EXPECT_EQ(gameData.maps[carried].overlayActive, c.shown);
  }
}

TEST_F(TopsTest, ListsGoBackWhenTheInterfaceFails) {
  renderHooks.UpdateCarriedInterfaceSystems = [](std::int32_t, std::int32_t, std::int32_t) {
    throw std::runtime_error("script error");
  };
  TheMap().actors[0].carriedAmbient = 0xFF00FF00;
  EXPECT_THROW(DrawTops(step), std::runtime_error);
  const Map& shown = gameData.maps[carried];
  EXPECT_EQ(shown.overlayActive, 0);
  EXPECT_EQ(shown.ambientColor, 0xFF000000u);
  EXPECT_EQ(TheMap().actors[0].carriedAmbient, 0xFF00FF00u);
  ASSERT_EQ(shown.fields.size(), 1u);
  EXPECT_EQ(shown.fields[0].name, u"own");
  ASSERT_EQ(TheMap().actors[0].carriedFields.size(), 2u);
}

}  // namespace
}  // namespace kiv
