#include "world/movement_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "core/angles.h"
#include "core/random.h"
#include "data/project_state.h"
#include "player/shell_state.h"
#include "support/movement_stepper.h"
#include "support/world_builder.h"
#include "world/movement_fields.h"
#include "world/vehicles.h"

namespace kiv {
namespace {

constexpr std::int32_t kTick = 16;  // one 16-pixel cell per tick at 1 px/ms
constexpr std::int32_t kNorth = 0x11;
constexpr std::int32_t kSouth = 0x101;
constexpr std::int32_t kEast = 0x41;
constexpr std::int32_t kWest = 0x5;

class MovementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell = ShellState();
    walker_ = AddWalker(240, 240);
  }
  std::int32_t AddWalker(float x, float y) {
    const std::int32_t i = w.AddCharacter(x, y, 0);
    A(i).speed = 1.0f;
    A(i).physicsFlags = 0;
    return i;
  }
  Actor& A(std::int32_t i) { return w.M().actors[static_cast<std::size_t>(i)]; }
  Actor& W() { return A(walker_); }
  void Ticks(int n) {
    for (int k = 0; k < n; ++k) test::StepCharacters(w.map(), kTick);
  }
  void Wall(const Box& box) { w.M().boundaries.push_back(test::MakeBoxShape(box)); }

  test::WorldBuilder w{15, 15, 1};
  std::int32_t walker_ = -1;
};

TEST_F(MovementTest, CommandWordsFromTheQueue) {
  struct Case {
    const char* what;
    std::int32_t word;
    float heading;
    int ticks;
    float x, y, endHeading;
    std::int32_t moveWait;
    std::size_t queueLeft;
  };
  const float h = 0.3f;  // nearest direction: 4, east
  const Case cases[] = {
      {"0x1 alone never moves and is never consumed", 0x1, h, 3, 240, 240, h, 0, 1},
      {"0x3 also snaps the heading", 0x3, h, 3, 240, 240, 0.0f, 0, 1},
      {"-1 waits 2147483647 ms", -1, h, 1, 240, 240, h, 2147483647 - 0, 0},
      {"0x80000000 waits 0 ms and is consumed", static_cast<std::int32_t>(0x80000000u), h, 1, 240, 240, h, 0, 0},
      {"move north one cell", kNorth, h, 1, 240, 224, h, 0, 0},
      {"move and face south", kSouth | 0x2, h, 1, 240, 256, kPiOver2, 0, 0},
      {"face east without moving", 0x2 | 0x40, 1.0f, 1, 240, 240, 0.0f, 0, 0},
      {"the absolute direction comes before the relative ones", 0x1 | 0x40 | 0x400 | 0x2000, kPi, 1, 256, 240, kPi,
       0, 0},
      {"heading - pi/4", 0x1 | 0x400, 0.0f, 1, 256, 224, 0.0f, 0, 0},
      {"heading + pi/4", 0x1 | 0x800, 0.0f, 1, 256, 256, 0.0f, 0, 0},
      {"straight on", 0x1 | 0x1000, kPiOver2, 1, 240, 256, kPiOver2, 0, 0},
      {"turn back", 0x3 | 0x2000, 0.0f, 1, 224, 240, -kPi, 0, 0},
      {"face: heading + pi/4", 0x2 | 0x800, 0.0f, 1, 240, 240, kPiOver4, 0, 0},
      {"face: turn back", 0x2 | 0x2000, 0.5f, 1, 240, 240, 0.5f + kPi, 0, 0},
      {"face: straight on keeps the heading", 0x2 | 0x1000, 0.5f, 1, 240, 240, 0.5f, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    W().x = 240;
    W().y = 240;
    W().heading = c.heading;
    W().moveWait = 0;
    W().path = {c.word};
    Ticks(c.ticks);
    EXPECT_FLOAT_EQ(W().x, c.x);
    EXPECT_FLOAT_EQ(W().y, c.y);
    EXPECT_FLOAT_EQ(W().heading, c.endHeading);
    EXPECT_EQ(W().moveWait, c.moveWait);
    EXPECT_EQ(W().path.size(), c.queueLeft);
  }
}

TEST_F(MovementTest, WaitsCountDownByTheTick) {
  W().path = {kNorth, static_cast<std::int32_t>(0x80000000u | 40u)};
  Ticks(1);
  EXPECT_EQ(W().moveWait, 40);
  Ticks(2);  // 40 - 16 - 16
  EXPECT_EQ(W().moveWait, 8);
  EXPECT_FLOAT_EQ(W().y, 240);
  Ticks(1);  // 8 - 16: the wait ends with this tick
  Ticks(1);
  EXPECT_FLOAT_EQ(W().y, 224);
}

TEST_F(MovementTest, RandomDirectionsAreMainDirectionsRoundedDown) {
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    RandomSeed(seed);
    const std::int32_t expected = static_cast<std::int32_t>(std::floor(RandomNext() * 4.0)) * 2;
    RandomSeed(seed);
    W().heading = 0.0f;
    W().path = {0x3 | 0x4000};
    Ticks(1);
    EXPECT_FLOAT_EQ(W().heading, DirectionToAngle(expected));
    W().x = 240;
    W().y = 240;
  }
  // 0x8000 draws again until the direction differs from the heading's.
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    RandomSeed(seed);
    std::int32_t expected = 4;
    while (expected == 4) expected = static_cast<std::int32_t>(std::floor(RandomNext() * 4.0)) * 2;
    RandomSeed(seed);
    W().heading = 0.0f;
    W().path = {0x2 | 0x8000};
    Ticks(1);
    EXPECT_FLOAT_EQ(W().heading, DirectionToAngle(expected));
  }
}

TEST_F(MovementTest, SourcesQueueThenAiCommandDefaultAndRoute) {
  // The queue runs from its last entry.
  W().path = {kNorth, kWest};
  Ticks(1);
  EXPECT_FLOAT_EQ(W().x, 224);
  EXPECT_EQ(W().path, (std::vector<std::int32_t>{kNorth}));
  Ticks(1);
  EXPECT_FLOAT_EQ(W().y, 224);
  EXPECT_TRUE(W().path.empty());

  struct Case {
    const char* what;
    std::function<void(Actor&)> setUp;
    float x, y;  // after one 32-pixel step (two ticks)
  };
  const std::vector<Case> cases = {
      {"AI command, not consumed", [](Actor& a) {
         a.aiMoveCommand = kEast;
         a.autoMoveStyle = kWest;
       }, 256 + 32, 224},
      {"default command", [](Actor& a) {
         a.autoMoveStyle = kWest;
         a.route = {kSouth};
       }, 256 - 32, 224},
      {"route", [](Actor& a) { a.route = {kSouth}; }, 256, 224 + 32},
      {"in the air: no AI command, default or route", [](Actor& a) {
         a.groundState = 0;
         a.aiMoveCommand = kEast;
         a.autoMoveStyle = kWest;
         a.route = {kSouth};
       }, 256, 224},
      {"an action trigger that overrides the AI", [](Actor& a) {
         Trigger action;
         action.event = 539;
         action.script.runOnce = 1;
         a.triggers.push_back(action);
         a.route = {kSouth};
       }, 256, 224},
      {"an action trigger without the override", [](Actor& a) {
         Trigger action;
         action.event = 539;
         a.triggers.push_back(action);
         a.route = {kSouth};
       }, 256, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Actor fresh = W();
    fresh.x = 256;
    fresh.y = 224;
    fresh.aiMoveCommand = 0;
    fresh.autoMoveStyle = 0;
    fresh.route.clear();
    fresh.groundState = 1;
    fresh.triggers.clear();
    c.setUp(fresh);
    W() = fresh;
    Ticks(2);
    EXPECT_FLOAT_EQ(W().x, c.x);
    EXPECT_FLOAT_EQ(W().y, c.y);
  }
  // A character in the air still runs its queue and waits.
  W().groundState = 0;
  W().route.clear();
  W().path = {kNorth, -1};
  Ticks(1);
  EXPECT_EQ(W().moveWait, 2147483647);
}

TEST_F(MovementTest, RouteNorthAndSouthForever) {
  W().route = {kNorth, kSouth};
  std::vector<float> ys;
  for (int step = 0; step < 6; ++step) {
    Ticks(2);
    ys.push_back(W().y);
  }
  EXPECT_EQ(ys, (std::vector<float>{208, 240, 208, 240, 208, 240}));
  EXPECT_EQ(W().routePosition, 0);
}

TEST_F(MovementTest, BlockedStepsForceAndClimb) {
  struct Case {
    const char* what;
    std::int32_t word;
    std::int32_t physics;
    std::int32_t obstacleHeight;
    bool moves;
  };
  // The obstacle stands in the last quarter of a 16-pixel step east.
  const Case cases[] = {
      {"blocked", kEast, 0, 10, false},
      {"forced", kEast | 0x80000, 0, 10, true},
      {"a climber before a 30-pixel ledge", kEast, 0x40, 30, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.M().boundaries.clear();
    Wall(Box{258, 200, 270, 280, 0, c.obstacleHeight});
    W().x = 240;
    W().y = 240;
    W().physicsFlags = c.physics;
    W().path = {c.word};
    Ticks(1);
    EXPECT_FLOAT_EQ(W().x, c.moves ? 256 : 240);
    EXPECT_EQ(W().path.empty(), c.moves);
    if (!c.moves) {
      EXPECT_EQ(W().walkTime, 16);  // zeroed by the stop, then the pending word counts
      EXPECT_EQ(StepRemaining(W()), 0);
    }
  }
}

TEST_F(MovementTest, BoundsWordsNeedTheSweptBoxToMeetTheBoundsBox) {
  W().areaBox = Box{300, 200, 400, 280, -100, 100};  // a box the character stands outside of
  W().path = {kEast, kEast | kMoveInBounds};
  Ticks(1);
  EXPECT_FLOAT_EQ(W().x, 240);
  EXPECT_EQ(W().path.size(), 2u);
  W().path = {kEast};  // without the bounds bit the same step is taken
  Ticks(1);
  EXPECT_FLOAT_EQ(W().x, 256);
}

TEST_F(MovementTest, FacingTheFocusedActorOrThePlayersCharacter) {
  const std::int32_t enemy = AddWalker(240, 400);
  W().aiFocus = enemy;
  W().path = {0x2 | kMoveFollow};
  Ticks(1);
  EXPECT_FLOAT_EQ(W().heading, kPiOver2);
  // Without a focus: the current player's character on this map.
  W().aiFocus = -1;
  const std::int32_t hero = AddWalker(100, 240);
  projectState.players.resize(1);
  projectState.players[0].mapIndex = w.map();
  PartyMember member;
  member.character = hero;
  projectState.players[0].party = {member};
  W().path = {0x2 | kMoveFollow};
  Ticks(1);
  EXPECT_FLOAT_EQ(std::fabs(W().heading), kPi);
  W().gridX = 300;
  W().gridY = 300;
  W().path = {0x2 | kMoveToPoint};
  Ticks(1);
  EXPECT_FLOAT_EQ(W().heading, AngleBetweenPoints(224, 224, 300, 300));
}

TEST_F(MovementTest, BlockedRandomWordTurnsClockwiseThenGivesUp) {
  // Walls on three sides: only south-west is open.
  Wall(Box{200, 200, 280, 228, 0, 100});
  Wall(Box{252, 200, 280, 280, 0, 100});
  Wall(Box{200, 252, 280, 280, 0, 100});
  Wall(Box{200, 200, 228, 251, 0, 100});
  RandomSeed(3);
  W().path = {0x4001};
  Ticks(1);
  EXPECT_FLOAT_EQ(W().x, 240);
  EXPECT_FLOAT_EQ(W().y, 240);
  EXPECT_EQ(W().path.size(), 1u);  // blocked on all sides: still pending
  w.M().boundaries.pop_back();      // the west opens
  Ticks(1);
  EXPECT_TRUE(W().path.empty());
  EXPECT_LT(W().x, 240);
}

TEST_F(MovementTest, OneWayDoorQueuesBackingOffAndOnlyTheToucherOpens) {
  const std::int32_t door = w.AddDoor(224, 160, 4);  // leaf y 218..224 across x 224..256
  const std::int32_t other = AddWalker(400, 400);
  Wall(Box{412, 380, 430, 420, 0, 100});
  A(other).path = {kEast};
  W().path = {kNorth};
  Ticks(1);
  EXPECT_EQ(DoorOpener(w.M().doors[static_cast<std::size_t>(door)]), walker_);
  EXPECT_EQ(DoorSwing(w.M().doors[static_cast<std::size_t>(door)]), 1.0f);
  // Runs from the end: three steps back south, then three north; the blocked word last.
  EXPECT_EQ(W().path, (std::vector<std::int32_t>{kNorth, kNorth, kNorth, kNorth, kSouth, kSouth, kSouth}));
  EXPECT_FLOAT_EQ(A(other).x, 400);
  Ticks(1);
  EXPECT_FLOAT_EQ(W().y, 256);
  // The second character, blocked by a wall and touching no door, opens nothing.
  DoorOpener(w.M().doors[static_cast<std::size_t>(door)]) = -7;
  Ticks(1);
  EXPECT_EQ(DoorOpener(w.M().doors[static_cast<std::size_t>(door)]), -7);
  EXPECT_EQ(A(other).path.size(), 1u);
}

TEST_F(MovementTest, FollowerNearItsLeaderStandsStillWithItsHeadingSnapped) {
  const std::int32_t leader = AddWalker(280, 280);
  W().targetActor = leader;
  W().autoMoveStyle = 0x10003;
  W().heading = 0.3f;
  Ticks(3);
  EXPECT_FLOAT_EQ(W().x, 240);
  EXPECT_FLOAT_EQ(W().y, 240);
  EXPECT_FLOAT_EQ(W().heading, 0.0f);
  // Farther away the follower walks toward its leader.
  A(leader).x = 400;
  A(leader).y = 240;
  Ticks(3);
  EXPECT_GT(W().x, 240);
  EXPECT_FLOAT_EQ(W().heading, 0.0f);
}

TEST_F(MovementTest, PathFailureWaits500) {
  W().gridX = 5000;
  W().gridY = 5000;
  W().path = {0x40001};
  Ticks(1);
  EXPECT_EQ(W().moveWait, 500);
  EXPECT_EQ(W().path.size(), 1u);
  // Walking to a reachable point.
  W().moveWait = 0;
  W().gridX = 240;
  W().gridY = 160;
  Ticks(1);
  EXPECT_FLOAT_EQ(W().y, 224);
}

TEST_F(MovementTest, FleeRunsFromTheFocusedActor) {
  const std::int32_t enemy = AddWalker(400, 250);
  W().aiFocus = enemy;
  W().path = {0x20001};
  Ticks(1);
  EXPECT_FLOAT_EQ(W().x, 224);
  EXPECT_FLOAT_EQ(W().y, 240);
  // Facing by flee turns away from it.
  W().path = {0x20002};
  Ticks(1);
  EXPECT_NEAR(W().heading, AngleBetweenPoints(224, 240, 400, 250) + kPi, 1e-6);
}

TEST_F(MovementTest, ThreeRidersLeaveAVehicleAndAllWalkAway) {
  SpriteSet set;
  set.poses.resize(1);
  set.poses[0].directions[4].builtFrames.resize(1);
  set.poses[0].directions[4].sizeX = 64;
  set.poses[0].directions[4].sizeY = 32;
  gameData.spriteSets.push_back(set);
  const std::int32_t vehicle = AddWalker(160, 160);
  A(vehicle).vehicle = 1;
  A(vehicle).parts.resize(1);
  A(vehicle).parts[0].spriteSet = 0;
  A(vehicle).vehicleValue15 = kExitLeft;
  std::vector<std::int32_t> riders;
  projectState.players.resize(1);
  projectState.players[0].mapIndex = w.map();
  for (int k = 0; k < 3; ++k) {
    const std::int32_t r = AddWalker(60.0f + 40.0f * static_cast<float>(k), 400);
    A(r).owningPlayer = 0;
    PartyMember member;
    member.character = r;
    projectState.players[0].party.push_back(member);
    riders.push_back(r);
  }
  EnterVehicle(w.map(), riders[0], vehicle, true);
  ExitVehicle(w.map(), riders[0], -1, false, true);
  for (std::int32_t r : riders) {
    EXPECT_EQ(A(r).vehicleRidden, -1);
    A(r).path = {kNorth, kNorth};
  }
  const std::vector<float> startY{A(riders[0]).y, A(riders[1]).y, A(riders[2]).y};
  Ticks(4);
  for (std::size_t k = 0; k < riders.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_FLOAT_EQ(A(riders[k]).y, startY[k] - 32);
    EXPECT_TRUE(A(riders[k]).path.empty());
  }
}

}  // namespace
}  // namespace kiv
