#include "data/sprite_instance.h"

#include <gtest/gtest.h>

#include <set>

#include "core/error.h"
#include "core/random.h"
#include "data/game_data.h"

namespace kiv {
namespace {

class SpriteInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    RandomSeed(12345);
  }
  void TearDown() override { gameData.Reset(); }
};

SpritePose PoseWithLayersIn(std::initializer_list<int> directions) {
  SpritePose pose;
  for (int d : directions) pose.directions[static_cast<std::size_t>(d)].layers.resize(1);
  return pose;
}

TEST_F(SpriteInstanceTest, MirrorMasks) {
  struct Case {
    const char* name;
    std::initializer_list<int> withLayers;
    std::int32_t mask;
  };
  const Case cases[] = {
      {"right side drawn mirrored", {0, 1, 2, 6, 7}, 0x38},
      {"only 4 has a partner with layers", {0, 1, 2, 3}, 0x10},
      {"every direction drawn", {0, 1, 2, 3, 4, 5, 6, 7}, 0},
      {"nothing drawn", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpritePose pose = PoseWithLayersIn(c.withLayers);
    pose.mirrorMask = 0x7777;
    MarkMirroredDirections(pose);
    EXPECT_EQ(pose.mirrorMask, c.mask);
  }
}

TEST_F(SpriteInstanceTest, SummaryCollectsDistinctSlotsAndTheLargestCountedLayerValue) {
  SpriteSet set;
  set.poses.resize(2);
  SpriteLayer slot2;
  slot2.slot = 2;
  slot2.value = 30;
  SpriteLayer unnumbered;
  unnumbered.slot = -1;
  unnumbered.value = 40;
  SpriteLayer uncounted;
  uncounted.slot = 2;
  uncounted.flags = 0x10;
  uncounted.value = 500;
  set.poses[0].directions[0].layers = {slot2, slot2};
  set.poses[0].directions[3].layers = {unnumbered};
  set.poses[1].directions[7].layers = {uncounted};
  set.poses[1].directions[7].slots[1] = {9, true};
  set.poses[1].directions[7].slots[2] = {11, false};  // not used by a part
  set.slot = 2;
  SummarizeSpriteSet(set);
  EXPECT_EQ(set.usedValues, (std::vector<std::int32_t>{2, -1, 9}));
  EXPECT_EQ(set.largestLayerValue, 40);

  SpriteSet only;
  only.poses.resize(1);
  only.poses[0].directions[5].layers = {slot2};
  only.slot = 2;
  SummarizeSpriteSet(only);
  EXPECT_EQ(only.usedValues, (std::vector<std::int32_t>{2}));
}

// A sprite set whose first pose shows in direction 4 one layer part of the
// given emission limits, and one point part.
SpriteSet EmitterSet(std::int32_t low, std::int32_t high) {
  SpriteSet set;
  set.poses.resize(1);
  SpriteDirection& d = set.poses[0].directions[4];
  d.layers.resize(1);
  d.layers[0].emissionLimitMin = low;
  d.layers[0].emissionLimitMax = high;
  FramePart layerPart;
  layerPart.kind = kPartLayer;
  FramePart point;
  point.id = 1;
  point.kind = 2;
  d.frames.resize(1);
  d.frames[0].parts = {layerPart, point};
  d.builtFrames = d.frames;
  return set;
}

TEST_F(SpriteInstanceTest, EmissionLimitsAreDrawnFromTheLayersRange) {
  struct Case {
    const char* name;
    std::int32_t low, high;
    std::set<std::int32_t> allowed;
  };
  const Case cases[] = {
      {"10 to 20", 10, 20, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
      {"no limit", 0, 0, {-1}},
      {"0 to 5", 0, 5, {0, 1, 2, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.spriteSets = {EmitterSet(c.low, c.high)};
    std::set<std::int32_t> seen;
    for (int i = 0; i < 400; ++i) {
      SpriteInstance instance;
      SetObjectSprite(instance, 0);
      ASSERT_TRUE(instance.started);
      ASSERT_EQ(instance.partStates.size(), 2u);
      const PartState& state = instance.partStates[0];
      EXPECT_TRUE(c.allowed.count(state.emissionLimit)) << state.emissionLimit;
      EXPECT_EQ(state.emitCountdown, 0);
      EXPECT_EQ(state.emitted, 0);
      EXPECT_EQ(instance.partStates[1].emissionLimit, -1);  // not a layer part
      seen.insert(state.emissionLimit);
    }
    EXPECT_EQ(seen, c.allowed);  // every value of the range turns up
  }
}

TEST_F(SpriteInstanceTest, RestartingGivesFreshEmitters) {
  gameData.spriteSets = {EmitterSet(3, 3)};
  SpriteInstance instance;
  instance.partStates.resize(5);
  instance.partStates[0].emitted = 9;
  instance.partStates[0].particles.resize(2);
  SetObjectSprite(instance, 0);
  ASSERT_EQ(instance.partStates.size(), 2u);
  EXPECT_EQ(instance.partStates[0].emitted, 0);
  EXPECT_TRUE(instance.partStates[0].particles.empty());
  EXPECT_EQ(instance.partStates[0].emissionLimit, 3);
}

TEST_F(SpriteInstanceTest, NoSpriteLeavesTheInstanceAlone) {
  SpriteInstance instance;
  instance.partStates.resize(3);
  SetObjectSprite(instance, -1);
  EXPECT_FALSE(instance.started);
  EXPECT_EQ(instance.partStates.size(), 3u);

  // A direction without frames only marks the instance started.
  SpriteDirection still;
  InitSpriteFrameDelays(instance, still);
  EXPECT_TRUE(instance.started);
  EXPECT_EQ(instance.partStates.size(), 3u);
}

TEST_F(SpriteInstanceTest, OutOfRangeSetsAndLayersAreIndexErrors) {
  SpriteInstance instance;
  gameData.spriteSets = {EmitterSet(1, 2)};
  EXPECT_THROW(
      {
        try {
          SetObjectSprite(instance, 1);
        } catch (const KivError& e) {
          EXPECT_EQ(e.Number(), kErrIndex);
          throw;
        }
      },
      KivError);
  gameData.spriteSets[0].poses[0].directions[4].builtFrames[0].parts[0].index = 5;
  EXPECT_THROW(SetObjectSprite(instance, 0), KivError);
}

TEST_F(SpriteInstanceTest, FindSpriteDirection) {
  struct Case {
    const char* name;
    std::uint8_t flags;
    std::vector<std::pair<int, int>> withLayers;  // pose, direction
    std::int32_t pose, direction;
  };
  const Case cases[] = {
      {"nothing drawn", 0, {}, 0, 4},
      {"scans 4, 5, 6, 7, 0 ...", 0, {{0, 0}, {0, 6}}, 0, 6},
      {"wraps round to 0", 0, {{0, 2}, {0, 1}}, 0, 1},
      {"later pose", 0, {{2, 3}}, 2, 3},
      {"flag 4 wants direction 4", 4, {{0, 5}, {1, 4}}, 1, 4},
      {"flag 4 without direction 4", 4, {{0, 5}}, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpriteSet set;
    set.flags = c.flags;
    set.poses.resize(3);
    for (auto [p, d] : c.withLayers)
      set.poses[static_cast<std::size_t>(p)].directions[static_cast<std::size_t>(d)].layers.resize(1);
    gameData.spriteSets = {set};
    std::int32_t pose = -9, direction = -9;
    FindSpriteDirection(0, pose, direction);
    EXPECT_EQ(pose, c.pose);
    EXPECT_EQ(direction, c.direction);
  }
  std::int32_t pose = 0, direction = 0;
  EXPECT_THROW(FindSpriteDirection(1, pose, direction), KivError);
}

}  // namespace
}  // namespace kiv
