// Map backdrops (gradient and scrolling sprite layers) and projectiles, drawn
// into the recorder.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/game_data.h"
#include "render/backdrop_drawing.h"
#include "render/render_hooks.h"
#include "sprite_fixture.h"
#include "state/game_state.h"

namespace kiv {
namespace {

using test::RecordedKind;

class BackdropTest : public test::SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    gameState.paused = 0;
    SpriteDirection& d = Direction();
    d.layers = {test::MakeLayer()};
    d.builtFrames = {SpriteFrame{{test::LayerPart(0)}}};
    d.frames = d.builtFrames;
    d.sizeX = 10, d.sizeY = 10;
    d.frameDuration = 100;
    gameData.spriteSets[0].usedValues = {0};
    // Where the sprite drawer puts this frame drawn at (0, 0) on the screen.
    DrawSprite(0, 0, instance, view, 0, 0, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 2, 0, 0, 1, 1,
               false);
    ASSERT_EQ(recorder.quads.size(), 1u);
    originX = recorder.quads[0].Left();
    originY = recorder.quads[0].Top();
    recorder.Clear();
    map = gameData.maps.Append();
  }
  void TearDown() override {
    gameState.paused = 0;
    SpriteTest::TearDown();
  }
  Map& Record() { return gameData.maps[map]; }
  BackgroundSprite& AddLayer(bool foreground = false) {
    BackgroundSprite layer;
    layer.spriteSet = 0;
    auto& list = foreground ? Record().backgroundSprites2 : Record().backgroundSprites1;
    list.push_back(layer);
    return list.back();
  }
  // Screen x and y of drawn copy q, as the position the layer asked for.
  float CopyX(std::size_t q) const { return recorder.quads[q].Left() - originX; }
  float CopyY(std::size_t q) const { return recorder.quads[q].Top() - originY; }

  float originX = 0, originY = 0;
  std::int32_t map = 0;
};

TEST_F(BackdropTest, GradientOnlyBehindAMapWithColours) {
  Record().backgroundColor1 = 0xFF102030;
  Record().backgroundColor2 = 0xFF405060;
  DrawMapBackdrop(map, kBackdropBackground, 5, 6, 200, 100, view);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const test::RecordedQuad& q = recorder.quads[0];
  EXPECT_FLOAT_EQ(q.Left(), 5);
  EXPECT_FLOAT_EQ(q.Top(), 6);
  EXPECT_FLOAT_EQ(q.Right(), 205);
  EXPECT_FLOAT_EQ(q.Bottom(), 106);
  EXPECT_EQ(q.Screen(test::kTopLeft).diffuse, 0xFF102030u);
  EXPECT_EQ(q.Screen(test::kTopRight).diffuse, 0xFF102030u);
  EXPECT_EQ(q.Screen(test::kBottomLeft).diffuse, 0xFF405060u);
  EXPECT_EQ(q.Screen(test::kBottomRight).diffuse, 0xFF405060u);
  ASSERT_EQ(recorder.Count(RecordedKind::kBind), 1u);
  EXPECT_EQ(recorder.events[0].kind, RecordedKind::kState);  // depth test goes off first
  // Depth test off for the call, on again at its end.
  const auto depth = recorder.Calls(test::DeviceCall::kRenderState, gfx::kRsZEnable);
  ASSERT_EQ(depth.size(), 2u);
  EXPECT_EQ(depth[0].value, 0u);
  EXPECT_EQ(depth[1].value, 1u);

  struct Case {
    const char* what;
    std::uint32_t top, bottom;
    bool interface;
    std::int32_t which;
  };
  for (const Case& c : {Case{"both opaque black", 0xFF000000, 0xFF000000, false, 0},
                        Case{"foreground call", 0xFF102030, 0xFF405060, false, 1},
                        Case{"interface", 0xFF102030, 0xFF405060, true, 0}}) {
    SCOPED_TRACE(c.what);
    recorder.Clear();
    Record().backgroundColor1 = c.top, Record().backgroundColor2 = c.bottom;
    Record().isInterface = c.interface;
    DrawMapBackdrop(map, c.which, 0, 0, 200, 100, view);
    EXPECT_TRUE(recorder.quads.empty());
  }
  // One black colour is still a gradient.
  recorder.Clear();
  Record().isInterface = false;
  Record().backgroundColor1 = 0xFF000000, Record().backgroundColor2 = 0xFF000001;
  DrawMapBackdrop(map, kBackdropBackground, 0, 0, 200, 100, view);
  EXPECT_EQ(recorder.quads.size(), 1u);
}

TEST(BackdropCopyPositionTest, RoundsHalvesToEvenAndWrapsIntoTheSpan) {
  struct Case {
    double half;
    std::int32_t index, frame;
    float speed;
    std::int32_t elapsed;
    float parallax, camera, extent;
    std::int32_t expected;
  };
  // Span: (Ceiling(extent / frame) + 2) x frame.
  const Case cases[] = {
      {100, 0, 10, 0.1f, 1000, 0.5f, 40, 200, 180},  // 100 + 100 - 20; span 220
      {100, 1, 10, 0, 0, 0, 0, 200, 110},
      {2.5, 0, 10, 0, 0, 0, 0, 200, 2},       // a half rounds to the even 2
      {3.5, 0, 10, 0, 0, 0, 0, 200, 4},       // and to the even 4
      {100, 0, 10, 0.1f, 2000, 0, 0, 200, 80},  // 300 wraps past 220
      {0, 0, 10, 0, 0, 1, 5, 200, 215},       // -5 wraps to the top of the span
      {0, 0, 10, 0, 0, 0, 0, 205, 0},         // Ceiling(20.5) + 2: span 230
      {0, 0, 10, 0, 0, -1, 229, 205, 229},
      {0, 0, 10, 0, 0, -1, 230, 205, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackdropCopyPosition(c.half, c.index, c.frame, c.speed, c.elapsed, c.parallax, c.camera, c.extent),
              c.expected)
        << c.half << " " << c.index << " " << c.elapsed << " " << c.camera;
  }
}

TEST_F(BackdropTest, LayerMovesByItsSpeedPerSecondOfUnpausedPlayAndWraps) {
  BackgroundSprite& layer = AddLayer();
  layer.speedX = 0.1f;
  renderHooks.TickMilliseconds = [] { return 0; };
  const float expected[] = {100, 200, 80, 180};  // span (20 + 2) x 10 = 220
  for (int frame = 0; frame < 4; ++frame) {
    recorder.Clear();
    DrawMapBackdrop(map, kBackdropBackground, 0, 0, 200, 100, view);
    ASSERT_EQ(recorder.quads.size(), 1u) << frame;  // not repeated: one copy, still wrapped
    EXPECT_FLOAT_EQ(CopyX(0), expected[frame] - 10) << frame;  // drawn at px - fw
    EXPECT_FLOAT_EQ(CopyY(0), 50 - 10) << frame;
    renderHooks.TickMilliseconds = [] { return 1000; };
  }
  EXPECT_EQ(layer.elapsed, 3000);

  // Paused: nothing advances.
  gameState.paused = 1;
  recorder.Clear();
  DrawMapBackdrop(map, kBackdropBackground, 0, 0, 200, 100, view);
  EXPECT_EQ(layer.elapsed, 3000);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_FLOAT_EQ(CopyX(0), 180 - 10);
}

TEST_F(BackdropTest, ParallaxFollowsTheCameraAndForegroundUsesItsOwnList) {
  BackgroundSprite& layer = AddLayer(true);
  layer.parallaxX = 0.5f, layer.parallaxY = 2.0f;
  renderHooks.CameraOffset = [] { return std::array<float, 2>{40, 10}; };
  DrawMapBackdrop(map, kBackdropBackground, 0, 0, 200, 100, view);
  EXPECT_TRUE(recorder.quads.empty());  // the background list is empty
  DrawMapBackdrop(map, kBackdropForeground, 0, 0, 200, 100, view);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_FLOAT_EQ(CopyX(0), 100 - 20 - 10);
  EXPECT_FLOAT_EQ(CopyY(0), 50 - 20 - 10);
}

TEST_F(BackdropTest, RepeatedLayerCoversTheViewAndFitMapUsesTheMapExtent) {
  BackgroundSprite& layer = AddLayer();
  layer.repeatX = 1, layer.repeatY = 1;
  DrawMapBackdrop(map, kBackdropBackground, 0, 0, 20, 10, view);
  // nx = Ceiling(20 / 10) + 1 = 3, ny = Ceiling(10 / 10) + 1 = 2: 4 x 3 copies, column by column.
  ASSERT_EQ(recorder.quads.size(), 12u);
  EXPECT_FLOAT_EQ(CopyX(0), 10 - 10);
  EXPECT_FLOAT_EQ(CopyY(0), 5 - 10);
  EXPECT_FLOAT_EQ(CopyY(1), 15 - 10);
  EXPECT_FLOAT_EQ(CopyX(3), 20 - 10);
  EXPECT_FLOAT_EQ(CopyX(9), 0 - 10);  // 40 wraps in the span of 40

  recorder.Clear();
  layer.repeatX = 0, layer.repeatY = 0, layer.fitMap = 1;
  Record().width = 9, Record().height = 4, Record().layerCount = 1;
  struct Case {
    std::int32_t screenView;
    float x, y;
  };
  // Half extents: (width + 1) x 16, or (height + 1) x 16 in view 2; (layers + 1) x 16 when the view is not 0.
  for (const Case& c : {Case{0, 160, 80}, Case{2, 80, 32}, Case{1, 160, 32}}) {
    recorder.Clear();
    view.screenView = c.screenView;
    DrawMapBackdrop(map, kBackdropBackground, 0, 0, 1000, 1000, view);
    ASSERT_EQ(recorder.quads.size(), 1u);
    EXPECT_FLOAT_EQ(CopyX(0), c.x - 10) << c.screenView;
    EXPECT_FLOAT_EQ(CopyY(0), c.y - 10) << c.screenView;
  }
}

TEST_F(BackdropTest, LayersArePlacedInAViewAwayFromTheScreenCorner) {
  // A view at (16, 200) of 200 x 100 pixels: a single layer is centred in it,
  // and a repeated one covers it down to its lower edge.
  BackgroundSprite& single = AddLayer();
  DrawMapBackdrop(map, kBackdropBackground, 16, 200, 200, 100, view);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_FLOAT_EQ(CopyX(0), 16 + 100 - 10);
  EXPECT_FLOAT_EQ(CopyY(0), 200 + 50 - 10);

  recorder.Clear();
  single.repeatX = 1, single.repeatY = 1;
  DrawMapBackdrop(map, kBackdropBackground, 16, 200, 200, 100, view);
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
  for (std::size_t q = 0; q < recorder.quads.size(); ++q) {
    left = std::min(left, CopyX(q)), right = std::max(right, CopyX(q) + 10);
    top = std::min(top, CopyY(q)), bottom = std::max(bottom, CopyY(q) + 10);
  }
  EXPECT_LE(left, 16);
  EXPECT_GE(right, 16 + 200);
  EXPECT_LE(top, 200);
  EXPECT_GE(bottom, 200 + 100);
}

TEST_F(BackdropTest, LayerWithoutSizeOrSetDrawsNothingButKeepsTime) {
  BackgroundSprite& none = AddLayer();
  none.spriteSet = -1;
  renderHooks.TickMilliseconds = [] { return 16; };
  DrawMapBackdrop(map, kBackdropBackground, 0, 0, 200, 100, view);
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_EQ(Record().backgroundSprites1[0].elapsed, 16);
  Record().backgroundSprites1[0].spriteSet = 0;
  Direction().sizeX = 0;
  DrawMapBackdrop(map, kBackdropBackground, 0, 0, 200, 100, view);
  EXPECT_TRUE(recorder.quads.empty());
}

class ProjectileTest : public BackdropTest {
 protected:
  Projectile& Add(float x, float y, float z) {
    Projectile p;
    p.spriteSet = 0;
    p.x = x, p.y = y, p.z = z;
    Record().projectiles.push_back(p);
    return Record().projectiles.back();
  }
};

TEST_F(ProjectileTest, InterfaceDrawsTheLayerCentredOnTheReferenceSize) {
  Record().isInterface = true;
  renderHooks.InterfaceReferenceSize = [] { return std::array<std::int32_t, 2>{800, 600}; };
  Add(100, 50, 1.4f);
  Add(300, 70, 2.0f);
  Add(120, 60, 0.6f);  // Int(0.6) = 1
  DrawProjectiles(map, 1, 10, 20, 641, 480, view, 0, {0, 0, 0, 0});
  ASSERT_EQ(recorder.quads.size(), 2u);
  // Floor((800 - 641) / 2) = 79, Floor((600 - 480) / 2) = 60.
  EXPECT_FLOAT_EQ(CopyX(0), 100 - 79 + 10);
  EXPECT_FLOAT_EQ(CopyY(0), 50 - 60 + 20);
  EXPECT_FLOAT_EQ(CopyX(1), 120 - 79 + 10);
  const auto depth = recorder.Calls(test::DeviceCall::kRenderState, gfx::kRsZEnable);
  ASSERT_EQ(depth.size(), 2u);
  EXPECT_EQ(depth[0].value, 0u);
  EXPECT_EQ(depth[1].value, 1u);
  EXPECT_TRUE(recorder.Calls(test::DeviceCall::kDepthLayer).empty());
}

TEST_F(ProjectileTest, MapCullsByScaledRadiusLightsAndRestoresStates) {
  renderHooks.SpriteSetRadius = [](std::int32_t) { return 10.0f; };
  renderHooks.LightColorAt = [](std::int32_t, float, float, float, std::uint32_t) { return 0xFF806040u; };
  // View rectangle 0..100 both ways; r = max(2, 1) x 10 = 20.
  struct Case {
    float x, y;
    bool drawn;
  };
  const Case cases[] = {{-19, 50, true},  {-20, 50, false}, {119, 50, true}, {120, 50, false},
                        {50, -19, true},  {50, -20, false}, {50, 119, true}, {50, 120, false}};
  for (const Case& c : cases) {
    Projectile& p = Add(c.x, c.y, 0);
    p.scaleX = 2, p.scaleY = 1;
  }
  DrawProjectiles(map, 0, 0, 0, 640, 480, view, 0, {0, 0, 100, 100});
  std::size_t drawn = 0;
  for (const Case& c : cases) drawn += c.drawn ? 1 : 0;
  ASSERT_EQ(recorder.quads.size(), drawn);
  EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).diffuse, 0xFF806040u);

  const auto layers = recorder.Calls(test::DeviceCall::kDepthLayer);
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[0].value, 2u);
  EXPECT_EQ(layers[1].value, 0u);
  const auto cull = recorder.Calls(test::DeviceCall::kRenderState, gfx::kRsCullMode);
  ASSERT_GE(cull.size(), 2u);
  EXPECT_EQ(cull.front().value, static_cast<std::uint32_t>(gfx::kCullNone));
  EXPECT_EQ(cull.back().value, static_cast<std::uint32_t>(gfx::kCullCcw));

  // Under shader lighting projectiles are white.
  recorder.Clear();
  renderHooks.ShaderLighting = [] { return true; };
  DrawProjectiles(map, 0, 0, 0, 640, 480, view, 0, {0, 0, 100, 100});
  ASSERT_FALSE(recorder.quads.empty());
  EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).diffuse, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kiv
