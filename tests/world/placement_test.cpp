#include <gtest/gtest.h>

#include "data/data_hooks.h"
#include "data/project_state.h"
#include "mathkiv/collision_grid.h"
#include "script/call_frame.h"
#include "script/timed_changes.h"
#include "support/world_builder.h"
#include "world/hit_lists.h"
#include "world/placement.h"
#include "world/reference_fields.h"
#include "world/relations.h"

namespace kiv {
namespace {

struct FloorCase {
  const char* name;
  float x, y;
  Box shape;
  bool flat;
  float expected;
};

TEST(FloorHeight, Table) {
  const FloorCase cases[] = {
      {"narrow footprint", 40, 40, Box{0, 0, 1, 10, 0, 10}, false, 0.0f},
      {"highest of the four samples", 36, 36, Box{-8, -8, 8, 8, 0, 10}, false, 24.5f},
      {"on a tile edge the next corner weighs 0", 32, 32, Box{0, 0, 2, 2, 0, 10}, false, 32.0f},
      {"last column reads corner width + 1", 94, 94, Box{0, 0, 2, 2, 0, 10}, false, 60.0625f},
      {"off the grid", -200, -200, Box{-8, -8, 8, 8, 0, 10}, false, kUnknownFloor},
      {"off the grid on flat ground", -200, -200, Box{-8, -8, 8, 8, 0, 10}, true, 0.0f},
      {"left of the map within a tile", -20, 40, Box{-8, -8, 8, 8, 0, 10}, false, kUnknownFloor},
  };
  for (const FloorCase& c : cases) {
    test::WorldBuilder w(2, 2, 0);
    w.SetCornerHeight(1, 1, 32.0f);
    w.SetCornerHeight(3, 3, 64.0f);
    w.M().flags[2] = c.flat ? 1 : 0;
    const std::int32_t a = w.AddCharacter(c.x, c.y, 0, c.shape);
    UpdateCharacterFloorHeight(w.map(), a);
    const Actor& actor = w.M().actors[static_cast<std::size_t>(a)];
    EXPECT_FLOAT_EQ(actor.floorHeight, c.expected) << c.name;
    EXPECT_EQ(actor.floorKnown, 1) << c.name;
  }
}

TEST(FloorHeight, DriverTakesTheVehiclePosition) {
  test::WorldBuilder w(2, 2, 0);
  const std::int32_t vehicle = w.AddCharacter(40, 50, 3);
  const std::int32_t driver = w.AddCharacter(0, 0, 0);
  w.M().actors[static_cast<std::size_t>(vehicle)].driver = driver;
  w.M().actors[static_cast<std::size_t>(driver)].vehicleRidden = vehicle;
  UpdateCharacterFloorHeight(w.map(), vehicle);
  const Actor& d = w.M().actors[static_cast<std::size_t>(driver)];
  EXPECT_EQ(d.x, 40.0f);
  EXPECT_EQ(d.y, 50.0f);
  EXPECT_EQ(d.z, 3.0f);
}

TEST(Snapping, RoundsHalvesToEven) {
  test::WorldBuilder w(9, 9, 0, 16);
  std::int32_t s = 0;
  EXPECT_TRUE(SnapToPathGrid(24.0, s));
  EXPECT_EQ(s, 32);  // 1.5 -> 2
  EXPECT_TRUE(SnapToPathGrid(40.0, s));
  EXPECT_EQ(s, 32);  // 2.5 -> 2
  dataSettings.gridOrigin = 4;
  EXPECT_TRUE(SnapToPathGrid(28.0, s));
  EXPECT_EQ(s, 36);  // (28 - 4) / 16 = 1.5 -> 2
  dataSettings.gridCellSize = 0;
  EXPECT_FALSE(SnapToPathGrid(28.0, s));
}

TEST(Snapping, FirstRingInOrderThenWideRing) {
  test::WorldBuilder w(19, 19, 0, 16);
  const std::int32_t a = w.AddCharacter(161, 159, 0, Box{-4, -4, 4, 4, 0, 10});
  // Block the snapped point (160, 160) only.
  w.M().boundaries.push_back(test::MakeBoxShape(Box{158, 158, 162, 162, 0, 10}));
  EXPECT_TRUE(SnapCharacterToGrid(w.map(), a, -1));
  EXPECT_EQ(w.M().actors[0].x, 144.0f);  // dx -16 first, dy -16 first
  EXPECT_EQ(w.M().actors[0].y, 144.0f);
  // Block the whole first ring: the wide ring (32 px) takes over.
  w.M().actors[0].x = 161;
  w.M().actors[0].y = 159;
  w.M().boundaries.push_back(test::MakeBoxShape(Box{140, 140, 180, 180, 0, 10}));
  EXPECT_TRUE(SnapCharacterToGrid(w.map(), a, -1));
  EXPECT_EQ(w.M().actors[0].x, 128.0f);
  EXPECT_EQ(w.M().actors[0].y, 128.0f);
}

TEST(Snapping, CellOf32AddsNoWideRingAndFailureKeepsThePosition) {
  test::WorldBuilder w(19, 19, 0, 32);
  const std::int32_t a = w.AddCharacter(161, 159, 0, Box{-4, -4, 4, 4, 0, 10});
  w.M().boundaries.push_back(test::MakeBoxShape(Box{120, 120, 200, 200, 0, 10}));
  EXPECT_FALSE(SnapCharacterToGrid(w.map(), a, -1));
  EXPECT_EQ(w.M().actors[0].x, 161.0f);
  EXPECT_EQ(w.M().actors[0].y, 159.0f);
}

TEST(Relations, PredicatesAndMotionState) {
  test::WorldBuilder w(3, 3, 0);
  test::WorldBuilder::SetTeams({{1, -1}, {1, 1}});
  EXPECT_FALSE(IsTeamHostile(0, 0));
  EXPECT_TRUE(IsTeamHostile(0, 1));
  EXPECT_FALSE(IsTeamHostile(1, 0));
  EXPECT_FALSE(IsTeamHostile(-1, 1));
  EXPECT_FALSE(IsTeamHostile(0, 5));

  struct Case {
    std::uint8_t noRect, removed, noDraw;
    std::int32_t ridden, state;
    bool collidable, collidableDead, visible;
  };
  const Case cases[] = {
      {0, 0, 0, -1, 0, true, true, true},   {1, 0, 0, -1, 0, false, false, true},
      {0, 1, 0, -1, 0, false, false, false}, {0, 0, 1, -1, 0, true, true, false},
      {0, 0, 0, 2, 0, false, false, false},  {0, 0, 0, -1, 3, false, true, true},
  };
  for (const Case& c : cases) {
    const std::int32_t a = w.AddCharacter(10, 10, 0);
    Actor& actor = w.M().actors[static_cast<std::size_t>(a)];
    actor.noRect = c.noRect;
    actor.removed = c.removed;
    actor.noDraw = c.noDraw;
    actor.vehicleRidden = c.ridden;
    actor.state = c.state;
    EXPECT_EQ(IsCharacterCollidable(w.map(), a, false), c.collidable) << a;
    EXPECT_EQ(IsCharacterCollidable(w.map(), a, true), c.collidableDead) << a;
    EXPECT_EQ(IsCharacterVisible(w.map(), a), c.visible) << a;
  }

  struct MotionCase {
    float force, motion;
    std::uint8_t flag;
    std::int32_t expected;
  };
  const MotionCase motions[] = {
      {0.0f, 0.0f, 0, 0},     {0.0f, 0.0f, 1, 1},      {-0.00125f, 0.05f, 0, 0},
      {-0.00125f, -0.5f, 0, -1}, {-0.00125f, -0.5f, 1, -1}, {-0.01f, -0.5f, 0, 0},
      {-0.00125f, 0.5f, 1, 1},
  };
  Actor mover;
  for (const MotionCase& c : motions) {
    w.M().mapValueAC = c.force;
    mover.velocityZ = c.motion;
    mover.airborne = c.flag;
    EXPECT_EQ(CharacterMotionState(w.M(), mover), c.expected) << c.force << " " << c.motion << " " << int{c.flag};
  }
}

TEST(PaintPath, PaintsTheFourKindsOverTheStaticGrid) {
  test::WorldBuilder w(7, 7, 0, 32);
  test::WorldBuilder::SetTeams({{1, 1}, {1, 1}});
  w.M().staticCollision.At(7, 7, 1) = 1;
  const std::int32_t mover = w.AddCharacter(16, 16, 0, Box{-8, -8, 8, 8, 0, 20}, 0);
  w.AddCharacter(48, 16, 0, Box{-8, -8, 8, 8, 0, 20}, 1);   // friend
  w.AddCharacter(80, 16, 0, Box{-8, -8, 8, 8, 0, 20}, -1);  // stepping stranger
  w.M().actors[2].moveCommand[1] = 8;
  w.M().actors[2].stepRect = Box{96, 0, 128, 32, 0, 20};
  w.AddDoor(0, 32, 0);            // leaf y 90..96
  w.AddDoor(32, 32, 1);           // opens: left free
  w.AddPickUp(176, 16);
  const std::int32_t taken = w.AddPickUp(208, 16);
  w.M().pickUps[static_cast<std::size_t>(taken)].respawnCountdown = 5000;  // taken, comes back later
  w.AddZone(Box{0, 128, 32, 160, 0, 20}, true);
  w.AddZone(Box{32, 128, 64, 160, 0, 20}, false);
  PaintPathCollision(w.map(), mover, -1, true);
  const ByteGrid3& g = w.M().workingCollision;
  EXPECT_EQ(g.At(7, 7, 1), 1);  // the static grid's own
  EXPECT_EQ(g.At(0, 0, 1), 0);  // the mover
  EXPECT_EQ(g.At(1, 0, 1), 0);  // its friend
  EXPECT_EQ(g.At(2, 0, 1), 1);
  EXPECT_EQ(g.At(3, 0, 1), 1);  // the step box
  EXPECT_EQ(g.At(0, 2, 1), 1);  // the closed door
  EXPECT_EQ(g.At(1, 2, 1), 0);
  EXPECT_EQ(g.At(5, 0, 1), 1);
  EXPECT_EQ(g.At(6, 0, 1), 0);
  EXPECT_EQ(g.At(0, 4, 1), 1);
  EXPECT_EQ(g.At(1, 4, 1), 0);
  PaintPathCollision(w.map(), mover, -1, false);
  EXPECT_EQ(w.M().workingCollision.At(1, 0, 1), 1);
}

class MoveBetweenMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    second = gameData.maps.Append();
    Map& m2 = gameData.maps[second];
    m2.width = 3;
    m2.height = 3;
    m2.layerCount = 0;
    m2.heightGrid.assign(25, 0.0f);
    dataHooks.RefreshViewedMaps = [this](std::int32_t) { steps.push_back("refresh"); };
    dataHooks.GenerateMapData = [this](std::int32_t map, bool) { steps.push_back("generate " + std::to_string(map)); };
  }
  void TearDown() override {
    dataHooks.Reset();
    timedChanges.clear();
  }

  test::WorldBuilder w{3, 3, 0};
  std::int32_t second = -1;
  std::vector<std::string> steps;
};

TEST_F(MoveBetweenMaps, SameMapKeepsTheIndex) {
  const std::int32_t a = w.AddCharacter(41, 23, 0);
  Actor& actor = w.M().actors[0];
  actor.path = {1, 2};
  actor.moveCommand[1] = 5;
  actor.state = 1;
  EXPECT_EQ(SetCharacterPosition(a, w.map(), w.map(), false, false), a);
  EXPECT_TRUE(actor.path.empty());
  EXPECT_EQ(actor.moveCommand[1], 0);
  EXPECT_EQ(actor.state, 0);
  EXPECT_EQ(actor.gridX, 48);
  EXPECT_EQ(actor.gridY, 16);
  EXPECT_TRUE(steps.empty());
}

TEST_F(MoveBetweenMaps, PartyOfThreeFollowsTheMovedCharacter) {
  w.AddCharacter(10, 10, 0);  // not in the party
  const std::int32_t lead = w.AddCharacter(50, 60, 0);
  const std::int32_t second_member = w.AddCharacter(70, 60, 0);
  const std::int32_t third = w.AddCharacter(90, 60, 0);
  // The second member follows the lead, the third follows the second.
  w.M().actors[static_cast<std::size_t>(second_member)].targetActor = lead;
  w.M().actors[static_cast<std::size_t>(third)].targetActor = second_member;
  gameData.maps[second].actors.resize(2);
  Player player;
  player.mapIndex = w.map();
  player.controlledMember = 0;
  for (std::int32_t c : {lead, second_member, third}) {
    PartyMember m;
    m.character = c;
    player.party.push_back(m);
  }
  projectState.players.assign(4, Player());
  projectState.players[0] = player;
  gameData.maps[second].partyArrived = 1;
  // The lead came from a spawn and had an enemy in sight: leaving the map
  // counts it as departed and forgets the enemy.
  for (std::int32_t c : {lead, second_member, third}) {
    w.M().actors[static_cast<std::size_t>(c)].name = u"Member";
    w.M().actors[static_cast<std::size_t>(c)].owningPlayer = 0;
  }
  w.M().spawns.resize(1);
  SpawnedBy(w.M().actors[static_cast<std::size_t>(lead)]) = 0;
  EnemyInSight(w.M().actors[static_cast<std::size_t>(lead)]) = 0;
  TimedChange change;
  change.target = ScriptValue{kObjectCharacter, Variant::Long(lead), w.map()};
  change.arguments.push_back(ScriptValue{kObjectActor, Variant::Long(third), w.map()});
  timedChanges.push_back(change);

  const std::int32_t index = SetCharacterPosition(lead, w.map(), second, false, true);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(gameData.maps[second].actors.size(), 5u);
  EXPECT_EQ(steps, (std::vector<std::string>{"generate 1", "generate 1", "generate 1", "refresh"}));
  // The three old slots are emptied; the character outside the party stays.
  for (std::int32_t c : {lead, second_member, third}) {
    const Actor& left = w.M().actors[static_cast<std::size_t>(c)];
    EXPECT_EQ(left.removed, 1) << c;
    EXPECT_TRUE(left.name.empty()) << c;
    EXPECT_EQ(left.owningPlayer, -1) << c;
  }
  EXPECT_EQ(w.M().actors[0].removed, 0);
  EXPECT_EQ(w.M().spawns[0].departedCount, 1);
  EXPECT_EQ(EnemyInSight(gameData.maps[second].actors[2]), -1);
  const Player& moved = projectState.players[0];
  EXPECT_EQ(moved.mapIndex, second);
  EXPECT_EQ(moved.party[0].character, 2);
  EXPECT_EQ(moved.party[1].character, 3);
  EXPECT_EQ(moved.party[2].character, 4);
  EXPECT_EQ(gameData.maps[second].partyArrived, 0);
  EXPECT_EQ(w.M().actors[static_cast<std::size_t>(lead)].movedTo, 2);
  // Each follower follows its own leader by its new index.
  EXPECT_EQ(gameData.maps[second].actors[3].targetActor, 2);
  EXPECT_EQ(gameData.maps[second].actors[4].targetActor, 3);
  // The members came to the lead's place and took grid points of their own.
  for (std::size_t k : {3u, 4u}) {
    const Actor& member = gameData.maps[second].actors[k];
    EXPECT_FALSE(member.x == 50.0f && member.y == 60.0f) << k;
    EXPECT_EQ(static_cast<std::int32_t>(member.x) % 16, 0) << k;
    EXPECT_EQ(static_cast<std::int32_t>(member.y) % 16, 0) << k;
  }
  EXPECT_EQ(timedChanges[0].target, (ScriptValue{kObjectCharacter, Variant::Long(2), second}));
  // The party member moved too, so its reference follows it.
  EXPECT_EQ(timedChanges[0].arguments[0], (ScriptValue{kObjectActor, Variant::Long(4), second}));
}

TEST_F(MoveBetweenMaps, SelfDrivingCharacterMovesOnce) {
  const std::int32_t a = w.AddCharacter(50, 60, 0);
  w.M().actors[0].driver = a;
  w.M().actors[0].vehicleRidden = a;
  EXPECT_EQ(SetCharacterPosition(a, w.map(), second, true, true), 0);
  EXPECT_EQ(gameData.maps[second].actors.size(), 1u);
}

}  // namespace
}  // namespace kiv
