// Grid steps of walking characters against the fake world.
#include <deque>
#include <limits>

#include "character_fixture.h"
#include "player/character_movement.h"

namespace kiv::test {
namespace {

struct StepCase {
  const char* name;
  std::int32_t direction;
  std::int32_t stepLeft;
  std::int32_t elapsed;
  std::deque<std::pair<std::int32_t, std::int32_t>>
      nextSteps;  // direction, pixels handed out when a step ends
  float dx, dy;
  std::int32_t leftAfter;
};

class GridStepping : public CharacterTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(GridStepping, MovesByTheTickShare) {
  const StepCase& c = GetParam();
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).speed = 0.1f;
  StepDirection(Character(k)) = c.direction;
  StepLeft(Character(k)) = c.stepLeft;
  auto next = c.nextSteps;
  world.updateMovement = [&](std::int32_t m, std::int32_t a) {
    Actor& actor = gameData.maps[m].actors[static_cast<std::size_t>(a)];
    if (StepLeft(actor) < 1 && !next.empty()) {
      StepDirection(actor) = next.front().first;
      StepLeft(actor) = next.front().second;
      next.pop_front();
    }
  };
  CharacterTurn turn = Turn(k, c.elapsed);
  MoveCharacter(turn);
  EXPECT_FLOAT_EQ(Character(k).x, 100.0f + c.dx);
  EXPECT_FLOAT_EQ(Character(k).y, 100.0f + c.dy);
  EXPECT_EQ(StepLeft(Character(k)), c.leftAfter);
  EXPECT_EQ(Character(k).moved, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridStepping,
                         ::testing::Values(
                             // 10 pixels at 0.1 px/ms: half in 50 ms, the rest waits.
                             StepCase{"HalfStep", 4, 10, 50, {}, 5.0f, 0.0f, 5},
                             // In 150 ms the step ends after 100 ms; 50 ms go to the next command.
                             StepCase{"RestToNextCommand", 4, 10, 150, {{6, 10}}, 10.0f, 5.0f, 5},
                             // A diagonal moves the distance on both axes and counts x.
                             StepCase{"Diagonal", 5, 10, 50, {}, 5.0f, 5.0f, 5},
                             StepCase{"DiagonalUpLeft", 1, 10, 50, {}, -5.0f, -5.0f, 5},
                             // Up counts y.
                             StepCase{"Up", 2, 10, 50, {}, 0.0f, -5.0f, 5},
                             StepCase{"LeftDown", 7, 4, 100, {}, -4.0f, 4.0f, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CharacterTest, StepWalkTimeCountsTheWholeTickOncePerStep) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).speed = 0.1f;
  StepDirection(Character(k)) = 4;
  StepLeft(Character(k)) = 10;
  Character(k).idleTime = 70;
  Character(k).path = {1};  // a walking path keeps the walk going between steps
  std::deque<std::pair<std::int32_t, std::int32_t>> next{{4, 10}};
  world.updateMovement = [&](std::int32_t, std::int32_t) {
    if (StepLeft(Character(k)) < 1 && !next.empty()) {
      StepLeft(Character(k)) = next.front().second;
      next.pop_front();
    }
  };
  CharacterTurn turn = Turn(k, 150);
  MoveCharacter(turn);
  // Two steps in the tick, each adding the tick's 150 ms.
  EXPECT_EQ(Character(k).walkTime, 300);
  EXPECT_EQ(turn.rememberedWalkTime, 300);
  EXPECT_EQ(Character(k).idleTime, 0);
  EXPECT_GE(world.motionClears, 2);
}

TEST_F(CharacterTest, AHugeSpeedWithAnEndlessSourceStillEndsTheTick) {
  // At 1e9 pixels per ms each 16-pixel step takes too little time to show in
  // the tick's time; every finished step still takes at least a millisecond.
  for (const float speed : {1e9f, 1e30f, std::numeric_limits<float>::infinity()}) {
    SCOPED_TRACE(speed);
    gameData.maps[map].actors.clear();
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    Character(k).speed = speed;
    Character(k).route = {1};
    std::int64_t steps = 0;
    world.updateMovement = [&](std::int32_t m, std::int32_t a) {
      Actor& actor = gameData.maps[m].actors[static_cast<std::size_t>(a)];
      if (StepLeft(actor) >= 1) return;
      // A source that never runs dry; the guard only keeps a broken loop from hanging the test.
      if (++steps > 100000) return;
      StepDirection(actor) = steps % 2 == 0 ? 0 : 4;
      StepLeft(actor) = 16;
    };
    CharacterTurn turn = Turn(k, 50);
    MoveCharacter(turn);
    EXPECT_LE(steps, 52);
    EXPECT_GE(steps, 50);
  }
}

TEST_F(CharacterTest, EndedStepRoundsThePositionAndWithoutSourceStopsWalking) {
  const std::int32_t k = AddCharacter(100.25f, 100.0f);
  Character(k).speed = 0.1f;
  Character(k).walkTime = 40;
  StepDirection(Character(k)) = 4;
  StepLeft(Character(k)) = 3;
  CharacterTurn turn = Turn(k, 50);
  MoveCharacter(turn);
  EXPECT_FLOAT_EQ(Character(k).x, 103.0f);  // 103.25 rounded
  EXPECT_EQ(StepLeft(Character(k)), 0);
  EXPECT_EQ(Character(k).walkTime, 0);
}

TEST_F(CharacterTest, BlockedStepWaitsAndClimbingRetriesFourPixelsHigher) {
  for (const bool climbs : {false, true}) {
    SCOPED_TRACE(climbs);
    TearDown();
    SetUp();
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    Character(k).speed = 0.1f;
    if (climbs) Character(k).physicsFlags = 0x40;
    StepDirection(Character(k)) = 4;
    StepLeft(Character(k)) = 10;
    // A ledge 4 pixels high just right of the footprint.
    world.solidBoxes.push_back(Box{109, 80, 140, 120, 0, 4});
    CharacterTurn turn = Turn(k, 50);
    MoveCharacter(turn);
    if (climbs) {
      EXPECT_FLOAT_EQ(Character(k).x, 105.0f);
      EXPECT_FLOAT_EQ(Character(k).z, 4.0f);  // standing on the ledge
      EXPECT_EQ(StepLeft(Character(k)), 5);
    } else {
      EXPECT_FLOAT_EQ(Character(k).x, 100.0f);
      EXPECT_FLOAT_EQ(Character(k).z, 0.0f);
      EXPECT_EQ(StepLeft(Character(k)), 10);
    }
  }
}

TEST_F(CharacterTest, StepTestsRecordZonesUnlessStepsIgnoreThem) {
  for (const bool ignore : {false, true}) {
    SCOPED_TRACE(ignore);
    TearDown();
    SetUp();
    SetOption(25, ignore);
    world.zoneHits.clear();
    Zone zone;
    zone.shape = FakeCharacterWorld::BoxShape(100, 80, 120, 120, 0, 32);
    gameData.maps[map].zones.push_back(zone);
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    Character(k).speed = 0.1f;
    StepDirection(Character(k)) = 4;
    StepLeft(Character(k)) = 10;
    CharacterTurn turn = Turn(k, 50);
    MoveCharacter(turn);
    EXPECT_EQ(world.zoneHits.empty(), ignore);
  }
}

TEST_F(CharacterTest, DeadCharactersDoNotStep) {
  const std::int32_t k = AddCharacter(100.0f, 100.0f);
  Character(k).speed = 0.1f;
  Character(k).state = kStateDead;
  StepDirection(Character(k)) = 4;
  StepLeft(Character(k)) = 10;
  CharacterTurn turn = Turn(k, 50);
  MoveCharacter(turn);
  EXPECT_FLOAT_EQ(Character(k).x, 100.0f);
  EXPECT_EQ(world.stepTests, 0);
}

}  // namespace
}  // namespace kiv::test
