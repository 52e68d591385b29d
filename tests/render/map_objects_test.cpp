// Pick-ups, characters and doors of a map against a recording device:
// culling, depth layers, pictures and icons, flashing, carried items, dead
// actors, door texture cells and light, and what each paints in a pick pass.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "data/actor_record.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "mathkiv/colors.h"
#include "media/device_reset.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "render/draw_helpers.h"
#include "render/map_object_drawing.h"
#include "render/render_hooks.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "support/recording_batcher.h"
#include "sprite_fixture.h"

namespace kiv {
namespace {

using test::DeviceCall;
using test::RecordedKind;
using test::RecordedQuad;

gfx::TexturePtr NewTexture(std::uint32_t size = 64) {
  return std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, size, size, 0, 1);
}

// A map of 10 x 8 tiles in 3 layers whose visible rectangle is (0, 0)-(320, 256).
class MapObjectsTest : public test::SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    storedProjectSettings.flags = {};
    projectState.Reset();
    gameState.paused = 0;
    recorder.renderStates[gfx::kRsZEnable] = 1;
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.width = 9, map.height = 7, map.layerCount = 2;
    step.map = index;
    step.view = &view;
    step.visibleRect = {0, 0, 320, 256};
    renderHooks.IsCharacterVisible = [](std::int32_t, std::int32_t) { return true; };
    renderHooks.SystemTexture = [this](std::int32_t n) { return n == 1 ? icons : nullptr; };
  }
  void TearDown() override {
    storedProjectSettings.flags = {};
    projectState.Reset();
    setExtents.Reset();
    SpriteTest::TearDown();
  }
  Map& TheMap() { return gameData.maps[step.map]; }

  std::vector<std::int32_t> DepthLayers() const {
    std::vector<std::int32_t> out;
    for (const auto& e : recorder.Calls(DeviceCall::kDepthLayer)) out.push_back(static_cast<std::int32_t>(e.value));
    return out;
  }
  std::vector<std::uint32_t> States(std::uint32_t state) const {
    std::vector<std::uint32_t> out;
    for (const auto& e : recorder.Calls(DeviceCall::kRenderState, state)) out.push_back(e.value);
    return out;
  }
  std::vector<const gfx::Texture*> Binds() const {
    std::vector<const gfx::Texture*> out;
    for (const auto& e : recorder.events)
      if (e.kind == RecordedKind::kBind) out.push_back(e.texture);
    return out;
  }
  static ColoredVertex Corner(const RecordedQuad& q, test::QuadCorner c) { return q.Vertex<ColoredVertex>(c); }

  MapDrawStep step;
  gfx::TexturePtr icons = NewTexture(192);
};

// ---- Culling ----

TEST(ObjectCullingTest, MarginsReachEachSideOfTheVisibleRectangle) {
  const std::array<std::int32_t, 4> rect{100, 200, 400, 500};
  struct Case {
    float x, y, a, b, c, d;
    bool outside;
  };
  const Case cases[] = {
      {100 - 30, 300, 24, 24, 24, 24, true},   // 30 left of the view: x + 24 <= left
      {100 - 23, 300, 24, 24, 24, 24, false},  // reaches one pixel in
      {100 - 24, 300, 24, 24, 24, 24, true},
      {400 + 24, 300, 24, 24, 24, 24, true},  // 24 beyond the right edge
      {400 + 23, 300, 24, 24, 24, 24, false},
      {250, 200 - 128, 32, 64, 64, 128, true},  // door: reaches 128 down
      {250, 200 - 127, 32, 64, 64, 128, false},
      {250, 500 + 64, 32, 64, 64, 128, true},  // and 64 up
      {250, 500 + 63, 32, 64, 64, 128, false},
      {100 - 64, 300, 32, 64, 64, 128, true},  // 64 right
      {400 + 31, 300, 32, 64, 64, 128, false},  // 32 left
      {400 + 32, 300, 32, 64, 64, 128, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    EXPECT_EQ(OutsideVisibleRect(c.x, c.y, c.a, c.b, c.c, c.d, rect), c.outside);
  }
}

// ---- Pick-ups ----

class PickUpDrawTest : public MapObjectsTest {
 protected:
  void SetUp() override {
    MapObjectsTest::SetUp();
    gameData.items.emplace_back();
    gameData.items[0].pictureTexture = picture;
    gameData.items[0].valueC = 40;
  }
  PickUp& Add(float x, float y, float z) {
    PickUp& p = TheMap().pickUps.emplace_back();
    p.x = x, p.y = y, p.z = z;
    p.color = 0xFF8080FF;
    p.secondColor = 0x00102030;
    p.spriteSet = -1;
    p.items[0].item = -1;
    return p;
  }
  gfx::TexturePtr picture = NewTexture(40);
};

TEST_F(PickUpDrawTest, ItemPictureLiesFlatAboveThePickUpLitAtGroundLevel) {
  std::vector<std::array<float, 3>> asked;
  renderHooks.LightColorAt = [&](std::int32_t, float x, float y, float z, std::uint32_t colour) {
    asked.push_back({x, y, z});
    return ColorModulate(colour, 0xFF808080);
  };
  PickUp& p = Add(100, 120, 32);
  p.items[0].item = 0;
  DrawPickUps(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const RecordedQuad& q = recorder.quads[0];
  const ColoredVertex tl = Corner(q, test::kTopLeft), br = Corner(q, test::kBottomRight);
  EXPECT_FLOAT_EQ(tl.x, 80);
  EXPECT_FLOAT_EQ(tl.y, 100);
  EXPECT_FLOAT_EQ(tl.z, 36);
  EXPECT_FLOAT_EQ(br.x, 120);
  EXPECT_FLOAT_EQ(br.y, 140);
  EXPECT_FLOAT_EQ(br.z, 36);
  EXPECT_FLOAT_EQ(tl.tu, 0);
  EXPECT_FLOAT_EQ(br.tu, 1);
  EXPECT_EQ(tl.diffuse, ColorModulate(0xFF8080FF, 0xFF808080));
  EXPECT_EQ(tl.specular, 0x00102030u);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], (std::array<float, 3>{100, 120, 0}));
  EXPECT_EQ(Binds(), std::vector<const gfx::Texture*>{picture.get()});
  EXPECT_EQ(DepthLayers(), (std::vector<std::int32_t>{2, 0}));
  const auto filters = recorder.Calls(DeviceCall::kTextureStageState);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].value, gfx::kTexfLinear);
  EXPECT_EQ(filters[1].value, gfx::kTexfPoint);
}

TEST_F(PickUpDrawTest, PerspectiveViewStandsThePictureUpAndMirrorBytesFlipIt) {
  view.perspective = true;
  PickUp& p = Add(100, 120, 32);
  p.items[0].item = 0;
  p.mirrorH = 1;
  p.fullBright = 1;
  DrawPickUps(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const ColoredVertex tl = Corner(recorder.quads[0], test::kTopLeft);
  const ColoredVertex br = Corner(recorder.quads[0], test::kBottomRight);
  EXPECT_FLOAT_EQ(tl.x, 80);
  EXPECT_FLOAT_EQ(tl.y, 140);
  EXPECT_FLOAT_EQ(tl.z, 72);
  EXPECT_FLOAT_EQ(br.x, 120);
  EXPECT_FLOAT_EQ(br.y, 140);
  EXPECT_FLOAT_EQ(br.z, 32);
  EXPECT_FLOAT_EQ(tl.tu, 1);  // mirrored across x
  EXPECT_FLOAT_EQ(br.tu, 0);
  EXPECT_FLOAT_EQ(tl.tv, 0);
  EXPECT_EQ(tl.diffuse, 0xFF8080FFu);  // full-bright: its own colour
}

TEST_F(PickUpDrawTest, MoneyAndAmountsShowIconCellsAfterThePictureIsDrawn) {
  struct Case {
    std::int64_t money;
    std::int32_t first, second;
    bool mirrorV;
    std::vector<std::array<float, 4>> cells;  // u1, v1, u2, v2 of each icon quad's top-left and bottom-right
  };
  const Case cases[] = {
      {0, 5, 0, false, {{0.75f, 0, 1, 0.25f}}},
      {10000, 0, 0, false, {{0.5f, 0, 0.75f, 0.25f}}},
      {0, 0, 3, false, {{0.5f, 0.25f, 0.75f, 0.5f}}},
      {10000, 1, 1, false, {{0.75f, 0, 1, 0.25f}, {0.5f, 0, 0.75f, 0.25f}, {0.5f, 0.25f, 0.75f, 0.5f}}},
      {0, 0, 3, true, {{0.5f, 0.5f, 0.75f, 0.25f}}},
      {0, -2, 0, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.money << " " << c.first << " " << c.second);
    TheMap().pickUps.clear();
    recorder.Clear();
    PickUp& p = Add(100, 120, 0);
    p.items[0].item = 0;
    p.money = c.money;
    p.values3 = {c.first, c.second};
    p.mirrorV = c.mirrorV ? 1 : 0;
    DrawPickUps(step);
    ASSERT_EQ(recorder.quads.size(), 1 + c.cells.size());
    // The picture goes out with its own texture before the icons take theirs.
    const auto binds = Binds();
    ASSERT_EQ(binds.size(), c.cells.empty() ? 1u : 2u);
    EXPECT_EQ(binds[0], picture.get());
    EXPECT_EQ(recorder.Count(RecordedKind::kFlush), c.cells.empty() ? 1u : 2u);
    if (!c.cells.empty()) {
      EXPECT_EQ(binds[1], icons.get());
    }
    for (std::size_t i = 0; i < c.cells.size(); ++i) {
      const RecordedQuad& q = recorder.quads[1 + i];
      const ColoredVertex tl = Corner(q, test::kTopLeft), br = Corner(q, test::kBottomRight);
      EXPECT_FLOAT_EQ(tl.x, 76);
      EXPECT_FLOAT_EQ(br.x, 124);
      EXPECT_FLOAT_EQ(tl.y, 96);
      EXPECT_FLOAT_EQ(br.y, 144);
      EXPECT_FLOAT_EQ(tl.tu, c.cells[i][0]);
      EXPECT_FLOAT_EQ(tl.tv, c.cells[i][1]);
      EXPECT_FLOAT_EQ(br.tu, c.cells[i][2]);
      EXPECT_FLOAT_EQ(br.tv, c.cells[i][3]);
    }
  }
}

TEST_F(PickUpDrawTest, WhichPickUpsAreDrawn) {
  // A sprite set with one 10 x 10 layer in direction 4.
  SpriteDirection& d = Direction(0);
  d.layers.push_back(test::MakeLayer());
  FramesOf(d, {test::LayerPart(0)});
  gameData.spriteSets[0].usedValues = {0};
  struct Case {
    const char* what;
    bool sprite, hidden;
    std::int32_t countdown;
    float x;
    bool picking;
    bool drawn;
  };
  const Case cases[] = {
      {"present picture", false, false, 0, 100, false, true},
      {"picture while its countdown runs", false, false, 500, 100, false, false},
      {"sprite while its countdown runs", true, false, 500, 100, false, true},
      {"hidden", false, true, 0, 100, false, false},
      {"picture 30 left of the view", false, false, 0, -30, false, false},
      {"picture 20 left of the view", false, false, 0, -20, false, true},
      {"picture 24 beyond the right edge", false, false, 0, 344, false, false},
      {"sprite 200 left of the view", true, false, 0, -200, false, true},
      {"sprite 256 left of the view", true, false, 0, -256, false, false},
      {"in a pick pass", false, false, 0, 100, true, false},
      {"sprite in a pick pass", true, false, 0, 100, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TheMap().pickUps.clear();
    recorder.Clear();
    PickUp& p = Add(c.x, 100, 0);
    p.items[0].item = 0;
    p.spriteSet = c.sprite ? 0 : -1;
    p.hidden = c.hidden ? 1 : 0;
    p.respawnCountdown = c.countdown;
    renderHooks.PickPassMode = [&] { return c.picking ? 1 : 0; };
    DrawPickUps(step);
    EXPECT_EQ(!recorder.quads.empty(), c.drawn);
    if (c.drawn && c.sprite) {
      // A sprite is drawn from both sides, then the cull mode goes back.
      EXPECT_EQ(States(gfx::kRsCullMode), (std::vector<std::uint32_t>{gfx::kCullNone, gfx::kCullCcw}));
    }
  }
}

// ---- Characters ----

class CharacterDrawTest : public MapObjectsTest {
 protected:
  // Sprite set `set` with one 10 x 10 layer of group 0 and order 0 in direction 4.
  void MakeSet(std::int32_t set, std::uint8_t flags = 0) {
    SpriteDirection& d = Direction(set);
    d.layers.clear();
    d.layers.push_back(test::MakeLayer());
    FramesOf(d, {test::LayerPart(0)});
    gameData.spriteSets[static_cast<std::size_t>(set)].flags = flags;
  }
  Actor& AddActor(float x, float y, float z) {
    Actor& a = TheMap().actors.emplace_back();
    a.x = x, a.y = y, a.z = z;
    return a;
  }
  static void Layers(Actor& a, const std::vector<std::int32_t>& sets) {
    a.characterLayers.clear();
    for (std::int32_t s : sets) {
      CharacterLayer layer;
      layer.layerSpriteSet = s;
      a.characterLayers.push_back(layer);
    }
  }
};

TEST_F(CharacterDrawTest, DepthLayerCounterMovesForEachNewFrameSet) {
  struct Case {
    const char* what;
    std::vector<std::int32_t> sets;
    bool option3;
    std::uint8_t flags;
    std::vector<std::int32_t> layers;  // depth layers set while the actor is drawn, after the first 0
  };
  std::vector<std::int32_t> twenty(20), upTo17{0};
  for (std::int32_t i = 0; i < 20; ++i) twenty[static_cast<std::size_t>(i)] = i;
  for (std::int32_t i = 1; i < 20; ++i) upTo17.push_back(std::min(i, 17));
  upTo17.erase(upTo17.begin());
  const Case cases[] = {
      {"one frame set throughout", {0, 0, 0, 0}, false, 0, {}},
      {"two sets", {0, 1, 1, 0}, false, 0, {1, 2}},
      {"option flag 3 starts far", {0, 0, 1}, true, 0, {3, 4}},
      {"set flag 4 starts far", {0, 1}, false, 4, {3, 4}},
      {"twenty frame sets end at 17", twenty, false, 0, upTo17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.spriteSets.clear();
    for (std::int32_t s = 0; s < 20; ++s) MakeSet(s, c.flags);
    storedProjectSettings.flags[2] = c.option3 ? 1 : 0;
    TheMap().actors.clear();
    Layers(AddActor(100, 100, 0), c.sets);
    recorder.Clear();
    DrawCharacters(step);
    std::vector<std::int32_t> expected{0};
    expected.insert(expected.end(), c.layers.begin(), c.layers.end());
    expected.push_back(0);  // back to 0 after the characters
    EXPECT_EQ(DepthLayers(), expected);
    EXPECT_EQ(recorder.quads.size(), c.sets.size());
  }
}

TEST_F(CharacterDrawTest, DifferentPosesOfOneSetAreDifferentFrameSets) {
  MakeSet(0);
  gameData.spriteSets[0].poses.push_back(gameData.spriteSets[0].poses[0]);
  Actor& a = AddActor(100, 100, 0);
  Layers(a, {0, 0});
  std::int32_t call = 0;
  renderHooks.SelectActorPose = [&](std::int32_t, const Actor&, std::int32_t, std::int32_t, std::int32_t,
                                    std::int32_t& pose, std::int32_t& time) {
    pose = call++ == 0 ? 0 : 1;
    time = 0;
  };
  DrawCharacters(step);
  EXPECT_EQ(DepthLayers(), (std::vector<std::int32_t>{0, 1, 0}));
}

TEST_F(CharacterDrawTest, FlashShareTintsTowardsTheFlashColour) {
  struct Case {
    std::int32_t count, elapsed, duration;
    float share;
  };
  const Case cases[] = {
      {2, 0, 1000, 0}, {2, 250, 1000, 1}, {2, 125, 1000, 0.5f}, {1, 500, 1000, 1}, {3, 100, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " " << c.elapsed << " " << c.duration);
    Actor a;
    a.tint = 0xFF804020;
    a.specular = 0x10203040;
    a.flashColor = 0x80FFFFFF;
    a.flashValues = {c.count, c.elapsed, c.duration};
    const ActorColours colours = FlashedColours(a);
    if (c.share < 0) {
      EXPECT_EQ(colours.tint, 0xFF804020u);
      EXPECT_EQ(colours.second, 0x10203040u);
      continue;
    }
    EXPECT_EQ(colours.tint, ColorLerp(0xFF804020, 0x80000000, c.share));
    EXPECT_EQ(colours.second, ColorLerp(0x10203040, 0x80FFFFFF, c.share));
  }
  Actor a;
  a.tint = 0xFF804020;
  a.flashColor = 0x80FFFFFF;
  a.flashValues = {2, 250, 1000};
  EXPECT_EQ(FlashedColours(a).tint, 0x80000000u);
}

TEST_F(CharacterDrawTest, LayersPassTheirColourTintLightAndSecondColour) {
  MakeSet(0);
  Actor& a = AddActor(100, 100, 16);
  Layers(a, {0});
  a.characterLayers[0].colour = 0xFF00FF00;
  a.tint = 0xFF808080;
  a.specular = 0x00000000;
  std::vector<float> heights;
  renderHooks.LightColorAt = [&](std::int32_t, float, float, float z, std::uint32_t colour) {
    heights.push_back(z);
    EXPECT_EQ(colour, 0xFFFFFFFFu);
    return 0xFF8080FFu;
  };
  DrawCharacters(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const ColoredVertex v = Corner(recorder.quads[0], test::kTopLeft);
  EXPECT_EQ(v.diffuse, ColorModulate(ColorModulate(0xFF00FF00, 0xFF8080FF), 0xFF808080));
  EXPECT_EQ(heights, std::vector<float>{48});

  // Full-bright: no light asked, white light.
  recorder.Clear();
  heights.clear();
  a.fullBright = 1;
  DrawCharacters(step);
  EXPECT_TRUE(heights.empty());
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(Corner(recorder.quads[0], test::kTopLeft).diffuse, ColorModulate(0xFF00FF00, 0xFF808080));
}

TEST_F(CharacterDrawTest, InvisibleAndCulledCharactersAreSkipped) {
  MakeSet(0);
  setExtents.maxSpriteWidth = 40;
  setExtents.maxSpriteHeight = 80;
  struct Case {
    float x, y;
    bool visible, drawn;
  };
  const Case cases[] = {{100, 100, true, true},  {100, 100, false, false}, {-39, 100, true, true},
                        {-40, 100, true, false}, {100, -79, true, true},   {100, 336, true, false},
                        {359, 100, true, true},  {360, 100, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    TheMap().actors.clear();
    Layers(AddActor(c.x, c.y, 0), {0});
    renderHooks.IsCharacterVisible = [&](std::int32_t, std::int32_t) { return c.visible; };
    recorder.Clear();
    DrawCharacters(step);
    EXPECT_EQ(recorder.quads.size(), c.drawn ? 1u : 0u);
  }
}

TEST_F(CharacterDrawTest, PickPassPaintsEachActorsPickColourAndLiftsTheDepthTestForNoDepthActors) {
  MakeSet(0);
  for (int i = 0; i < 3; ++i) Layers(AddActor(100 + 20.0f * i, 100, 0), {0});
  TheMap().actors[1].noDepth = 1;
  renderHooks.PickPassMode = [] { return 1; };
  DrawCharacters(step);
  const std::vector<std::uint32_t> factors = States(gfx::kRsTextureFactor);
  ASSERT_EQ(factors.size(), 3u);
  for (std::int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(factors[static_cast<std::size_t>(i)],
              ColorForFormat(graphics.pickTargetFormat, static_cast<std::uint32_t>(MakePickColor(step.map, i, 0))));
  }
  EXPECT_EQ(States(gfx::kRsZEnable), (std::vector<std::uint32_t>{0, 1}));
  // Outside a pick pass the flag changes nothing.
  recorder.Clear();
  renderHooks.PickPassMode = [] { return 0; };
  DrawCharacters(step);
  EXPECT_TRUE(States(gfx::kRsZEnable).empty());
  EXPECT_TRUE(States(gfx::kRsTextureFactor).empty());
}

class CarriedItemTest : public CharacterDrawTest {
 protected:
  void SetUp() override {
    CharacterDrawTest::SetUp();
    MakeSet(0);
    // The frame shows holding point 1.
    SpriteDirection& d = Direction(0);
    FramesOf(d, {test::LayerPart(0)});
    d.builtFrames[0].parts.push_back(test::SlotPart(1, 5, 0));
    d.frames = d.builtFrames;
    Item& item = gameData.items.emplace_back();
    for (ItemImageEntry& e : item.images) {
      e.image.mode = 1;
      e.texture = NewTexture(16);
      e.value1 = e.value2 = 16;
    }
    projectState.equipmentAreas.resize(3);
    projectState.equipmentAreas[0].value = 0;   // slot 0: not shown by the frame
    projectState.equipmentAreas[1].value = 1;   // shown
    projectState.equipmentAreas[2].value = -1;  // never drawn
    Actor& a = AddActor(100, 100, 0);
    Layers(a, {0});
    a.equipment.resize(3);
    for (InventoryEntry& e : a.equipment) e.item = 0;
  }
};

TEST_F(CarriedItemTest, ItemsOfShownSlotsLieBetweenTwoCounterSteps) {
  DrawCharacters(step);
  ASSERT_EQ(recorder.quads.size(), 2u);  // the layer and one item
  EXPECT_EQ(DepthLayers(), (std::vector<std::int32_t>{0, 1, 2, 0}));
}

TEST_F(CarriedItemTest, DeadActorsLieDownWithoutItemsUnlessUprightOrKeepingThem) {
  struct Case {
    std::int32_t state, upright, keep;
    std::size_t quads;
    bool lying;
  };
  const Case cases[] = {{0, 0, 0, 2, false}, {3, 0, 0, 1, true}, {3, 0, 1, 1, true},
                        {3, -1, 0, 1, false}, {3, -1, 1, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.state << " " << c.upright << " " << c.keep);
    Actor& a = TheMap().actors[0];
    a.state = c.state;
    a.deadUpright = c.upright;
    a.keepItems = c.keep;
    a.z = 64;
    recorder.Clear();
    DrawCharacters(step);
    ASSERT_EQ(recorder.quads.size(), c.quads);
    // The body's 10 x 10 frame lies in the map plane at z when standing;
    // lying, it is turned up on edge about a centre 28 below z.
    float low = 1e9f, high = -1e9f;
    for (test::QuadCorner k : {test::kBottomLeft, test::kTopLeft, test::kBottomRight, test::kTopRight}) {
      low = std::min(low, Corner(recorder.quads[0], k).z);
      high = std::max(high, Corner(recorder.quads[0], k).z);
    }
    if (c.lying) {
      EXPECT_NEAR((low + high) / 2, 36, 1e-3);
      EXPECT_NEAR(high - low, 10, 1e-3);
    } else {
      EXPECT_FLOAT_EQ(low, 64);
      EXPECT_FLOAT_EQ(high, 64);
    }
  }
}

TEST_F(CharacterDrawTest, AttachedAnimationsDrawWithTheirOwnColoursAfterTheLayers) {
  MakeSet(0);
  MakeSet(1);
  gameData.spriteSets[1].usedValues = {0};
  Actor& a = AddActor(100, 100, 0);
  Layers(a, {0});
  Attachment effect;
  effect.spriteSet = 1;
  effect.color = 0xFF0000FF;
  a.attachedEffects.push_back(effect);
  Attachment none;
  none.spriteSet = -1;
  a.attachedSprites.push_back(none);
  DrawCharacters(step);
  ASSERT_EQ(recorder.quads.size(), 2u);
  EXPECT_EQ(Corner(recorder.quads[1], test::kTopLeft).diffuse, 0xFF0000FFu);
}

TEST_F(CharacterDrawTest, ThePlayersMarkerShowsOverTheMemberItControls) {
  MakeSet(0);
  MakeSet(1);
  gameData.spriteSets[1].usedValues = {0};
  // Player 0's party: the actors at x 40 (member 0) and x 100 (member 1); one
  // more actor of no player.
  projectState.players.resize(1);
  Player& player = projectState.players[0];
  for (const auto& [x, member] : {std::pair{40.0f, 0}, std::pair{100.0f, 1}, std::pair{160.0f, -1}}) {
    Actor& a = AddActor(x, 100, 0);
    Layers(a, {0});
    a.owningPlayer = member < 0 ? -1 : 0;
    a.partyMember = member;
  }
  struct Case {
    const char* what;
    std::int32_t marker, controlled;
    float markerX;  // -1: no marker
  };
  for (const Case& c : {Case{"over member 1", 1, 1, 100}, Case{"over member 0", 1, 0, 40},
                        Case{"no marker set", -1, 1, -1}, Case{"a set that does not exist", 7, 1, -1}}) {
    SCOPED_TRACE(c.what);
    recorder.Clear();
    player.actionSprite = c.marker;
    player.controlledMember = c.controlled;
    DrawCharacters(step);
    if (c.markerX < 0) {
      EXPECT_EQ(recorder.quads.size(), 3u);
      continue;
    }
    ASSERT_EQ(recorder.quads.size(), 4u);
    // The marker comes right after its character's layers, at the character.
    const std::size_t at = c.controlled == 0 ? 1 : 2;
    const float left = Corner(recorder.quads[at], test::kTopLeft).x;
    EXPECT_FLOAT_EQ(left, Corner(recorder.quads[at - 1], test::kTopLeft).x);
    EXPECT_FLOAT_EQ(left + 5, c.markerX);
  }
}

// ---- Doors ----

class MapDoorTest : public MapObjectsTest {
 protected:
  void SetUp() override {
    MapObjectsTest::SetUp();
    gameData.doorSets.emplace_back();
    gameData.doorSets[0].textures[1] = NewTexture(256);
    Map& map = TheMap();
    map.lightGrid.Make(11, 9, 4, 0);
    for (int z = 0; z < 4; ++z)
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x)
          map.lightGrid.At(x, y, z) = 0xFF000000u | static_cast<std::uint32_t>(x * 16 + 1) << 16 |
                                      static_cast<std::uint32_t>(y * 16 + 1) << 8 |
                                      static_cast<std::uint32_t>(z * 16 + 1);
  }
  static std::uint32_t Corner3(int x, int y, int z) {
    return 0xFF000000u | static_cast<std::uint32_t>(x * 16 + 1) << 16 | static_cast<std::uint32_t>(y * 16 + 1) << 8 |
           static_cast<std::uint32_t>(z * 16 + 1);
  }
  Door& AddDoor(float x, float y, float z) {
    Door& d = TheMap().doors.emplace_back();
    d.x = x, d.y = y, d.z = z;
    d.doorSet = 0;
    return d;
  }
};

TEST_F(MapDoorTest, TextureCellAndLightFromTheGridCornerAtItsFoot) {
  Door& d = AddDoor(100.4f, 70.6f, 33);
  DoorTileX(d) = 3;
  DoorTileY(d) = 2;
  DoorColour(d) = static_cast<std::int32_t>(0x80FFFFFFu);
  DoorSpecular(d) = 0x00112233;
  DrawDoors(step);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const ColoredVertex bl = Corner(recorder.quads[0], test::kBottomLeft);
  const ColoredVertex tr = Corner(recorder.quads[0], test::kTopRight);
  EXPECT_FLOAT_EQ(bl.tu, 3.0f / 8);
  EXPECT_FLOAT_EQ(tr.tu, 4.0f / 8);
  EXPECT_FLOAT_EQ(tr.tv, 2.0f / 4);
  EXPECT_FLOAT_EQ(bl.tv, 3.0f / 4);
  EXPECT_FLOAT_EQ(bl.y, 70.6f + 64);
  // Corner (100 \ 32, 71 \ 32 + 2, 33 \ 32) = (3, 4, 1).
  EXPECT_EQ(bl.diffuse, ColorModulate(0x80FFFFFF, Corner3(3, 4, 1)));
  EXPECT_EQ(bl.specular, 0x00112233u);
  EXPECT_EQ(States(gfx::kRsCullMode), (std::vector<std::uint32_t>{gfx::kCullNone, gfx::kCullCcw}));
  EXPECT_EQ(DepthLayers(), (std::vector<std::int32_t>{0, 0}));
}

TEST_F(MapDoorTest, OverlayTakesTheLightWithTheDoorsAlphaAndFullBrightDoorsTheirOwnColours) {
  gameData.doorSets[0].textures[2] = NewTexture(256);
  Door& d = AddDoor(64, 64, 0);
  DoorColour(d) = static_cast<std::int32_t>(0x80C0C0C0u);
  DrawDoors(step);
  ASSERT_EQ(recorder.quads.size(), 2u);
  EXPECT_EQ(Corner(recorder.quads[1], test::kTopLeft).diffuse, (Corner3(2, 4, 0) & 0xFFFFFFu) | 0x80000000u);

  recorder.Clear();
  d.fullBright = 1;
  DoorSpecular(d) = 0x00445566;
  DrawDoors(step);
  ASSERT_EQ(recorder.quads.size(), 2u);
  EXPECT_EQ(Corner(recorder.quads[0], test::kTopLeft).diffuse, 0x80C0C0C0u);
  EXPECT_EQ(Corner(recorder.quads[0], test::kTopLeft).specular, 0x00445566u);
}

TEST_F(MapDoorTest, DoorsOnTheLastRowsOrOutsideTheMapTakeTheNearestGridCorner) {
  struct Case {
    float x, y, z;
    int cx, cy, cz;
  };
  const Case cases[] = {
      {100, 7 * 32, 0, 3, 8, 0},      // last tile row: row 9 would lie past the grid
      {100, 6 * 32, 0, 3, 8, 0},      // row 8 is the last corner row
      {100, 5 * 32, 0, 3, 7, 0},
      {-40, -200, -50, 0, 0, 0},      // outside on the low sides
      {400, 300, 200, 10, 8, 3},      // and the high ones
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ", " << c.z);
    EXPECT_EQ(DoorLightColor(TheMap(), c.x, c.y, c.z), Corner3(c.cx, c.cy, c.cz));
  }
  // A map whose grid was never made lights doors white.
  Map empty;
  EXPECT_EQ(DoorLightColor(empty, 10, 10, 0), 0xFFFFFFFFu);
}

TEST_F(MapDoorTest, WhichDoorsAreDrawn) {
  struct Case {
    const char* what;
    std::uint8_t hidden;
    std::int32_t set;
    float x, y;
    bool drawn;
  };
  const Case cases[] = {
      {"plain", 0, 0, 100, 100, true},          {"hidden", 1, 0, 100, 100, false},
      {"no door set", 0, -1, 100, 100, false},  {"door set past the table", 0, 1, 100, 100, false},
      {"128 above the view", 0, 0, 100, -128, false}, {"127 above the view", 0, 0, 100, -127, true},
      {"32 right of the view", 0, 0, 352, 100, false}, {"31 right of it", 0, 0, 351, 100, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TheMap().doors.clear();
    Door& d = AddDoor(c.x, c.y, 0);
    DoorNoDraw(d) = c.hidden;
    d.doorSet = c.set;
    recorder.Clear();
    DrawDoors(step);
    EXPECT_EQ(recorder.quads.size(), c.drawn ? 1u : 0u);
  }
}

TEST_F(MapDoorTest, PickPassPaintsDoorsInColourZero) {
  AddDoor(100, 100, 0);
  renderHooks.PickPassMode = [] { return 1; };
  DrawDoors(step);
  EXPECT_EQ(States(gfx::kRsTextureFactor), std::vector<std::uint32_t>{ColorForFormat(graphics.pickTargetFormat, 0)});
  EXPECT_EQ(recorder.quads.size(), 1u);
}

}  // namespace
}  // namespace kiv
