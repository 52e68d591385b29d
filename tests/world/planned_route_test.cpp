// Planned routes walked by the real Character System: every planned step fits
// the step test that takes it, and a step refused on the way (something moved
// into the route) makes the walker plan again instead of standing for ever.
#include <gtest/gtest.h>

#include "live_world_fixture.h"
#include "world/path_finding.h"

namespace kiv::test {
namespace {

class PlannedRoute : public LiveWorld {
 protected:
  // Ticks of 50 ms until the walker has nothing left to walk, at most `limit`.
  void WalkUntilDone(std::int32_t c, int limit) {
    for (int tick = 0; tick < limit; ++tick) {
      Tick(50);
      if (A(c).path.empty() && A(c).moveCommand[1] == 0) return;
    }
  }
};

TEST_F(PlannedRoute, ARouteBesideAnObstacleArrives) {
  const std::int32_t c = AddWalker(48.0f, 48.0f, Box{-12, -8, 12, 16, 0, 32});
  const std::int32_t p = w.AddPickUp(160.0f, 160.0f);
  gameData.maps[0].pickUps[static_cast<std::size_t>(p)].collisionShape =
      MakeBoxShape(Box{-30, -30, 30, 30, 0, 32});
  ASSERT_EQ(FindCharacterPath(0, c, false, 224, 160, 0, 8, false, 0, true), 8);
  WalkUntilDone(c, 400);
  EXPECT_EQ(A(c).x, 224.0f);
  EXPECT_EQ(A(c).y, 160.0f);
  EXPECT_TRUE(A(c).path.empty());
}

TEST_F(PlannedRoute, ACharacterThatStepsIntoTheRouteIsWalkedAround) {
  const std::int32_t c = AddWalker(96.0f, 304.0f, Box{-8, -8, 8, 8, 0, 32});
  ASSERT_EQ(FindCharacterPath(0, c, false, 400, 304, 0, 8, false, 0, true), 8);
  // After planning, someone stands in the middle of the straight route.
  AddWalker(256.0f, 304.0f, Box{-12, -12, 12, 12, 0, 32});
  WalkUntilDone(c, 400);
  EXPECT_EQ(A(c).x, 400.0f);
  EXPECT_EQ(A(c).y, 304.0f);
}

TEST_F(PlannedRoute, ARouteWithNoWayLeftWaitsAndKeepsTrying) {
  const std::int32_t c = AddWalker(96.0f, 304.0f, Box{-8, -8, 8, 8, 0, 32});
  ASSERT_EQ(FindCharacterPath(0, c, false, 400, 304, 0, 8, false, 0, true), 8);
  // A wall of blocking zones across the whole map, put up after planning.
  const std::int32_t wall = w.AddZone(Box{240, 0, 272, 2048, -100, 100}, true);
  for (int tick = 0; tick < 60; ++tick) Tick(50);
  EXPECT_LT(A(c).x, 240.0f);
  EXPECT_FALSE(A(c).path.empty());  // the route is kept
  // Once the wall is gone the walker goes on.
  gameData.maps[0].zones[static_cast<std::size_t>(wall)].Disabled() = 1;
  WalkUntilDone(c, 400);
  EXPECT_EQ(A(c).x, 400.0f);
  EXPECT_EQ(A(c).y, 304.0f);
}

}  // namespace
}  // namespace kiv::test
