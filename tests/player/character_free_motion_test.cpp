// Free motion: motors, pushes, the map's force, the axis combinations,
// landing, walk time and the distance travelled.
#include <cmath>
#include <vector>

#include "character_fixture.h"
#include "player/character_movement.h"

namespace kiv::test {
namespace {

class FreeMotion : public CharacterTest {
 protected:
  CharacterTurn Run(std::int32_t k, std::int32_t elapsed) {
    CharacterTurn turn = Turn(k, elapsed);
    MoveCharacter(turn);
    return turn;
  }
};

TEST_F(FreeMotion, PushOf100MsActsFullyThreeTicksOf30AndAThirdInTheFourth) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).pushes.push_back(PushEntry{0.1f, 0.0f, 0.0f, 100});
  std::vector<float> steps;
  for (int i = 0; i < 5; ++i) {
    const float before = Character(k).x;
    Run(k, 30);
    steps.push_back(Character(k).x - before);
  }
  const std::vector<float> expected{3.0f, 3.0f, 3.0f, 1.0f, 0.0f};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(steps[i], expected[i], 1e-4) << i;
  EXPECT_TRUE(Character(k).pushes.empty());
}

TEST_F(FreeMotion, PushEndingInATickOfZeroMsGoesWithoutAShare) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).pushes.push_back(PushEntry{0.1f, 0.2f, 0.0f, 0});
  Run(k, 0);
  EXPECT_TRUE(Character(k).pushes.empty());
  EXPECT_TRUE(std::isfinite(Character(k).x));
  EXPECT_FLOAT_EQ(Character(k).x, 100.0f);
  EXPECT_FLOAT_EQ(Character(k).y, 100.0f);
}

TEST_F(FreeMotion, BlockedAxisKeepsTheOthersMoving) {
  // Velocity right and down; a wall on the right lets only the y axis move.
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).velocityX = 0.1f;
  Character(k).velocityY = 0.1f;
  world.solidBoxes.push_back(Box{108, 0, 200, 300, 0, 32});
  const CharacterTurn turn = Run(k, 10);
  EXPECT_FLOAT_EQ(Character(k).x, 100.0f);
  EXPECT_FLOAT_EQ(Character(k).y, 101.0f);
  EXPECT_EQ(Character(k).velocityX, 0.0f);  // the blocked axis stops
  EXPECT_FLOAT_EQ(Character(k).velocityY, 0.1f);
  EXPECT_TRUE(turn.touchedSolid);
}

TEST_F(FreeMotion, SecondPassMovesAtHalfVelocityAndHalvesIt) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).velocityX = 0.2f;
  // Free for 1 pixel of the 2 the full velocity would take.
  world.solidBoxes.push_back(Box{109, 0, 200, 300, 0, 32});
  Run(k, 10);
  EXPECT_FLOAT_EQ(Character(k).x, 101.0f);
  EXPECT_FLOAT_EQ(Character(k).velocityX, 0.1f);
}

TEST_F(FreeMotion, SolidOnVerticalOnlyCountsOnlyBlockedVerticalTries) {
  struct Case {
    bool option;
    bool horizontal;  // pushed into a wall, else falling onto the floor
    bool touched;
  };
  for (const Case c : {Case{false, true, true}, Case{true, true, false}, Case{false, false, true},
                       Case{true, false, true}}) {
    SCOPED_TRACE(testing::Message() << c.option << c.horizontal);
    TearDown();
    SetUp();
    SetOption(26, c.option);
    const std::int32_t k = AddCharacter(100.0f, 100.0f, 0.0f);
    if (c.horizontal) {
      Character(k).velocityX = 0.1f;
      world.solidBoxes.push_back(Box{108, 0, 200, 300, 0, 32});
    } else {
      Character(k).velocityZ = -0.1f;
    }
    EXPECT_EQ(Run(k, 10).touchedSolid, c.touched);
  }
}

TEST_F(FreeMotion, ClimbsAStepFourPixelsHighWithItsFlag) {
  for (const bool climbs : {false, true}) {
    SCOPED_TRACE(climbs);
    TearDown();
    SetUp();
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    if (climbs) Character(k).physicsFlags = kMotionClimbsSteps;
    Character(k).velocityX = 0.2f;
    world.solidBoxes.push_back(Box{108, 0, 200, 300, 0, 4});
    Run(k, 10);
    EXPECT_FLOAT_EQ(Character(k).x, climbs ? 102.0f : 100.0f);
    EXPECT_FLOAT_EQ(Character(k).z, climbs ? 4.0f : 0.0f);
  }
}

TEST_F(FreeMotion, ForceFallsUntilTheFloorAndLands) {
  gameData.maps[map].mapValueAC = -0.001f;
  const std::int32_t k = AddCharacter(100.0f, 100.0f, 10.0f);
  Character(k).airborne = 1;
  Character(k).state = 1;
  Run(k, 100);  // an eighth of the force in state 1: v = -0.0125, 1.25 px down
  EXPECT_NEAR(Character(k).z, 8.75f, 1e-4);
  EXPECT_EQ(Character(k).airborne, 1);
  for (int i = 0; i < 50; ++i) Run(k, 100);
  // It stops where the next fall (also at half speed) would pass the floor.
  EXPECT_GE(Character(k).z, 0.0f);
  EXPECT_LT(Character(k).z, 8.75f);
  EXPECT_EQ(Character(k).airborne, 0);
  EXPECT_EQ(Character(k).state, kStateNormal);
  EXPECT_EQ(Character(k).velocityZ, 0.0f);
}

TEST_F(FreeMotion, FliersAndHoverersFeelNoForceWhileAlive) {
  struct Case {
    std::int32_t flags, state;
    bool falls;
  };
  for (const Case c : {Case{0, 0, true}, Case{kMotionFlies, 0, false}, Case{kMotionHovers, 1, false},
                       Case{kMotionFlies, kStateDying, true}, Case{kMotionSinksBelowGround, 0, true}}) {
    SCOPED_TRACE(testing::Message() << c.flags << " " << c.state);
    TearDown();
    SetUp();
    gameData.maps[map].mapValueAC = -0.001f;
    const std::int32_t k = AddCharacter(100.0f, 100.0f, 10.0f);
    Character(k).physicsFlags = c.flags;
    Character(k).state = c.state;
    Character(k).statistics.resize(1);
    Character(k).statistics[0].currentValue = 10;
    Run(k, 100);
    EXPECT_EQ(Character(k).z < 10.0f, c.falls);
  }
}

TEST_F(FreeMotion, DyingBodyWithoutHealthLandsDeadWithTheDeathAnimationLength) {
  // Sprite set 0 with pose 13: 4 frames of 100 ms in every direction.
  SpriteSet set;
  set.poses.resize(14);
  for (SpriteDirection& d : set.poses[13].directions) {
    d.builtFrames.resize(4);
    d.frameDuration = 100;
  }
  gameData.spriteSets.push_back(set);
  struct Case {
    std::int32_t health, spriteSet, pose, state, dying;
  };
  for (const Case c : {Case{0, 0, 13, kStateDead, 400}, Case{0, -1, 13, kStateDead, 0},
                       Case{0, 0, 9, kStateDead, 0}, Case{5, 0, 13, kStateNormal, 0}}) {
    SCOPED_TRACE(testing::Message() << c.health << " " << c.spriteSet << " " << c.pose);
    gameData.maps[map].actors.clear();
    gameData.maps[map].mapValueAC = -0.01f;
    const std::int32_t k = AddCharacter(100.0f, 100.0f, 0.0f);
    Character(k).state = kStateDying;
    Character(k).statistics.resize(1);
    Character(k).statistics[0].currentValue = c.health;
    Character(k).parts.resize(1);
    Character(k).parts[0].spriteSet = c.spriteSet;
    world.posePicked = c.pose;
    world.drawDirection = 2;
    Run(k, 10);
    EXPECT_EQ(Character(k).state, c.state);
    EXPECT_EQ(Character(k).deathTimer, c.dying);
  }
}

TEST_F(FreeMotion, DeadWithoutHealthStaysDeadOnLanding) {
  gameData.maps[map].mapValueAC = -0.01f;
  const std::int32_t k = AddCharacter(100.0f, 100.0f, 0.0f);
  Character(k).state = kStateDead;
  Character(k).statistics.resize(1);
  Run(k, 10);
  EXPECT_EQ(Character(k).state, kStateDead);
}

TEST_F(FreeMotion, GroundLimitBlocksBelowZeroForStandingCharacters) {
  struct Case {
    std::uint8_t limit;
    std::int32_t flags;
    bool blocked;
  };
  for (const Case c : {Case{1, 0, true}, Case{0, 0, false}, Case{1, kMotionSinksBelowGround, false}}) {
    SCOPED_TRACE(testing::Message() << int(c.limit) << " " << c.flags);
    TearDown();
    SetUp();
    gameData.maps[map].flags[2] = c.limit;
    const std::int32_t k = AddCharacter(100.0f, 100.0f, 0.0f);
    Character(k).floorHeight = -50.0f;
    world.floorHeight = -50.0f;
    Character(k).physicsFlags = c.flags;
    Character(k).velocityZ = -0.1f;
    Run(k, 10);
    EXPECT_FLOAT_EQ(Character(k).z, c.blocked ? 0.0f : -1.0f);
  }
}

TEST_F(FreeMotion, MotorsApproachTheirTargetAndStopWhenAllIsZero) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).speed = 0.2f;
  Character(k).vehicleValue2 = 0.001f;
  Character(k).movementFlags = {1, 1, 1};
  Character(k).movementX = 1.0f;
  Run(k, 40);
  // From rest toward 0.2 by 0.001 per ms: 0.04 after 40 ms.
  EXPECT_NEAR(Character(k).velocityX, 0.04f, 1e-6);
  EXPECT_NEAR(Character(k).x, 101.6f, 1e-4);
  EXPECT_EQ(Character(k).movementFlags[0], 1);

  Character(k).vehicleValue2 = 0.0f;
  Character(k).movementX = 0.0f;
  Run(k, 40);
  EXPECT_EQ(Character(k).velocityX, 0.0f);
  EXPECT_EQ(Character(k).movementFlags[0], 0);
}

TEST_F(FreeMotion, WalkTimeTakesTheFirstRuleThatApplies) {
  struct Case {
    const char* name;
    float drive, vx, vy, tx, ty;
    std::int32_t expected;
  };
  // maxSpeed 0.2, 100 ms, walk time starts at 10.
  for (const Case c : {Case{"drive", 0.1f, 0, 0, 0, 0, 60}, Case{"xy", 0, 0.1f, 0.3f, 1, 1, 110},
                       Case{"x", 0, 0.1f, 0, 1, 0, 60}, Case{"none", 0, 0, 0, 0, 0, 0}}) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    Character(k).speed = 0.2f;
    // Not active, no driving: the drive speed stays as set (but the targets go).
    Character(k).canMove = c.drive != 0.0f ? 0 : 1;
    Character(k).walkTime = 10;
    DriveSpeed(Character(k)) = c.drive;
    Character(k).velocityX = c.vx;
    Character(k).velocityY = c.vy;
    Character(k).movementX = c.tx;
    Character(k).movementY = c.ty;
    Run(k, 100);
    EXPECT_EQ(Character(k).walkTime, c.expected);
  }
}

TEST_F(FreeMotion, StepsCountForAPlayersCharacter) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  OwnByPlayer(k);
  Character(k).velocityX = 0.3f;
  Character(k).velocityY = 0.4f;
  Run(k, 10);
  EXPECT_EQ(PlayerSteps(projectState.players[0]), 5);
  EXPECT_EQ(Character(k).moved, 1);
  // A count at the largest Long stays there.
  PlayerSteps(projectState.players[0]) = INT32_MAX - 2;
  Run(k, 10);
  EXPECT_EQ(PlayerSteps(projectState.players[0]), INT32_MAX);
}

TEST_F(FreeMotion, CombinationsThatWouldNotMoveAreSkipped) {
  // 0.000001 px/ms for 10 ms stays within 0.0001 of the place: nothing is tried.
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).velocityX = 0.000001f;
  const CharacterTurn turn = Run(k, 10);
  EXPECT_EQ(world.moveTests, 0);
  EXPECT_FLOAT_EQ(Character(k).x, 100.0f);
  EXPECT_EQ(Character(k).velocityX, 0.0f);
  EXPECT_FALSE(turn.touchedSolid);
}

TEST_F(FreeMotion, StandingStillTestsContactsOnlyWhenCountingAsMoved) {
  for (const bool counts : {false, true}) {
    SCOPED_TRACE(counts);
    TearDown();
    SetUp();
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    if (counts) Character(k).tickFlags = 1;
    Run(k, 10);
    EXPECT_EQ(world.moveTests, counts ? 1 : 0);
    EXPECT_EQ(Character(k).moved, 0);
  }
}

}  // namespace
}  // namespace kiv::test
