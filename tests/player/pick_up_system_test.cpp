// The Pick-Up System: the respawn countdown and the taken animation's clock.
#include <gtest/gtest.h>

#include "data/game_data.h"
#include "data/map_objects.h"
#include "player/pick_up_system.h"
#include "player/shell_state.h"

namespace kiv {
namespace {

class PickUpSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    shell.Reset();
    map = gameData.maps.Append();
    shell.frameElapsed = 100;
    SpriteSet set;  // 4 frames of 100 ms: a 400 ms taken animation
    set.poses.resize(1);
    set.poses[0].directions[4].builtFrames.resize(4);
    set.poses[0].directions[4].frameDuration = 100;
    gameData.spriteSets.push_back(set);
    SpriteSet oneMs = set;  // a 1 ms animation
    oneMs.poses[0].directions[4].builtFrames.resize(1);
    oneMs.poses[0].directions[4].frameDuration = 1;
    gameData.spriteSets.push_back(oneMs);
  }
  std::int32_t map = -1;
};

TEST_F(PickUpSystemTest, CountdownAndTakenClock) {
  struct Case {
    const char* name;
    std::int32_t respawnTime, countdown, set, taken;
    std::int32_t countdownAfter, takenAfter;
  };
  const Case cases[] = {
      {"counting down", 5000, 1000, 0, 50, 900, 150},
      {"reaches 0: present again", 5000, 100, 0, 350, 0, 0},
      {"passes 0: present again", 5000, 30, 0, 350, -70, 0},
      {"taken clock stops at the last ms of the set", 5000, 3000, 0, 350, 2900, 399},
      {"already on the last frame", 5000, 3000, 0, 399, 2900, 399},
      {"no taken set: the clock stays until the respawn", 5000, 3000, -1, 7, 2900, 7},
      {"no respawn: no countdown", 0, 0x7FFFFDFF, 0, 50, 0x7FFFFDFF, 150},
      {"a countdown of 0 is not counted", 5000, 0, 0, 0, 0, 0},
      {"present stays present", 5000, 0, 0, 0, 0, 0},
      {"a 1 ms taken set keeps the pick-up taken", 5000, 3000, 1, 1, 2900, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PickUp p;
    p.respawnTime = c.respawnTime;
    p.respawnCountdown = c.countdown;
    p.spriteSet = c.set;
    PickUpTakenClock(p) = c.taken;
    gameData.maps[map].pickUps = {p};
    RunPickUpSystem(map);
    PickUp& after = gameData.maps[map].pickUps[0];
    EXPECT_EQ(after.respawnCountdown, c.countdownAfter);
    EXPECT_EQ(PickUpTakenClock(after), c.takenAfter);
  }
}

TEST_F(PickUpSystemTest, EveryPickUpOfTheListInOneTick) {
  for (int k = 0; k < 3; ++k) {
    PickUp p;
    p.respawnTime = 1000;
    p.respawnCountdown = 100 * (k + 1);
    PickUpTakenClock(p) = 10;
    p.spriteSet = -1;
    gameData.maps[map].pickUps.push_back(p);
  }
  RunPickUpSystem(map);
  EXPECT_EQ(PickUpTakenClock(gameData.maps[map].pickUps[0]), 0);
  EXPECT_EQ(PickUpTakenClock(gameData.maps[map].pickUps[1]), 10);
  EXPECT_EQ(gameData.maps[map].pickUps[2].respawnCountdown, 200);
}

}  // namespace
}  // namespace kiv
