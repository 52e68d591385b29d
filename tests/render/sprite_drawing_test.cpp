// Sprite drawing, recorded through the batcher and device seams.
#include "render/sprite_drawing.h"

#include <cmath>

#include "data/sprite_instance.h"
#include "platform/gfx/d3dx.h"
#include "mathkiv/colors.h"
#include "render/sprite_fixture.h"

namespace kiv {
namespace {

using test::DeviceCall;
using test::LayerPart;
using test::RecordedKind;
using test::SlotPart;

class SpriteDrawingTest : public test::SpriteTest {};

TEST_F(SpriteDrawingTest, FramesAreChosenAndBlendedByTime) {
  struct Case {
    std::uint8_t playMode;
    std::vector<std::int32_t> xs;
    std::int32_t time;
    float x;  // drawn offset
  };
  const Case cases[] = {
      {0, {0, 10, 30}, 0, 0},      {0, {0, 10, 30}, 50, 5},     {0, {0, 10, 30}, 150, 20},
      {0, {0, 10, 30}, 250, 15},   // the last frame blends towards frame 0 in a loop
      {0, {0, 10, 30}, 300, 0},    {1, {0, 10, 30}, 250, 30},   // play once holds the last frame
      {1, {0, 10, 30}, 1000, 30},  {0, {0, 5}, 50, 2},          // 2.5 rounds to even
      {0, {0, 5}, 30, 2},          // 1.5 rounds to even
      {0, {7}, 50, 7},             // one frame: unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.playMode} << " " << c.time << " " << c.xs.size());
    gameData.Reset();
    SpriteDirection& d = Direction();
    d.layers = {test::MakeLayer()};
    d.frameDuration = 100;
    d.byteO = c.playMode;
    std::vector<FramePart> parts;
    for (std::int32_t x : c.xs) parts.push_back(LayerPart(0, x));
    FramesOf(d, parts);
    recorder.Clear();
    Part(c.time);
    ASSERT_EQ(recorder.quads.size(), 1u);
    EXPECT_FLOAT_EQ(Centre(0).first, 100 + c.x);
  }
}

TEST_F(SpriteDrawingTest, OurChoicesForOddDirections) {
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer()};
  FramesOf(d, {LayerPart(0, 0), LayerPart(0, 40)});
  // A frame duration of 0 shows frame 0 unblended.
  d.frameDuration = 0;
  Part(150);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_FLOAT_EQ(Centre(0).first, 100);
  // Play modes other than 0 and 1 draw nothing and report no holding point.
  d.frameDuration = 100;
  d.byteO = 2;
  d.builtFrames[0].parts.push_back(SlotPart(0));
  recorder.Clear();
  EXPECT_EQ(Part(0), 0);
  EXPECT_TRUE(recorder.quads.empty());
  // No frames: nothing.
  d.byteO = 0;
  d.builtFrames.clear();
  EXPECT_EQ(Part(0), 0);
  EXPECT_TRUE(recorder.quads.empty());
}

TEST_F(SpriteDrawingTest, HoldingPointsAreMeasuredWithoutQuadsAndNeverBlended) {
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer()};
  d.frameDuration = 100;
  d.builtFrames = {SpriteFrame{{LayerPart(0), SlotPart(1, 10, 4), SlotPart(3, 2, 2), SlotPart(7, 1, 1)}},
                   SpriteFrame{{LayerPart(0), SlotPart(1, 20, 8), SlotPart(3, 4, 4), SlotPart(7, 1, 1)}}};
  EXPECT_EQ(Part(50, kDrawMeasure), 0b1010);  // slot 7 does not exist: skipped
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_EQ(spriteHoldingPoints[1].x, 10);  // frame 0's value at t = 0.5
  EXPECT_EQ(spriteHoldingPoints[1].y, 4);
  // Drawing stores them too and returns the same mask.
  spriteHoldingPoints = {};
  EXPECT_EQ(Part(150), 0b1010);
  EXPECT_EQ(spriteHoldingPoints[1].x, 20);
  EXPECT_EQ(recorder.quads.size(), 1u);
}

TEST_F(SpriteDrawingTest, OffsetsTurnByRollAndMirror) {
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer()};
  FramesOf(d, {SlotPart(0, 10, 3)});
  struct Case {
    float roll;
    bool mirrorX;
    std::int32_t x, y;
  };
  const float half = 1.5707964f;
  const Case cases[] = {{0, false, 10, 3}, {half, false, -3, 10}, {0, true, -10, 3}, {half, true, 3, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.roll << " " << c.mirrorX);
    Part(0, kDrawMeasure, c.mirrorX, c.roll);
    EXPECT_EQ(spriteHoldingPoints[0].x, c.x);
    EXPECT_EQ(spriteHoldingPoints[0].y, c.y);
  }
  // mirrorX negates the rotation's y and z.
  d.builtFrames[0].parts[0].rotation = {0.1f, 0.2f, 0.3f, 0.927362f};
  Part(0, kDrawMeasure, true);
  EXPECT_FLOAT_EQ(spriteHoldingPoints[0].rotation.x, 0.1f);
  EXPECT_FLOAT_EQ(spriteHoldingPoints[0].rotation.y, -0.2f);
  EXPECT_FLOAT_EQ(spriteHoldingPoints[0].rotation.z, -0.3f);
}

TEST_F(SpriteDrawingTest, MirrorMaskDrawsThePartnerMirrored) {
  SpritePose& pose = (Direction(), Pose());
  pose.directions[0].layers = {test::MakeLayer()};
  FramesOf(pose.directions[0], {SlotPart(0, 99, 0)});
  FramesOf(pose.directions[4], {SlotPart(0, 10, 0)});
  pose.mirrorMask = 1 << 0;
  Part(0, kDrawMeasure, false, 0, 0, -1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, true, 0);
  EXPECT_EQ(spriteHoldingPoints[0].x, -10);  // direction 4's part, mirrored
  // A mirror bit on direction 2, which has no partner, is ignored.
  FramesOf(pose.directions[2], {SlotPart(0, 5, 0)});
  pose.mirrorMask = 1 << 2;
  Part(0, kDrawMeasure, false, 0, 0, -1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, true, 2);
  EXPECT_EQ(spriteHoldingPoints[0].x, 5);
}

TEST_F(SpriteDrawingTest, PassesRunOverGroupsAndOrders) {
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer(kLayerUncoloured, 0, 2), test::MakeLayer(0, 0, 1), test::MakeLayer(0, 5, 1)};
  d.builtFrames = {SpriteFrame{{LayerPart(0, 1), LayerPart(1, 2), LayerPart(2, 3)}}};
  SpriteSet& set = gameData.spriteSets[0];
  set.usedValues = {0, 5};
  set.largestLayerValue = 2;
  DrawSprite(0, 0, instance, view, 100, 200, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 1, 1,
             true);
  ASSERT_EQ(recorder.quads.size(), 3u);
  // group 0: order 0 draws the 0x10 layer, order 1 layer 1; group 5: layer 2.
  EXPECT_FLOAT_EQ(Centre(0).first, 101);
  EXPECT_FLOAT_EQ(Centre(1).first, 102);
  EXPECT_FLOAT_EQ(Centre(2).first, 103);
  recorder.Clear();
  set.usedValues.clear();
  DrawSprite(0, 0, instance, view, 100, 200, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 1, 1,
             true);
  EXPECT_TRUE(recorder.quads.empty());
}

TEST_F(SpriteDrawingTest, LayerFlagsChangeStatesOnlyOutsideThePickPass) {
  struct Case {
    std::int32_t flags;
    DeviceCall call;
    std::uint32_t state, during, after;
  };
  const Case cases[] = {
      {kLayerAdditive, DeviceCall::kRenderState, gfx::kRsDestBlend, gfx::kBlendOne, gfx::kBlendInvSrcAlpha},
      {kLayerSmooth, DeviceCall::kTextureStageState, gfx::kTssMinFilter, gfx::kTexfLinear, gfx::kTexfPoint},
      {kLayerTwoSided, DeviceCall::kRenderState, gfx::kRsCullMode, gfx::kCullNone, gfx::kCullCcw},
  };
  for (const Case& c : cases) {
    for (int pick : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.flags << " pick " << pick);
      renderHooks.PickPassMode = [pick] { return pick; };
      SpriteDirection& d = Direction();
      d.layers = {test::MakeLayer(c.flags)};
      FramesOf(d, {LayerPart(0)});
      recorder.Clear();
      Part(0);
      const auto calls = recorder.Calls(c.call, c.state);
      if (pick != 0) {
        EXPECT_TRUE(calls.empty());
        continue;
      }
      ASSERT_EQ(calls.size(), 2u);
      EXPECT_EQ(calls[0].value, c.during);
      EXPECT_EQ(calls[1].value, c.after);
    }
  }
}

TEST_F(SpriteDrawingTest, ScreenOverlaySwitchesFormatAndFog) {
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer(kLayerScreenOverlay | kLayerUnlit)};
  FramesOf(d, {LayerPart(0)});
  view.viewport = {0, 0, 640, 480, 0, 1};
  view.projection = gfx::MatrixOrthoOffCenterLH(0, 640, 480, 0, 0, 1);
  Part(0);
  const auto fog = recorder.Calls(DeviceCall::kRenderState, gfx::kRsFogEnable);
  ASSERT_EQ(fog.size(), 2u);
  EXPECT_EQ(fog[0].value, 0u);
  EXPECT_EQ(fog[1].value, 1u);
  const auto shaders = recorder.Calls(DeviceCall::kVertexShader);
  ASSERT_EQ(shaders.size(), 2u);
  EXPECT_EQ(shaders[0].value, kScreenVertexFormat);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].stride, sizeof(ScreenVertex));
  // In screen mode (2) the fog stays as it is.
  recorder.Clear();
  Part(0, 0, false, 0, 2);
  EXPECT_TRUE(recorder.Calls(DeviceCall::kRenderState, gfx::kRsFogEnable).empty());
}

TEST_F(SpriteDrawingTest, CameraFacingLayersSquashInTheSlantedView) {
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer(kLayerFacesCamera)};
  FramesOf(d, {LayerPart(0)});
  struct Case {
    std::int32_t screenView;
    float height;
  };
  for (const Case c : {Case{0, 7.5f}, Case{2, 10.0f}}) {
    SCOPED_TRACE(c.screenView);
    view.screenView = c.screenView;
    recorder.Clear();
    Part(0);
    ASSERT_EQ(recorder.quads.size(), 1u);
    const ColoredVertex top = recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft);
    const ColoredVertex bottom = recorder.quads[0].Vertex<ColoredVertex>(test::kBottomLeft);
    EXPECT_FLOAT_EQ(std::fabs(top.y - bottom.y), c.height);
  }
}

TEST_F(SpriteDrawingTest, ColourRuleByLayerKindAndDrawMode) {
  const std::uint32_t colour = 0xFF808080, light = 0xFF4080FF, colour2 = 0x80FFFFFF;
  struct Case {
    std::int32_t flags, drawMode;
    std::uint32_t base;
  };
  const Case cases[] = {
      {0, 0, ColorModulate(colour, light)},
      {0, 1, colour},
      {kLayerUnlit, 0, colour},
      {kLayerUnlit | kLayerUncoloured, 0, 0xFFFFFFFF},
      {kLayerUncoloured, 0, light},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.flags << " " << c.drawMode);
    SpriteDirection& d = Direction();
    d.layers = {test::MakeLayer(c.flags)};
    FramePart part = LayerPart(0);
    part.color = 0xFFFF0000;
    FramesOf(d, {part});
    recorder.Clear();
    Part(0, 0, false, 0, c.drawMode, c.flags & kLayerUncoloured ? 0 : -1, colour, colour2, light);
    ASSERT_EQ(recorder.quads.size(), 1u);
    const std::uint32_t want = ColorModulate(ColorModulate(c.base, colour2), 0xFFFF0000);
    EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).diffuse, want);
  }
}

TEST_F(SpriteDrawingTest, TextureFramesWalkTheFrameTimes) {
  SpriteDirection& d = Direction();
  SpriteLayer layer = test::MakeLayer();
  layer.frames.frameGroups.push_back(layer.frames.frameGroups[0]);
  layer.frames.frameGroups.push_back(layer.frames.frameGroups[0]);
  for (std::size_t i = 0; i < 3; ++i) {
    layer.frames.frameGroups[i].frames[0].textureLeft = static_cast<float>(i) / 4;
    layer.frames.frameGroups[i].frames[0].textureRight = static_cast<float>(i + 1) / 4;
  }
  layer.frameEntries = {{100, 0}, {50, 0}, {200, 0}};
  layer.entryTotal = 350;
  d.layers = {layer};
  d.frameDuration = 10000;
  FramesOf(d, {LayerPart(0), LayerPart(0)});
  struct Case {
    std::uint8_t playMode;
    std::int32_t time;
    int frame;
  };
  const Case cases[] = {{0, 0, 0}, {0, 99, 0}, {0, 100, 1}, {0, 149, 1}, {0, 150, 2}, {0, 360, 0},
                        {1, 360, 2}, {1, 5000, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.playMode} << " " << c.time);
    d.byteO = c.playMode;
    recorder.Clear();
    Part(c.time);
    ASSERT_EQ(recorder.quads.size(), 1u);
    float u = 1;
    for (auto corner : {test::kBottomLeft, test::kTopLeft, test::kBottomRight, test::kTopRight})
      u = std::min(u, recorder.quads[0].Vertex<ColoredVertex>(corner).tu);
    EXPECT_FLOAT_EQ(u, static_cast<float>(c.frame) / 4);
  }
  // With no animation length only the first frame shows.
  d.layers[0].entryTotal = 0;
  recorder.Clear();
  Part(150);
  EXPECT_FLOAT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).tu, 0);
}

TEST_F(SpriteDrawingTest, TilingRepeatsAndCutsTheLastCopy) {
  struct Case {
    std::int32_t flags;
    float scaleX, scaleZ;
    std::size_t copies;
  };
  const Case cases[] = {
      {kLayerTileX, 2.5f, 1, 3},
      {kLayerTileX, 2.0f, 1, 2},
      {kLayerTileX, 0.0f, 1, 0},  // a count of 0 draws nothing (and ends)
      {kLayerTileZ, 1.0f, 0.0f, 0},
      {kLayerTileZ, 1.0f, 3.0f, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.flags << " " << c.scaleX << " " << c.scaleZ);
    SpriteDirection& d = Direction();
    d.layers = {test::MakeLayer(c.flags)};
    FramesOf(d, {LayerPart(0)});
    recorder.Clear();
    DrawSpritePart(Pose(), kAllSpriteGroups, -1, 4, 0, instance, view, 0, 0, 0, c.scaleX, 1, c.scaleZ, false, false,
                   0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 0, 0, 1, 1, true, 0, -1, -1);
    ASSERT_EQ(recorder.quads.size(), c.copies);
    if (c.flags == kLayerTileX && c.scaleX == 2.5f) {
      // The third copy is half as wide and shows half the texture.
      const ColoredVertex tl = recorder.quads[2].Vertex<ColoredVertex>(test::kTopLeft);
      const ColoredVertex tr = recorder.quads[2].Vertex<ColoredVertex>(test::kTopRight);
      EXPECT_FLOAT_EQ(tr.x - tl.x, 5);
      EXPECT_FLOAT_EQ(tr.tu - tl.tu, 0.5f);
      // Copies step by the frame width from the left end of the row.
      EXPECT_FLOAT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).x, -12.5f);
      EXPECT_FLOAT_EQ(recorder.quads[1].Vertex<ColoredVertex>(test::kTopLeft).x, -2.5f);
      // Placed at 7.5; the batcher spans an odd width 5 as -2 .. +3 about the centre 10.5.
      EXPECT_FLOAT_EQ(tl.x, 8.5f);
    }
  }
}

TEST_F(SpriteDrawingTest, InitParticleDrawsItsValuesInOrder) {
  SpriteLayer layer;
  layer.particleLifeMin = 100;
  layer.particleLifeMax = 200;
  layer.particleRangesP = {1, 2, 0.5f, 1};
  layer.particleRangesQ = {0, 1, -1, 1};
  layer.particleRangesS = {1, 2, 3, 4, 5, 6, 0, 1, 0, 1, 0, 1};
  layer.startColorA = 0xFF000000;
  layer.startColorB = 0xFFFFFFFF;
  layer.endColorA = 0x00000000;
  layer.endColorB = 0x00FF0000;
  layer.spreadR = {0, 10, 0, 20, 0, 0};  // x and y: a ring
  RandomSeed(1234);
  double r[20];
  for (double& v : r) v = RandomNext();
  RandomSeed(1234);
  Particle p;
  InitParticle(p, layer);
  auto pick = [](double rnd, float min, float max) { return min + (max - min) * static_cast<float>(rnd); };
  EXPECT_EQ(p.life, static_cast<std::int32_t>(std::floor(r[0] * 101 + 100)));
  EXPECT_EQ(p.remaining, p.life);
  EXPECT_FLOAT_EQ(p.sizeStart, pick(r[1], 1, 2));
  EXPECT_FLOAT_EQ(p.sizeEnd, p.sizeStart + pick(r[2], 0.5f, 1));
  EXPECT_FLOAT_EQ(p.angleStart, pick(r[3], 0, 1));
  EXPECT_FLOAT_EQ(p.angleEnd, p.angleStart + pick(r[4], -1, 1));
  EXPECT_FLOAT_EQ(p.velocityStartX, pick(r[5], 1, 2));
  EXPECT_FLOAT_EQ(p.velocityStartY, pick(r[6], 3, 4));
  EXPECT_FLOAT_EQ(p.velocityStartZ, pick(r[7], 5, 6));
  EXPECT_FLOAT_EQ(p.velocityEndX, p.velocityStartX + pick(r[8], 0, 1));
  EXPECT_FLOAT_EQ(p.velocityEndZ, p.velocityStartZ + pick(r[10], 0, 1));
  EXPECT_EQ(p.colourStart, ColorLerp(0xFF000000, 0xFFFFFFFF, static_cast<float>(r[11])));
  EXPECT_EQ(p.colourEnd, ColorLerp(0x00000000, 0x00FF0000, static_cast<float>(r[12])));
  const float angle = static_cast<float>(r[13]) * 6.2831855f;
  EXPECT_FLOAT_EQ(p.x, pick(r[14], 0, 10) * std::cos(angle));
  EXPECT_FLOAT_EQ(p.y, pick(r[15], 0, 20) * std::sin(angle));
  EXPECT_FLOAT_EQ(p.z, 0);
  // Every whole-number pick stays within its range.
  for (int i = 0; i < 200; ++i) {
    const std::int32_t v = RandomWhole(3, 5);
    EXPECT_GE(v, 3);
    EXPECT_LE(v, 5);
  }
}

TEST_F(SpriteDrawingTest, ALimitedEmitterEmitsOnePerCallAndReusesDeadSlots) {
  renderHooks.TickMilliseconds = [] { return 10; };
  SpriteDirection& d = Direction();
  SpriteLayer layer = test::MakeLayer(kLayerParticles);
  layer.emissionLimitMin = layer.emissionLimitMax = 3;
  layer.particleLifeMin = layer.particleLifeMax = 25;
  layer.emissionIntervalMin = layer.emissionIntervalMax = 5;
  layer.particleRangesP = {1, 1, 0, 0};
  d.layers = {layer};
  FramesOf(d, {LayerPart(0)});
  PartState* emitter = nullptr;
  std::vector<std::size_t> sizes;
  std::vector<std::int32_t> emitted;
  for (int call = 0; call < 6; ++call) {
    Part(0);
    emitter = &instance.partStates.at(0);
    sizes.push_back(emitter->particles.size());
    emitted.push_back(emitter->emitted);
  }
  // Lives of 25 ms at 10 ms a call: the first particle dies on the fourth call,
  // which reuses nothing yet because the limit of three is reached on the third.
  EXPECT_EQ(emitted, (std::vector<std::int32_t>{1, 2, 3, 3, 3, 3}));
  EXPECT_EQ(sizes, (std::vector<std::size_t>{1, 2, 3, 3, 3, 3}));
  EXPECT_EQ(emitter->emissionLimit, 3);
  // No advance: nothing ages, moves or emits.
  const std::vector<Particle> before = emitter->particles;
  const std::int32_t countdown = emitter->emitCountdown;
  Part(0, 0, false, 0, 0, -1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, false);
  EXPECT_EQ(emitter->emitCountdown, countdown);
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(emitter->particles[i].remaining, before[i].remaining);
  // Nor in the pick pass.
  renderHooks.PickPassMode = [] { return 1; };
  Part(0);
  EXPECT_EQ(emitter->emitCountdown, countdown);
}

TEST_F(SpriteDrawingTest, AnUnlimitedEmitterReusesTheLastDeadSlot) {
  renderHooks.TickMilliseconds = [] { return 10; };
  SpriteDirection& d = Direction();
  SpriteLayer layer = test::MakeLayer(kLayerParticles);
  layer.particleLifeMin = layer.particleLifeMax = 25;
  layer.emissionIntervalMin = layer.emissionIntervalMax = 5;
  d.layers = {layer};
  FramesOf(d, {LayerPart(0)});
  for (int call = 0; call < 8; ++call) Part(0);
  const PartState& emitter = instance.partStates.at(0);
  EXPECT_EQ(emitter.emissionLimit, -1);
  EXPECT_EQ(emitter.emitted, 8);
  // Each particle lives three calls: three slots are enough.
  EXPECT_EQ(emitter.particles.size(), 3u);
  // Depth writes are off while particles draw.
  const auto writes = recorder.Calls(DeviceCall::kRenderState, gfx::kRsZWriteEnable);
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[0].value, 0u);
  EXPECT_EQ(writes[1].value, 1u);
}

TEST_F(SpriteDrawingTest, EmittersGrowForPartsBeyondTheStartingDirection) {
  renderHooks.TickMilliseconds = [] { return 10; };
  // Pose 0 has one part; the attack pose has its particle layer as part 2.
  SpriteDirection& d = Direction();
  d.layers = {test::MakeLayer()};
  FramesOf(d, {LayerPart(0)});
  gameData.spriteSets[0].poses.emplace_back();
  SpriteDirection& attack = gameData.spriteSets[0].poses[1].directions[4];
  SpriteLayer particles = test::MakeLayer(kLayerParticles);
  particles.emissionLimitMin = particles.emissionLimitMax = 2;
  particles.particleLifeMin = particles.particleLifeMax = 100;
  attack.layers = {test::MakeLayer(), particles};
  attack.builtFrames = {SpriteFrame{{LayerPart(0), LayerPart(0), LayerPart(1)}}};
  SetObjectSprite(instance, 0);
  ASSERT_EQ(instance.partStates.size(), 1u);
  DrawSpritePart(gameData.spriteSets[0].poses[1], kAllSpriteGroups, -1, 4, 0, instance, view, 0, 0, 0, 1, 1, 1,
                 false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 0, 0, 1, 1, true, 0, -1, -1);
  ASSERT_EQ(instance.partStates.size(), 3u);
  EXPECT_EQ(instance.partStates[2].emitted, 1);
}

}  // namespace
}  // namespace kiv
