// Map drawing against a recording of the device calls: the view of an
// interface and of a map in a view field, the depth clear, the tile window,
// transforms, ambient, shader constants and fog, the pick passes, and the
// order of the steps with their activity texts.
#include "render/map_drawing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "platform/gfx/d3dx.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "render/render_hooks.h"
#include "state/project_settings_block.h"
#include "tile_map_fixture.h"

namespace kiv {
namespace {

using test::DeviceCall;
using test::RecordedEvent;
using test::RecordedKind;

std::uint32_t Bits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(VisibleArea, TheTileWindowFollowsTheCameraAndTheFortyFiveViewAddsRows) {
  struct Case {
    const char* name;
    std::int32_t width, height, cameraX, cameraY, cameraZ;
    float scale;
    bool fortyFive;
    std::int32_t lastLayer;
    std::array<std::int32_t, 4> rect;
    MapTileWindow window;  // first column, first row, columns, rows, rise rows, rows below
  };
  const Case cases[] = {
      {"origin", 640, 480, 0, 0, 0, 1.0f, false, 0, {0, 0, 640, 480}, {0, 0, 20, 15, -15, 30}},
      {"scrolled", 630, 470, 100, 50, 0, 1.0f, false, 0, {100, 50, 730, 520}, {3, 1, 20, 15, -17, 32}},
      // Int is the floor: negative positions round down.
      {"negative", 100, 100, -80, -33, 0, 1.0f, false, 0, {-80, -33, 20, 67}, {-3, -2, 4, 4, -3, 7}},
      // A raised camera adds rows above; rows below never shrink under rowCount.
      {"high camera", 640, 480, 0, 0, 600, 1.0f, false, 0, {0, 0, 640, 480}, {0, 0, 20, 15, 3, 15}},
      // The "45" view takes in the raised layers from below.
      {"45", 640, 480, 0, 0, 40, 1.0f, true, 3, {0, 0, 640, 480}, {0, -2, 20, 20, -14, 29}},
      {"not 45", 640, 480, 0, 0, 40, 1.0f, false, 3, {0, 0, 640, 480}, {0, 0, 20, 15, -14, 29}},
      {"45 flat", 640, 480, 0, 0, 0, 1.0f, true, 2, {0, 0, 640, 480}, {0, 0, 20, 17, -15, 30}},
      {"scaled", 640, 480, 64, 32, 0, 2.0f, false, 0, {32, 16, 352, 256}, {1, 0, 10, 8, -8, 16}},
      // Edges round half to even: 0.5 to 0 and 1.5 to 2.
      {"halves", 2, 2, 1, 1, 0, 2.0f, false, 0, {0, 0, 2, 2}, {0, 0, 1, 1, -1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const VisibleArea area =
        ComputeVisibleArea(c.width, c.height, c.cameraX, c.cameraY, c.cameraZ, c.scale, c.fortyFive, c.lastLayer);
    EXPECT_EQ(area.rect, c.rect);
    EXPECT_EQ(area.window.firstColumn, c.window.firstColumn);
    EXPECT_EQ(area.window.firstRow, c.window.firstRow);
    EXPECT_EQ(area.window.columnCount, c.window.columnCount);
    EXPECT_EQ(area.window.rowCount, c.window.rowCount);
    EXPECT_EQ(area.window.riseRows, c.window.riseRows);
    EXPECT_EQ(area.window.rowCountBelow, c.window.rowCountBelow);
  }
}

struct StepCall {
  std::string name;
  std::string activity;
  std::size_t event;  // events recorded before the call
  MapDrawStep step;
  MapView view;
};

class MapDrawingTest : public test::TileMapTest {
 protected:
  void SetUp() override {
    TileMapTest::SetUp();
    projectState.Reset();
    storedProjectSettings.Reset();
    viewScroll.Reset();
    graphics.pickTargetFormat = 0;
    pickPass = 0;
    viewScale = 1.0f;
    // Interface 0 holds view field 0, which shows map 1 from the top.
    face = gameData.maps.Append();
    Map& interfaceMap = gameData.maps[face];
    interfaceMap.isInterface = true;
    interfaceMap.ambientColor = 0xFFFFFFFF;
    Field& field = interfaceMap.fields.emplace_back();
    field.kind = 6;
    field.mapIndex = face;
    field.view.ownMap = 1;
    field.view.followedCharacter = 0;
    SetFieldScreenView(field, 1);
    gameData.tileSets = {test::MakeTileSet(1), test::MakeTileSet(1), test::MakeTileSet(1)};
    Map& map = MakeMap(4, 4, 1, {0, 1, 2});
    for (int group = 0; group < 3; ++group) Put(map, group, 1, 1, 0, static_cast<std::uint8_t>(group + 1), 0);
    map.actors.emplace_back().x = 64;
    map.ambientColor = 0x80402010;
    for (auto [name, hook] : {std::pair{"pick-ups", &renderHooks.DrawPickUps},
                              {"characters", &renderHooks.DrawCharacters},
                              {"doors", &renderHooks.DrawDoors},
                              {"shadows", &renderHooks.DrawShadows},
                              {"zones", &renderHooks.DrawZones},
                              {"clouds", &renderHooks.DrawClouds},
                              {"rain", &renderHooks.DrawRain},
                              {"tops", &renderHooks.DrawTops},
                              {"overlays", &renderHooks.DrawViewOverlays}}) {
      *hook = [this, name = std::string(name)](const MapDrawStep& step) { Note(name, step, *step.view); };
    }
    renderHooks.DrawFields = [this](std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t width,
                                    std::int32_t height, const MapView& view) {
      MapDrawStep step;
      step.map = map;
      step.x = x;
      step.y = y;
      step.width = width;
      step.height = height;
      Note("fields", step, view);
    };
  }
  void TearDown() override {
    pickPass = 0;
    projectState.Reset();
    storedProjectSettings.Reset();
    viewScroll.Reset();
    graphics.pickTargetFormat = 0;
    TileMapTest::TearDown();
  }
  void Note(const std::string& name, const MapDrawStep& step, const MapView& view) {
    calls.push_back({name, gameData.currentActivity, recorder.events.size(), step, view});
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const StepCall& c : calls) names.push_back(c.name);
    return names;
  }
  const StepCall* Find(const std::string& name) const {
    for (const StepCall& c : calls)
      if (c.name == name) return &c;
    return nullptr;
  }
  // Indexes into recorder.events of the binds of each tile group's texture.
  std::vector<std::size_t> TileBinds(int group) const {
    std::vector<std::size_t> at;
    const gfx::Texture* texture = gameData.tileSets[static_cast<std::size_t>(group)].frames.textures[0].get();
    for (std::size_t i = 0; i < recorder.events.size(); ++i)
      if (recorder.events[i].kind == RecordedKind::kBind && recorder.events[i].texture == texture) at.push_back(i);
    return at;
  }
  std::size_t ScreenQuads() const {
    std::size_t n = 0;
    for (const auto& q : recorder.quads) n += q.stride == sizeof(ScreenVertex) ? 1 : 0;
    return n;
  }
  void DrawView(std::int32_t x = 0, std::int32_t y = 0, std::int32_t width = 640, std::int32_t height = 480) {
    DrawMap(1, x, y, face, 0, width, height);
  }

  std::int32_t face = -1;
  std::vector<StepCall> calls;
};

TEST_F(MapDrawingTest, MapMinusOneAndUnknownMapsChangeNothing) {
  for (std::int32_t map : {-1, 2, 99}) {
    DrawMap(map, 0, 0, -1, -1, -1, -1);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(calls.empty());
  }
  // A map whose view field cannot be found draws nothing either.
  DrawMap(1, 0, 0, face, 5, 100, 100);
  DrawMap(1, 0, 0, 7, 0, 100, 100);
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(MapDrawingTest, AMapInAViewFieldDrawsItsStepsInOrder) {
  storedProjectSettings.flags[2] = -1;  // shadows on
  DrawView();
  const std::vector<std::string> expected = {"pick-ups", "characters", "doors", "shadows",
                                             "clouds",   "rain",       "tops",  "overlays"};
  EXPECT_EQ(Names(), expected);
  const std::vector<std::string> activities = {"Drawing Pick-Ups", "Drawing Characters", "Drawing Doors",
                                               "Drawing Shadows",  "Drawing Clouds",     "Drawing Rain",
                                               "Drawing Tops",     "Drawing Tops"};
  for (std::size_t i = 0; i < calls.size() && i < activities.size(); ++i) {
    SCOPED_TRACE(calls[i].name);
    EXPECT_EQ(calls[i].activity, activities[i]);
  }
  // The tile groups 0, 1 and 2 come in order before the objects.
  ASSERT_FALSE(TileBinds(0).empty());
  ASSERT_FALSE(TileBinds(1).empty());
  ASSERT_FALSE(TileBinds(2).empty());
  EXPECT_LT(TileBinds(0).front(), TileBinds(1).front());
  EXPECT_LT(TileBinds(1).front(), TileBinds(2).front());
  EXPECT_LT(TileBinds(2).back(), calls[0].event);
  // The steps see the view field's rectangle and the visible part of the map.
  const MapDrawStep& step = calls[0].step;
  EXPECT_EQ(step.map, 1);
  EXPECT_EQ(step.parentMap, face);
  EXPECT_EQ(step.viewField, 0);
  EXPECT_EQ(step.width, 640);
  EXPECT_EQ(step.height, 480);
  // The 128-pixel map is centred in the 640 x 480 view: scroll -256 and -176.
  EXPECT_EQ(step.visibleRect, (std::array<std::int32_t, 4>{-256, -176, 384, 304}));
  EXPECT_EQ(tileWindow.firstColumn, -8);
  EXPECT_EQ(tileWindow.firstRow, -6);
  EXPECT_EQ(calls[0].view.screenView, 1);
  EXPECT_FALSE(calls[0].view.perspective);
  // The last word is the depth test on.
  const auto states = recorder.RenderStates();
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(states.back(), std::make_pair(gfx::kRsZEnable, 1u));
  EXPECT_EQ(gameData.currentActivity, "Drawing Tops");
}

TEST_F(MapDrawingTest, WithoutShadowsTheShadowStepAndStencilStayOff) {
  DrawView();
  EXPECT_EQ(Find("shadows"), nullptr);
  EXPECT_TRUE(recorder.Calls(DeviceCall::kRenderState, gfx::kRsStencilEnable).empty());
}

TEST_F(MapDrawingTest, AnInterfaceDrawsOnlyItsFieldsAndProjectiles) {
  DrawMap(face, 3, 4, -1, -1, -1, -1);
  EXPECT_EQ(Names(), std::vector<std::string>{"fields"});
  EXPECT_EQ(calls[0].activity, "Drawing Fields");
  EXPECT_TRUE(TileBinds(0).empty());
  EXPECT_TRUE(TileBinds(1).empty());
  EXPECT_TRUE(TileBinds(2).empty());
  // The fields get the interface's offset and the whole back buffer.
  EXPECT_EQ(calls[0].step.x, 3);
  EXPECT_EQ(calls[0].step.y, 4);
  EXPECT_EQ(calls[0].step.width, 640);
  EXPECT_EQ(calls[0].step.height, 480);
  EXPECT_EQ(calls[0].view.screenView, 2);
  // After the fields: depth test on and culling counter-clockwise.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> after;
  for (std::size_t i = calls[0].event; i < recorder.events.size() && after.size() < 2; ++i) {
    const RecordedEvent& e = recorder.events[i];
    if (e.kind == RecordedKind::kState && e.call == DeviceCall::kRenderState) after.emplace_back(e.state, e.value);
  }
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0], std::make_pair(gfx::kRsZEnable, 1u));
  EXPECT_EQ(after[1], std::make_pair(gfx::kRsCullMode, gfx::kCullCcw));
}

TEST_F(MapDrawingTest, AnInterfaceWithoutSizeTakesTheWholeBackBuffer) {
  recorder.backBufferWidth = 320;
  recorder.backBufferHeight = 200;
  viewScale = 1.5f;
  DrawMap(face, 0, 0, -1, -1, -1, -1);
  const auto viewports = recorder.Calls(DeviceCall::kViewport);
  ASSERT_EQ(viewports.size(), 1u);
  EXPECT_EQ(viewports[0].viewport.x, 0u);
  EXPECT_EQ(viewports[0].viewport.y, 0u);
  EXPECT_EQ(viewports[0].viewport.width, 320u);
  EXPECT_EQ(viewports[0].viewport.height, 200u);
  EXPECT_EQ(viewports[0].viewport.minZ, 0.0f);
  EXPECT_EQ(viewports[0].viewport.maxZ, 1.0f);
  // Every matrix is the view scale.
  const auto transforms = recorder.Calls(DeviceCall::kTransform);
  ASSERT_EQ(transforms.size(), 3u);
  for (const RecordedEvent& t : transforms) {
    EXPECT_EQ(t.matrix.m[0][0], 1.5f);
    EXPECT_EQ(t.matrix.m[1][1], 1.5f);
    EXPECT_EQ(t.matrix.m[2][2], 1.5f);
    EXPECT_EQ(t.matrix.m[3][3], 1.0f);
  }
}

TEST_F(MapDrawingTest, AnInterfaceWithASizeKeepsTheViewport) {
  gfx::Viewport outer{10, 20, 300, 200, 0.0f, 1.0f};
  recorder.SetViewport(outer);
  recorder.Clear();
  DrawMap(face, 0, 0, -1, -1, 300, 200);
  EXPECT_TRUE(recorder.Calls(DeviceCall::kViewport).empty());
  ASSERT_NE(Find("fields"), nullptr);
  // The view record carries the viewport it is drawn in.
  recorder.SetViewport(outer);
  calls.clear();
  DrawMap(face, 0, 0, -1, -1, 300, 200);
  ASSERT_NE(Find("fields"), nullptr);
  EXPECT_EQ(Find("fields")->view.viewport.x, 10u);
  EXPECT_EQ(Find("fields")->view.viewport.width, 300u);
}

TEST_F(MapDrawingTest, TheFieldsOfAnInterfaceWithoutAmbientAlphaShowOnlyInPickPasses) {
  gameData.maps[face].ambientColor = 0x00FFFFFF;
  DrawMap(face, 0, 0, -1, -1, -1, -1);
  EXPECT_EQ(Find("fields"), nullptr);
  pickPass = 1;
  DrawMap(face, 0, 0, -1, -1, -1, -1);
  EXPECT_NE(Find("fields"), nullptr);
}

TEST_F(MapDrawingTest, AViewOffTheScreenDrawsNothing) {
  for (auto rect : {std::array<std::int32_t, 4>{700, 0, 100, 100}, {0, -500, 100, 100}, {0, 0, 0, 50}}) {
    DrawView(rect[0], rect[1], rect[2], rect[3]);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(calls.empty());
  }
}

TEST_F(MapDrawingTest, TheDepthBufferIsClearedOnlyWithADepthFormat) {
  struct Case {
    std::uint32_t format;
    bool cleared;
  };
  for (const Case& c : {Case{0, false}, Case{75, true}, Case{80, true}, Case{71, true}}) {
    SCOPED_TRACE(c.format);
    recorder.Clear();
    recorder.depthStencilFormat = c.format;
    DrawView(-50, 10, 200, 100);
    ASSERT_EQ(recorder.Count(RecordedKind::kClear), c.cleared ? 1u : 0u);
    const auto viewports = recorder.Calls(DeviceCall::kViewport);
    ASSERT_EQ(viewports.size(), 1u);
    // The viewport is cut to the screen: 50 narrower at X 0.
    EXPECT_EQ(viewports[0].viewport.x, 0u);
    EXPECT_EQ(viewports[0].viewport.y, 10u);
    EXPECT_EQ(viewports[0].viewport.width, 150u);
    EXPECT_EQ(viewports[0].viewport.height, 100u);
    if (c.cleared) {
      for (const RecordedEvent& e : recorder.events) {
        if (e.kind != RecordedKind::kClear) continue;
        EXPECT_EQ(e.state, gfx::kClearZBuffer);  // the depth buffer alone
        EXPECT_EQ(e.z, 1.0f);
      }
    }
  }
}

TEST_F(MapDrawingTest, TransformsAmbientAndDepthLayerComeFromTheView) {
  DrawView();
  // The camera the field computed, taken again on a copy of the field.
  Field copy = gameData.maps[face].fields[0];
  std::int32_t width = 640, height = 480;
  FieldCamera camera;
  SetupFieldCamera(copy, 0, 0, width, height, camera);
  const auto transforms = recorder.Calls(DeviceCall::kTransform);
  ASSERT_GE(transforms.size(), 3u);
  EXPECT_EQ(transforms[0].state, gfx::kTransformProjection);
  EXPECT_EQ(transforms[1].state, gfx::kTransformView);
  EXPECT_EQ(transforms[2].state, gfx::kTransformWorld);
  EXPECT_EQ(std::memcmp(&transforms[0].matrix, &camera.projection, sizeof(gfx::Matrix)), 0);
  EXPECT_EQ(std::memcmp(&transforms[1].matrix, &camera.view, sizeof(gfx::Matrix)), 0);
  EXPECT_EQ(std::memcmp(&transforms[2].matrix, &camera.world, sizeof(gfx::Matrix)), 0);
  const auto ambient = recorder.Calls(DeviceCall::kRenderState, gfx::kRsAmbient);
  ASSERT_EQ(ambient.size(), 1u);
  EXPECT_EQ(ambient[0].value, 0x80402010u);
  const auto layers = recorder.Calls(DeviceCall::kDepthLayer);
  ASSERT_FALSE(layers.empty());
  EXPECT_EQ(layers[0].value, 0u);
}

TEST_F(MapDrawingTest, ShaderConstantsOnlyInLitMode) {
  struct Case {
    bool shaders, lightingOff, written;
  };
  for (const Case& c : {Case{true, false, true}, Case{false, false, false}, Case{true, true, false}}) {
    SCOPED_TRACE(testing::Message() << c.shaders << " " << c.lightingOff);
    recorder.Clear();
    renderHooks.LitBatchOn = [&] { return c.shaders; };
    renderHooks.LightingOff = [&] { return c.lightingOff; };
    DrawView();
    const auto vertex = recorder.Calls(DeviceCall::kVertexConstant);
    const auto pixel = recorder.Calls(DeviceCall::kPixelConstant);
    if (!c.written) {
      EXPECT_TRUE(vertex.empty());
      EXPECT_TRUE(pixel.empty());
      continue;
    }
    // The map's own constants come first; the tile drawing may set more after them.
    ASSERT_GE(vertex.size(), 5u);
    ASSERT_GE(pixel.size(), 5u);
    const std::uint32_t registers[] = {4, 8, 0, 50, 51};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(vertex[static_cast<std::size_t>(i)].state, registers[i]);
    const auto transforms = recorder.Calls(DeviceCall::kTransform);
    const gfx::Matrix& projection = transforms[0].matrix;
    const gfx::Matrix& view = transforms[1].matrix;
    const gfx::Matrix viewProjection = gfx::MatrixMultiply(view, projection);
    // Registers 4 to 7: the transposed view x projection, so register 4 + r holds column r.
    ASSERT_EQ(vertex[0].constants.size(), 16u);
    for (int r = 0; r < 4; ++r)
      for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(vertex[0].constants[static_cast<std::size_t>(4 * r + k)], viewProjection.m[k][r]);
    // World: registers 8 to 11 as it is, 0 to 3 transposed (identity here, so both are).
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(vertex[1].constants, std::vector<float>(identity, identity + 16));
    EXPECT_EQ(vertex[2].constants, std::vector<float>(identity, identity + 16));
    EXPECT_EQ(vertex[3].constants, (std::vector<float>{0, 0, 0, 0}));
    EXPECT_EQ(vertex[4].constants, (std::vector<float>{1, 1, 1, 1}));
    // Pixel 0: the ambient 0x80402010 as four Singles, lowest byte first.
    EXPECT_EQ(pixel[0].state, 0u);
    EXPECT_EQ(pixel[0].constants,
              (std::vector<float>{16.0f / 255, 32.0f / 255, 64.0f / 255, 128.0f / 255}));
    for (std::uint32_t reg = 1; reg <= 4; ++reg) {
      EXPECT_EQ(pixel[reg].state, reg);
      EXPECT_EQ(pixel[reg].constants, (std::vector<float>{1, 1, 1, 1}));
    }
  }
}

TEST_F(MapDrawingTest, FogTakesTheNearerDistanceFirstAndEndsBeforeTheFlatSteps) {
  Map& map = gameData.maps[1];
  map.fogOn = 1;
  map.fogColor = 0xFF336699;
  map.fogStart = 800.0f;
  map.fogEnd = 200.0f;
  DrawView();
  const auto fogStates = [&] {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (const auto& s : recorder.RenderStates())
      if (s.first == gfx::kRsFogEnable || s.first == gfx::kRsFogColor || s.first == gfx::kRsFogVertexMode ||
          s.first == gfx::kRsFogStart || s.first == gfx::kRsFogEnd)
        out.push_back(s);
    return out;
  }();
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {
      {gfx::kRsFogEnable, 1},      {gfx::kRsFogColor, 0xFF336699u},   {gfx::kRsFogVertexMode, 3},
      {gfx::kRsFogStart, Bits(200)}, {gfx::kRsFogEnd, Bits(800)}, {gfx::kRsFogEnable, 0}};
  EXPECT_EQ(fogStates, expected);
  // Fog is off again before the clouds.
  std::size_t fogOff = 0;
  for (std::size_t i = 0; i < recorder.events.size(); ++i) {
    const RecordedEvent& e = recorder.events[i];
    if (e.kind == RecordedKind::kState && e.call == DeviceCall::kRenderState && e.state == gfx::kRsFogEnable &&
        e.value == 0)
      fogOff = i;
  }
  ASSERT_NE(Find("clouds"), nullptr);
  EXPECT_LT(fogOff, Find("clouds")->event);

  // Without fog no fog state is touched.
  recorder.Clear();
  map.fogOn = 0;
  DrawView();
  for (const auto& s : recorder.RenderStates()) EXPECT_NE(s.first, gfx::kRsFogEnable);

  // Inside a fogged interface's view a map without fog draws without it, and
  // the interface's fog comes back afterwards.
  recorder.Clear();
  recorder.renderStates[gfx::kRsFogEnable] = 1;
  recorder.renderStates[gfx::kRsFogColor] = 0xFF112233;
  recorder.renderStates[gfx::kRsFogEnd] = Bits(500);
  DrawView();
  std::vector<std::pair<std::size_t, std::uint32_t>> enables;  // event position, value
  for (std::size_t i = 0; i < recorder.events.size(); ++i) {
    const RecordedEvent& e = recorder.events[i];
    if (e.kind == RecordedKind::kState && e.call == DeviceCall::kRenderState && e.state == gfx::kRsFogEnable)
      enables.emplace_back(i, e.value);
  }
  ASSERT_EQ(enables.size(), 2u);
  EXPECT_EQ(enables[0].second, 0u);
  ASSERT_NE(Find("characters"), nullptr);
  EXPECT_LT(enables[0].first, Find("characters")->event);
  EXPECT_EQ(enables[1].second, 1u);
  EXPECT_EQ(recorder.GetRenderState(gfx::kRsFogColor), 0xFF112233u);
  EXPECT_EQ(recorder.GetRenderState(gfx::kRsFogEnd), Bits(500));
  recorder.renderStates = {};
}

TEST_F(MapDrawingTest, APickPassPaintsSceneryInColourZeroAndKeepsCharactersAndDoors) {
  graphics.pickTargetFormat = gfx::kFmtX8R8G8B8;
  for (bool scenery : {false, true}) {
    SCOPED_TRACE(scenery);
    recorder.Clear();
    calls.clear();
    storedProjectSettings.pickScenery = scenery ? -1 : 0;
    storedProjectSettings.flags[2] = -1;  // shadows on: still none in a pick pass
    pickPass = 1;
    DrawView();
    EXPECT_EQ(Names(), (std::vector<std::string>{"characters", "doors", "zones"}));
    ASSERT_NE(Find("zones"), nullptr);
    EXPECT_EQ(Find("zones")->activity, "Stopping Fog and Going Into 2D");
    const auto factor = recorder.Calls(DeviceCall::kRenderState, gfx::kRsTextureFactor);
    ASSERT_FALSE(factor.empty());
    EXPECT_EQ(factor[0].value, 0xFF000000u);  // colour 0 in the pick target's format
    EXPECT_EQ(TileBinds(0).empty(), !scenery);
    EXPECT_EQ(TileBinds(2).empty(), !scenery);
    // No backdrop, no screen shaders before the 3-D steps.
    EXPECT_EQ(ScreenQuads(), 0u);
  }
}

TEST_F(MapDrawingTest, AnInterfaceInAPickPassDrawsItsFieldsAndZones) {
  pickPass = 2;
  DrawMap(face, 0, 0, -1, -1, -1, -1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"fields", "zones"}));
}

TEST_F(MapDrawingTest, TheFortyFiveViewTakesInRaisedLayers) {
  Field& field = gameData.maps[face].fields[0];
  SetFieldScreenView(field, 0);
  gameData.maps[1].actors[0].z = 40;
  DrawView();
  // In the "45" view the rows grow by the last layer and by the rows of the
  // camera's height, and start that many rows higher.
  const VisibleArea flat = ComputeVisibleArea(640, 480, viewScroll.scrollPixelX, viewScroll.scrollPixelY,
                                              viewScroll.scrollPixelZ, 1.0f, false, 0);
  const std::int32_t raised = (viewScroll.scrollPixelZ + 31) / 32;
  EXPECT_EQ(viewScroll.scrollPixelZ, 40);
  EXPECT_EQ(tileWindow.rowCount, flat.window.rowCount + gameData.maps[1].layerCount + raised);
  EXPECT_EQ(tileWindow.firstRow, flat.window.firstRow - raised);
}

}  // namespace
}  // namespace kiv
