// Driving: speed approach, power factor, steering, turret sweep, climbing,
// floor modes and fuel, against the fake world.
#include <cmath>
#include <vector>

#include "character_fixture.h"
#include "player/character_movement.h"

namespace kiv::test {
namespace {

class Driving : public CharacterTest {
 protected:
  // A vehicle of the given top speed, with instant speed changes.
  std::int32_t AddVehicle(float maxSpeed) {
    const std::int32_t k = AddCharacter(200.0f, 200.0f);
    Actor& v = Character(k);
    v.speed = maxSpeed;
    v.vehicleValue1 = -maxSpeed / 2.0f;  // reverse limit
    v.vehicleValue2 = 0.0f;              // acceleration 0: speed changes at once
    v.turnRate = 0.001f;
    v.arc = kFullTurn;
    return k;
  }
  void Run(std::int32_t k, std::int32_t elapsed) {
    CharacterTurn turn = Turn(k, elapsed);
    MoveCharacter(turn);
  }
};

TEST_F(Driving, HalfHealthReachesTwoThirdsOfTopSpeed) {
  struct Case {
    std::int32_t health, maximum;
    float expected;
  };
  for (const Case c : {Case{50, 100, 0.2f}, Case{100, 100, 0.3f}, Case{10, 100, 0.2f}, Case{5, 0, 0.3f},
                       Case{80, 100, 0.24f}}) {
    SCOPED_TRACE(c.health);
    TearDown();
    SetUp();
    const std::int32_t k = AddVehicle(0.3f);
    Character(k).statistics.resize(1);
    Character(k).statistics[0].currentValue = c.health;
    Character(k).statistics[0].baseValue = c.maximum;
    Character(k).keyForward = 1.0f;
    Run(k, 10);
    EXPECT_NEAR(DriveSpeed(Character(k)), c.expected, 1e-6);
    EXPECT_NEAR(Character(k).x, 200.0f + c.expected * 10.0f, 1e-4);
  }
}

TEST_F(Driving, EmptyTankDropsEveryInputAndLowTankLowersPower) {
  const std::int32_t k = AddVehicle(0.3f);
  Character(k).statistics.resize(1);
  Character(k).statistics[0] = StatisticValue{{}, 100, 100};
  Character(k).maxGas = 30.0f;
  Character(k).gas = 0.0f;
  Character(k).keyForward = 1.0f;
  Run(k, 10);
  EXPECT_EQ(Character(k).keyForward, 0.0f);
  EXPECT_EQ(DriveSpeed(Character(k)), 0.0f);
  EXPECT_FLOAT_EQ(Character(k).x, 200.0f);

  // A fifth of a tank is below a third: power 0.6 becomes two thirds.
  Character(k).gas = 6.0f;
  Character(k).keyForward = 1.0f;
  Run(k, 10);
  EXPECT_NEAR(DriveSpeed(Character(k)), 0.2f, 1e-6);
  // Burn: |0.2 / (f x 0.3)| x 0.01 x 10 = 0.1.
  EXPECT_NEAR(Character(k).gas, 5.9f, 1e-5);
}

TEST_F(Driving, VehicleWithoutTopSpeedBurnsNoFuel) {
  const std::int32_t k = AddVehicle(0.0f);
  Character(k).maxGas = 100.0f;
  Character(k).gas = 50.0f;
  Character(k).physicsFlags = kMotionFlies;  // flying keeps driving on at speed 0
  Run(k, 100);
  EXPECT_EQ(Character(k).gas, 50.0f);
  EXPECT_FALSE(std::isnan(Character(k).gas));
}

TEST_F(Driving, NoReversingAboveHeightOne) {
  for (const float z : {0.0f, 0.5f, 1.0f, 3.0f}) {
    SCOPED_TRACE(z);
    TearDown();
    SetUp();
    const std::int32_t k = AddVehicle(0.3f);
    Character(k).z = z;
    Character(k).keyForward = -1.0f;
    Run(k, 10);
    EXPECT_EQ(DriveSpeed(Character(k)) < 0.0f, z < 1.0f);
  }
}

TEST_F(Driving, SteeringFollowsThreeSpeedBandsAndIsCappedAtAQuarterTurn) {
  struct Case {
    float speed, turnRate, expected;
  };
  // maxSpeed 0.3, 10 ms: below 0.1 the turn is speed x t x rate; up to 0.2
  // (max - s) x t x rate; above, 0.2 x t x rate; never above pi/2.
  for (const Case c : {Case{0.05f, 0.001f, 0.0005f}, Case{0.15f, 0.001f, 0.0015f}, Case{0.2f, 0.001f, 0.001f},
                       Case{0.3f, 0.001f, 0.002f}, Case{0.3f, 10.0f, 1.5707964f}}) {
    SCOPED_TRACE(c.speed);
    TearDown();
    SetUp();
    const std::int32_t k = AddVehicle(0.3f);
    Character(k).vehicleValue2 = 1e-9f;  // accelerating, too slowly to change the speed
    Character(k).turnRate = c.turnRate;
    DriveSpeed(Character(k)) = c.speed;
    Character(k).keyForward = c.speed / 0.3f;
    Character(k).keyTurning = 1.0f;
    Run(k, 10);
    EXPECT_NEAR(Character(k).heading, c.expected, 1e-5);
    // Travel uses the heading before the turn.
    EXPECT_NEAR(Character(k).y, 200.0f, 1e-4);
  }
}

TEST_F(Driving, UnmannedTurretSweepsBetweenItsLimits) {
  const std::int32_t k = AddVehicle(0.3f);
  Actor& t = Character(k);
  t.turret = 1;
  t.driver = -1;
  t.turnRate = 0.0075f;
  t.arc = 1.0f;
  t.arcStart = -0.5f;
  t.arcEnd = 0.5f;
  t.keyTurning = 1.0f;
  std::vector<float> headings;
  for (int i = 0; i < 12; ++i) {
    Run(k, 20);
    headings.push_back(Character(k).heading);
  }
  const std::vector<float> expected{0.15f, 0.3f,  0.45f, 0.5f,  0.35f, 0.2f,
                                    0.05f, -0.1f, -0.25f, -0.4f, -0.5f, -0.35f};
  ASSERT_EQ(headings.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(headings[i], expected[i], 1e-5) << i;
}

TEST_F(Driving, FlyingBelowAThirdOfTopSpeedClimbsOnlyWithItsFlags) {
  struct Case {
    std::int32_t flags;
    float climbInput, expectedZ;
  };
  // 100 ms, climb rate 0.05, sink rate 0.02, standing still at height 10.
  for (const Case c : {Case{kMotionFlies, 1.0f, 8.0f}, Case{kMotionFlies | kMotionClimbsAtAnySpeed, 1.0f, 15.0f},
                       Case{kMotionFlies | kMotionClimbsAtAnySpeed, -1.0f, 5.0f},
                       Case{kMotionFlies | kMotionClimbsAtAnySpeed, 0.0f, 8.0f},
                       Case{kMotionFlies | kMotionHovers, 1.0f, 10.0f}}) {
    SCOPED_TRACE(c.flags);
    TearDown();
    SetUp();
    const std::int32_t k = AddVehicle(0.3f);
    Character(k).z = 10.0f;
    Character(k).physicsFlags = c.flags;
    Character(k).derivedValue1 = 0.05f;
    Character(k).derivedValue2 = 0.02f;
    Character(k).keyRising = c.climbInput;
    Run(k, 100);
    EXPECT_NEAR(Character(k).z, c.expectedZ, 1e-4);
  }
}

TEST_F(Driving, FloorModesBoundDrivenHeight) {
  struct Case {
    std::int32_t flags;
    float z, expectedZ;
  };
  // Sinking 0.02 px/ms for 100 ms from the given height.
  for (const Case c : {Case{kMotionFlies | 1, 1.0f, 0.0f}, Case{kMotionFlies | 2, 1.0f, 0.0f},
                       Case{kMotionSinksBelowGround | 2, 3.0f, -1.0f}, Case{kMotionSinksBelowGround | 2, 1.0f, -1.0f},
                       Case{kMotionSinksBelowGround, 1.0f, -1.0f}}) {
    SCOPED_TRACE(c.flags);
    TearDown();
    SetUp();
    const std::int32_t k = AddVehicle(0.3f);
    Character(k).z = c.z;
    Character(k).physicsFlags = c.flags;
    Character(k).derivedValue2 = 0.02f;
    world.floorHeight = -100.0f;
    Character(k).floorHeight = -100.0f;
    Run(k, 100);
    EXPECT_NEAR(Character(k).z, c.expectedZ, 1e-4);
  }
}

TEST_F(Driving, BlockedDriveFallsBackAndTouchesSolid) {
  const std::int32_t k = AddVehicle(0.3f);
  Character(k).keyForward = 1.0f;
  world.solidBoxes.push_back(Box{209, 150, 260, 250, 0, 32});
  CharacterTurn turn = Turn(k, 10);
  MoveCharacter(turn);
  EXPECT_FLOAT_EQ(Character(k).x, 200.0f);
  EXPECT_TRUE(turn.touchedSolid);
}

TEST_F(Driving, MessageBoxStopsAPlayersVehicleOnly) {
  for (const bool owned : {false, true}) {
    SCOPED_TRACE(owned);
    TearDown();
    SetUp();
    const std::int32_t k = AddVehicle(0.3f);
    if (owned) OwnByPlayer(k);
    messageBoxes[3].visible = true;
    Character(k).keyForward = 1.0f;
    Run(k, 10);
    EXPECT_EQ(Character(k).x > 200.0f, !owned);
    EXPECT_EQ(Character(k).keyForward, owned ? 0.0f : 1.0f);
  }
}

TEST_F(Driving, FaceMotionTurnsTowardTheMotion) {
  const std::int32_t k = AddVehicle(0.3f);
  SetOption(5, true);
  Character(k).movementX = 1.0f;
  world.motionState = nullptr;
  characterWorld.ActorHeading = [](std::int32_t, std::int32_t) { return 1.25f; };
  Run(k, 10);
  EXPECT_FLOAT_EQ(Character(k).heading, 1.25f);
}

}  // namespace
}  // namespace kiv::test
