#include "data/sprite_frames.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/error.h"
#include "data/game_data.h"

namespace kiv {
namespace {

class SpriteFramesTest : public ::testing::Test {
 protected:
  void SetUp() override { setExtents.Reset(); }
  void TearDown() override { setExtents.Reset(); }
};

FramePart Part(std::int32_t id, std::int32_t keyBits, std::int32_t x) {
  FramePart p;
  p.id = id;
  p.keyBits = keyBits;
  p.kind = 2;  // a point
  p.x = x;
  p.color = 0xFF000000u;
  p.scaleX = p.scaleY = p.scaleZ = 1.0f;
  return p;
}

// A direction with frameCount stored frames; parts are (frame, part) pairs.
SpriteDirection Direction(std::size_t frameCount,
                          const std::vector<std::pair<std::size_t, FramePart>>& parts) {
  SpriteDirection d;
  d.frames.resize(frameCount);
  for (const auto& [frame, part] : parts) d.frames[frame].parts.push_back(part);
  return d;
}

SpriteLayer LayerWithGroup(std::int32_t width, std::int32_t height, bool withFrame = true) {
  SpriteLayer layer;
  FrameGroup group;
  group.cellWidth = width;
  group.cellHeight = height;
  if (withFrame) group.frames.resize(1);
  layer.frames.frameGroups.push_back(group);
  layer.frameEntries.resize(1);
  return layer;
}

std::int32_t BuiltX(const SpriteDirection& d, std::size_t frame) { return d.builtFrames[frame].parts[0].x; }

TEST_F(SpriteFramesTest, PositionsRunBetweenKeyFramesAndHoldAfterTheLast) {
  struct Case {
    const char* name;
    std::size_t frames;
    std::vector<std::pair<std::size_t, FramePart>> parts;
    std::vector<std::int32_t> builtX;
  };
  const Case cases[] = {
      {"two key frames", 2, {{0, Part(7, 1, 0)}, {1, Part(7, 1, 10)}}, {0, 10}},
      {"one frame between", 3, {{0, Part(7, 1, 0)}, {2, Part(7, 1, 10)}}, {0, 5, 10}},
      {"halves to even", 5, {{0, Part(7, 1, 0)}, {4, Part(7, 1, 2)}}, {0, 0, 1, 2, 2}},
      {"held after the last key", 4, {{0, Part(7, 1, 3)}}, {3, 3, 3, 3}},
      {"held after a later key", 4, {{0, Part(7, 1, 0)}, {1, Part(7, 1, 8)}}, {0, 8, 8, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpriteDirection d = Direction(c.frames, c.parts);
    BuildSpriteDirection(d);
    ASSERT_EQ(d.builtFrames.size(), c.frames);
    for (std::size_t f = 0; f < c.frames; ++f) {
      ASSERT_EQ(d.builtFrames[f].parts.size(), 1u);
      EXPECT_EQ(BuiltX(d, f), c.builtX[f]) << "frame " << f;
    }
  }
}

TEST_F(SpriteFramesTest, APartIsInvisibleBeforeItsFirstFrameAndEveryFrameHasEveryPart) {
  FramePart late = Part(3, 15, 4);
  late.color = 0xFF112233u;
  SpriteDirection d = Direction(4, {{0, Part(1, 15, 0)}, {2, late}});
  BuildSpriteDirection(d);
  for (std::size_t f = 0; f < 4; ++f) {
    ASSERT_EQ(d.builtFrames[f].parts.size(), 2u);
    EXPECT_EQ(d.builtFrames[f].parts[0].id, 1);
    EXPECT_EQ(d.builtFrames[f].parts[1].id, 3);
  }
  EXPECT_EQ(d.builtFrames[0].parts[1].color, 0u);
  EXPECT_EQ(d.builtFrames[1].parts[1].color, 0u);
  EXPECT_EQ(d.builtFrames[2].parts[1].color, 0xFF112233u);
  EXPECT_EQ(d.builtFrames[3].parts[1].color, 0xFF112233u);
}

TEST_F(SpriteFramesTest, ColourScaleAndRotationAreInterpolated) {
  FramePart a = Part(1, 15, 0);
  a.color = 0xFF000000u;
  a.scaleX = 1.0f;
  FramePart b = Part(1, 15, 0);
  b.color = 0xFF0000FEu;
  b.scaleX = 3.0f;
  b.rotation = Quaternion{0.0f, 0.0f, 1.0f, 0.0f};  // half a turn about z
  SpriteDirection d = Direction(3, {{0, a}, {2, b}});
  BuildSpriteDirection(d);
  const FramePart& mid = d.builtFrames[1].parts[0];
  EXPECT_EQ(mid.color, 0xFF00007Fu);
  EXPECT_FLOAT_EQ(mid.scaleX, 2.0f);
  EXPECT_NEAR(mid.rotation.z, std::sqrt(0.5f), 1e-6f);
  EXPECT_NEAR(mid.rotation.w, std::sqrt(0.5f), 1e-6f);
}

TEST_F(SpriteFramesTest, PropertiesTheFirstOccurrenceDoesNotSetKeepTheCopy) {
  FramePart first = Part(1, kKeyPosition, 0);
  first.color = 0xFF0000FFu;  // not keyed in frame 0
  FramePart second = Part(1, kKeyPosition | kKeyColor, 6);
  second.color = 0xFFFF0000u;
  SpriteDirection d = Direction(4, {{0, first}, {2, second}});
  BuildSpriteDirection(d);
  EXPECT_EQ(d.builtFrames[1].parts[0].color, 0xFF0000FFu);
  EXPECT_EQ(d.builtFrames[1].parts[0].x, 3);
  // The key frame shows the colour it sets, and the frames after it keep it.
  EXPECT_EQ(d.builtFrames[2].parts[0].color, 0xFFFF0000u);
  EXPECT_EQ(d.builtFrames[3].parts[0].color, 0xFFFF0000u);
  EXPECT_EQ(d.builtFrames[3].parts[0].x, 6);
}

TEST_F(SpriteFramesTest, BoundsSizeAndRadius) {
  struct Case {
    const char* name;
    std::int32_t x, width, height;
    std::int32_t minX, maxX, minY, maxY;
  };
  const Case cases[] = {
      {"centred 32 x 48", 0, 32, 48, -16, 16, -24, 24},
      {"floor for min, even rounding for max", 1, 3, 2, -1, 2, -1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpriteDirection d;
    d.layers.push_back(LayerWithGroup(c.width, c.height));
    FramePart p = Part(1, 15, c.x);
    p.kind = kPartLayer;
    d.frames.resize(1);
    d.frames[0].parts.push_back(p);
    BuildSpriteDirection(d);
    EXPECT_EQ(d.minX, c.minX);
    EXPECT_EQ(d.maxX, c.maxX);
    EXPECT_EQ(d.minY, c.minY);
    EXPECT_EQ(d.maxY, c.maxY);
    EXPECT_EQ(d.minZ, c.minY);
    EXPECT_EQ(d.maxZ, c.maxY);
    EXPECT_EQ(d.sizeX, c.maxX - c.minX);
    EXPECT_EQ(d.sizeY, c.maxY - c.minY);
  }
  SpriteDirection d;
  d.layers.push_back(LayerWithGroup(32, 48));
  FramePart p = Part(1, 15, 0);
  p.kind = kPartLayer;
  d.frames.resize(1);
  d.frames[0].parts.push_back(p);
  BuildSpriteDirection(d);
  EXPECT_FLOAT_EQ(d.radius, std::sqrt(16.0f * 16.0f + 24.0f * 24.0f));
  EXPECT_EQ(setExtents.maxSpriteWidth, 32);
  EXPECT_EQ(setExtents.maxSpriteHeight, 48);
}

TEST_F(SpriteFramesTest, TheRadiusReachesTheFartherSide) {
  // A sprite drawn left of and above its origin.
  SpriteDirection d;
  FramePart p = Part(1, 15, -30);
  p.y = -40;
  FramePart q = Part(2, 15, -10);
  q.y = -20;
  d.frames.resize(1);
  d.frames[0].parts = {p, q};
  BuildSpriteDirection(d);
  EXPECT_EQ(d.minX, -30);
  EXPECT_EQ(d.maxX, -10);
  EXPECT_FLOAT_EQ(d.radius, 50.0f);
}

TEST_F(SpriteFramesTest, PartsInEmptyGroupsLeaveTheBoundsZero) {
  SpriteDirection d;
  d.layers.push_back(LayerWithGroup(32, 32, false));
  FramePart p = Part(1, 15, 100);
  p.kind = kPartLayer;
  d.frames.resize(2);
  d.frames[0].parts.push_back(p);
  BuildSpriteDirection(d);
  EXPECT_EQ(d.minX, 0);
  EXPECT_EQ(d.maxX, 0);
  EXPECT_EQ(d.sizeX, 0);
  EXPECT_EQ(d.sizeY, 0);
  EXPECT_FLOAT_EQ(d.radius, 0.0f);
}

TEST_F(SpriteFramesTest, ADirectionWithoutFramesIsDrawnFromItsFirstLayer) {
  SpriteDirection d;
  d.layers.push_back(LayerWithGroup(40, 40));
  d.layers[0].frameEntries[0].value = 70;
  d.layers[0].scripts[3].hasStatements = true;
  BuildSpriteDirection(d);
  EXPECT_EQ(d.minX, -20);
  EXPECT_EQ(d.maxX, 20);
  EXPECT_EQ(d.sizeX, 40);
  EXPECT_EQ(d.sizeY, 40);
  ASSERT_EQ(d.builtFrames.size(), 1u);
  ASSERT_EQ(d.builtFrames[0].parts.size(), 1u);
  const FramePart& part = d.builtFrames[0].parts[0];
  EXPECT_EQ(part.keyBits, -1);
  EXPECT_EQ(part.color, 0xFFFFFFFFu);
  EXPECT_EQ(part.kind, kPartLayer);
  EXPECT_FLOAT_EQ(part.scaleY, 1.0f);
  EXPECT_EQ(part.rotation, Quaternion());
  EXPECT_EQ(part.scripted, 1);
  EXPECT_EQ(d.layers[0].entryTotal, 70);

  SpriteDirection empty;
  BuildSpriteDirection(empty);
  EXPECT_TRUE(empty.builtFrames.empty());
  EXPECT_EQ(empty.sizeX, 0);
}

TEST_F(SpriteFramesTest, SlotPartsMarkTheirEntryAndAnEntryAboveThreeIsRefused) {
  FramePart slot = Part(1, 15, 0);
  slot.kind = kPartSlot;
  slot.index = 2;
  SpriteDirection d = Direction(1, {{0, slot}});
  BuildSpriteDirection(d);
  EXPECT_TRUE(d.slots[2].used);
  EXPECT_FALSE(d.slots[0].used);

  slot.index = 4;
  SpriteDirection bad = Direction(1, {{0, slot}});
  try {
    BuildSpriteDirection(bad);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrIndex);
  }
}

TEST_F(SpriteFramesTest, ALayerPartOfAMissingLayerAddsNoBounds) {
  FramePart p = Part(1, 15, 5);
  p.kind = kPartLayer;
  p.index = 3;
  SpriteDirection d = Direction(1, {{0, p}});
  BuildSpriteDirection(d);
  EXPECT_EQ(d.sizeX, 0);
  EXPECT_EQ(d.builtFrames[0].parts.size(), 1u);
}

}  // namespace
}  // namespace kiv
