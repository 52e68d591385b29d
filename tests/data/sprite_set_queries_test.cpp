#include "data/sprite_set_queries.h"

#include <gtest/gtest.h>

#include "core/angles.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"

namespace kiv {
namespace {

class SpriteSetQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override { gameData.Reset(); }
  void TearDown() override { gameData.Reset(); }

  // Adds a set and returns its index.
  static std::int32_t AddSet(SpriteSet set) {
    gameData.spriteSets.push_back(std::move(set));
    return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
  }
};

// A direction that counts as usable: one layer, `frames` built frames.
SpriteDirection UsableDirection(int frames, std::int32_t frameDuration, std::int32_t sizeX = 0,
                                std::int32_t sizeY = 0) {
  SpriteDirection d;
  d.layers.resize(1);
  d.builtFrames.resize(static_cast<std::size_t>(frames));
  d.frameDuration = frameDuration;
  d.sizeX = sizeX;
  d.sizeY = sizeY;
  return d;
}

void ExpectIndexError(auto&& call) {
  try {
    call();
    ADD_FAILURE() << "no error raised";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrIndex);
  }
}

TEST_F(SpriteSetQueriesTest, FirstUsableDirectionChoosesWhatTheQueriesRead) {
  struct Case {
    const char* name;
    std::uint8_t flags;
    int poseCount;
    int usablePose;  // -1: no direction has layers
    int usableDirection;
    std::int32_t pose;
    std::int32_t direction;
  };
  const Case cases[] = {
      {"only pose 2, direction 0 has frames", 0, 3, 2, 0, 2, 0},
      {"single-direction set takes pose 1's direction 4", 4, 2, 1, 4, 1, 4},
      {"single-direction set ignores other directions", 4, 2, 0, 5, 0, 4},
      {"no frames anywhere", 0, 2, -1, 0, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    SpriteSet set;
    set.flags = c.flags;
    set.poses.resize(static_cast<std::size_t>(c.poseCount));
    if (c.usablePose >= 0) {
      set.poses[static_cast<std::size_t>(c.usablePose)].directions[static_cast<std::size_t>(c.usableDirection)] =
          UsableDirection(4, 100, 30, 40);
    }
    // The chosen direction holds the values; every other one holds others.
    SpriteDirection& chosen =
        set.poses[static_cast<std::size_t>(c.pose)].directions[static_cast<std::size_t>(c.direction)];
    if (chosen.layers.empty()) {
      chosen.builtFrames.resize(2);
      chosen.frameDuration = 50;
      chosen.sizeX = 7;
      chosen.sizeY = 9;
    }
    chosen.radius = 12.5f;
    chosen.collision.mode = 3;
    const std::int32_t s = AddSet(std::move(set));
    const bool usable = c.usablePose >= 0 && c.usablePose == c.pose && c.usableDirection == c.direction;
    EXPECT_EQ(SpriteSetDuration(s), usable ? 400 : 100);
    EXPECT_EQ(SpriteSetSizeX(s), usable ? 30 : 7);
    EXPECT_EQ(SpriteSetSizeY(s), usable ? 40 : 9);
    EXPECT_EQ(SpriteSetFrameDuration(s), usable ? 100 : 50);
    EXPECT_EQ(SpriteSetRadius(s), 12.5f);
    EXPECT_EQ(SpriteSetTrailFactor(s), 12.5f);
    EXPECT_EQ(SpriteSetCollisionShape(s).mode, 3);
  }
}

TEST_F(SpriteSetQueriesTest, DirectionDurationIsFramesTimesFrameTimeAndFollowsTheMirror) {
  SpriteSet set;
  set.poses.resize(1);
  SpritePose& pose = set.poses[0];
  pose.directions[0] = UsableDirection(4, 100);  // last frame 3
  pose.directions[4].frameDuration = 999;        // drawn as the mirror of 0
  pose.directions[1] = UsableDirection(1, 30);
  MarkMirroredDirections(pose);
  ASSERT_NE(pose.mirrorMask & DirectionBit(4), 0);
  const std::int32_t s = AddSet(std::move(set));
  struct Case {
    std::int32_t direction;
    std::int32_t ms;
  };
  const Case cases[] = {{0, 400}, {4, 400}, {1, 30}, {3, 30}, {5, 0}, {2, 0}, {6, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    EXPECT_EQ(SpriteDirectionDuration(s, 0, c.direction), c.ms);
  }
}

TEST_F(SpriteSetQueriesTest, SetsOutsideTheTableAndSetsWithoutPoses) {
  const std::int32_t empty = AddSet(SpriteSet{});
  EXPECT_EQ(SpriteSetDuration(-1), 0);
  EXPECT_EQ(SpriteSetDuration(-7), 0);
  EXPECT_EQ(SpriteSetDuration(empty), 0);
  EXPECT_EQ(SpriteSetSizeX(empty), 0);
  EXPECT_EQ(SpriteSetSizeY(empty), 0);
  EXPECT_EQ(SpriteSetFrameDuration(empty), 0);
  EXPECT_EQ(SpriteSetRadius(empty), 0.0f);
  EXPECT_EQ(SpriteSetCollisionShape(empty), CollisionShape{});

  ExpectIndexError([] { SpriteSetDuration(1); });
  for (std::int32_t s : {-1, 1}) {
    SCOPED_TRACE(s);
    ExpectIndexError([s] { SpriteSetSizeX(s); });
    ExpectIndexError([s] { SpriteSetSizeY(s); });
    ExpectIndexError([s] { SpriteSetFrameDuration(s); });
    ExpectIndexError([s] { SpriteSetRadius(s); });
    ExpectIndexError([s] { SpriteSetCollisionShape(s); });
    ExpectIndexError([s] { SpriteDirectionDuration(s, 0, 4); });
  }
  ExpectIndexError([empty] { SpriteDirectionDuration(empty, 0, 4); });
  SpriteSet one;
  one.poses.resize(1);
  const std::int32_t s = AddSet(std::move(one));
  ExpectIndexError([s] { SpriteDirectionDuration(s, 1, 4); });
  ExpectIndexError([s] { SpriteDirectionDuration(s, 0, 8); });
  ExpectIndexError([s] { SpriteDirectionDuration(s, 0, -1); });
}

}  // namespace
}  // namespace kiv
