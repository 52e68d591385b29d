// A taken pick-up, run by the real Character System: taking it clears the
// way for walkers, path planning and sight lines; when it comes back it is
// in the way again.
#include <gtest/gtest.h>

#include "live_world_fixture.h"
#include "player/pick_up_system.h"
#include "world/move_tests.h"
#include "world/relations.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kStepRightWord = (1 << (4 + 2)) + 3;

class TakenPickUp : public LiveWorld {};

TEST_F(TakenPickUp, ATakenPickUpCanBeWalkedOverAndBlocksAgainWhenItComesBack) {
  const std::int32_t p = w.AddPickUp(300.0f, 200.0f);  // 292..308 on both axes
  gameData.maps[0].pickUps[static_cast<std::size_t>(p)].respawnTime = 1000;
  const std::int32_t c = AddWalker(272.0f, 200.0f, Box{-8, -8, 8, 8, 0, 32});
  const PickUp& pickUp = gameData.maps[0].pickUps[static_cast<std::size_t>(p)];
  const CollisionShape body = MakeBoxShape(Box{-8, -8, 8, 8, 0, 32});
  const auto blockedAtItsPlace = [&] {
    return TestActorMove(0, body, ShapePlacement{300.0f, 200.0f, 0.0f}, -1, -1, -1, false, false);
  };
  const auto seenThrough = [] {
    SegmentTrace trace;
    trace.characterHit = -2;  // the walker stands on the line
    return !TraceSegment(0, LineSegment{250, 200, 350, 200}, trace);
  };
  ASSERT_TRUE(blockedAtItsPlace());
  ASSERT_FALSE(seenThrough());

  // Facing it, the walker takes it with its action.
  A(c).canMove = 1;
  A(c).actionValue = 1;
  Tick(50);
  ASSERT_TRUE(pickUp.Taken());
  EXPECT_FALSE(blockedAtItsPlace());
  EXPECT_TRUE(seenThrough());
  PaintPathCollision(0, c, -1, false);
  EXPECT_EQ(gameData.maps[0].workingCollision.At(300 / 16, 200 / 16, 1), 0);

  // Then it walks straight over the place.
  A(c).path.assign(4, kStepRightWord);
  for (int tick = 0; tick < 20; ++tick) {
    Tick(50);
    EXPECT_EQ(A(c).y, 200.0f);
  }
  EXPECT_EQ(A(c).x, 336.0f);

  // Back after its respawn time, it is in the way again.
  for (int tick = 0; tick < 20; ++tick) {
    shell.frameElapsed = 50;
    RunPickUpSystem(0);
  }
  EXPECT_FALSE(pickUp.Taken());
  EXPECT_TRUE(blockedAtItsPlace());
  EXPECT_FALSE(seenThrough());
}

}  // namespace
}  // namespace kiv::test
