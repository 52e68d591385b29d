// Position of actors on a built world: placing, transfer to another map,
// memorized places, paths, stored moves and collision tests.
#include <memory>
#include <numbers>
#include <string>

#include "actor_properties_fixture.h"
#include "core/angles.h"
#include "script/script_value_ops.h"
#include "script/waits.h"
#include "data/project_state.h"
#include "world/path_finding.h"
#include "support/world_builder.h"

namespace kiv::test {
namespace {

class ActorPositionTest : public ActorPropertiesTest {
 protected:
  void SetUp() override {
    ActorPropertiesTest::SetUp();
    world_ = std::make_unique<WorldBuilder>(9, 9, 1);
    world_->M().fileName = u"Town";
    bob_ = world_->AddCharacter(48, 48, 0);
    At(bob_).name = u"Character Bob";
    ann_ = world_->AddCharacter(112, 48, 0);
    At(ann_).name = u"Character Ann";
    // A second map of the same ground.
    gameData.maps.Append();
    gameData.maps[1] = gameData.maps[0];
    gameData.maps[1].fileName = u"Cave";
    gameData.maps[1].actors.clear();
  }

  std::unique_ptr<WorldBuilder> world_;
  std::int32_t bob_ = 0, ann_ = 0;
};

std::vector<Variant> Args(std::initializer_list<Variant> values) { return values; }
Variant T(const char16_t* text) { return Variant::Text(text); }
Variant L(std::int32_t n) { return Variant::Long(n); }

TEST_F(ActorPositionTest, PositionOnTheOwnMapByKind) {
  struct Case {
    std::int32_t kind;
    std::vector<Variant> arguments;
    float x, y, z, heading;
  };
  const float east = 0.0f;
  const std::vector<Case> cases = {
      {kObjectCharacter, Args({T(u"Town"), L(64), L(96), L(4), T(u"Right")}), 80, 112, 4, DirectionToAngle(4)},
      {kObjectActor, Args({T(u"Town"), L(0), L(0), L(0), T(u"")}), 16, 16, 0, 1.0f},
      {kObjectTurret, Args({T(u"Town"), L(32), L(32), L(2), T(u"Up")}), 48, 48, 2, DirectionToAngle(2)},
      {kObjectVehicle, Args({T(u"Town"), L(70), L(71), Variant::Double(2.5)}), 70, 71, 0, 2.5f},
      {kObjectDynamic, Args({L(5), L(6), L(7)}), 5, 6, 7, 1.0f},
  };
  (void)east;
  for (const Case& c : cases) {
    At(bob_).x = At(bob_).y = At(bob_).z = 0;
    At(bob_).heading = 1.0f;
    On(c.kind, bob_, u"Position", c.arguments);
    EXPECT_EQ(At(bob_).x, c.x) << c.kind;
    EXPECT_EQ(At(bob_).y, c.y) << c.kind;
    EXPECT_EQ(At(bob_).z, c.z) << c.kind;
    EXPECT_FLOAT_EQ(At(bob_).heading, c.heading) << c.kind;
    EXPECT_EQ(gameData.maps[1].actors.size(), 0u);
  }
}

TEST_F(ActorPositionTest, PositionToAnotherMapLeavesTheOldRecordWhereItWas) {
  At(bob_).heading = 0.5f;
  On(kObjectCharacter, bob_, u"Position", Args({T(u"Cave"), L(64), L(64), L(0), T(u"Down")}));
  ASSERT_EQ(gameData.maps[1].actors.size(), 1u);
  const Actor& moved = gameData.maps[1].actors[0];
  EXPECT_EQ(moved.name, u"Character Bob");
  EXPECT_EQ(moved.x, 80.0f);
  EXPECT_EQ(moved.y, 80.0f);
  EXPECT_FLOAT_EQ(moved.heading, DirectionToAngle(6));
  EXPECT_EQ(At(bob_).x, 48.0f);
  EXPECT_EQ(At(bob_).y, 48.0f);
  EXPECT_EQ(At(bob_).heading, 0.5f);
}

TEST_F(ActorPositionTest, Position2AndPosition3FollowTheirArguments) {
  On(kObjectCharacter, bob_, u"Position2", Args({T(u"Town"), L(64), L(65), L(0), L(9), L(1)}));
  EXPECT_EQ(At(bob_).x, 64.0f);
  EXPECT_EQ(At(bob_).y, 65.0f);
  EXPECT_EQ(At(bob_).z, 0.0f);  // no height without the flag
  On(kObjectCharacter, bob_, u"Position2", Args({T(u"Town"), L(66), L(67), L(1), L(3), T(u"Down")}));
  EXPECT_EQ(At(bob_).z, 3.0f);
  EXPECT_FLOAT_EQ(At(bob_).heading, static_cast<float>(std::numbers::pi / 2));
  On(kObjectCharacter, bob_, u"Position3", Args({T(u"Town"), L(40), L(41), L(2), L(1), Variant::Double(0.25)}));
  EXPECT_EQ(At(bob_).x, 40.0f);
  EXPECT_EQ(At(bob_).y, 41.0f);
  EXPECT_EQ(At(bob_).z, 2.0f);
  EXPECT_EQ(At(bob_).heading, 0.25f);
}

TEST_F(ActorPositionTest, CoordinatesMoveTheFloorAndTheFloorCannotBeSet) {
  At(bob_).floorHeight = 99.0f;
  Assign(kObjectCharacter, bob_, u"X", L(60));
  EXPECT_EQ(At(bob_).x, 60.0f);
  EXPECT_EQ(At(bob_).floorHeight, 0.0f);
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Floor"), Variant::Single(0.0f));
  EXPECT_EQ(Raised([&] { Assign(kObjectCharacter, bob_, u"Floor", L(3)); }),
            "-1 You cannot change the percieved level of the floor.");
}

TEST_F(ActorPositionTest, MemorizedPositions) {
  EXPECT_EQ(Raised([&] { On(kObjectCharacter, bob_, u"PositionMemorized"); }),
            "-1 There is no memorized position for this actor.");
  On(kObjectCharacter, bob_, u"MemorizePosition");
  At(bob_).x = 80;
  On(kObjectCharacter, bob_, u"PositionMemorized");
  EXPECT_EQ(At(bob_).x, 48.0f);
  EXPECT_EQ(At(bob_).memorized, 0);
}

TEST_F(ActorPositionTest, GotoVariantsOnAPathAndWithout) {
  // (200, 200) lies outside the 9 by 9 map: no path to it.
  const std::string cannot = Raised([&] {
    On(kObjectCharacter, bob_, u"Goto", Args({T(u"Town"), L(900), L(900), L(0), T(u"")}));
  });
  EXPECT_NE(cannot.find("cannot walk"), std::string::npos) << cannot;
  EXPECT_EQ(On(kObjectCharacter, bob_, u"Goto2", Args({T(u"Town"), L(900), L(900), L(0), T(u""), L(0)})).value, L(0));
  EXPECT_EQ(Raised([&] {
              On(kObjectCharacter, bob_, u"GotoClose", Args({T(u"Town"), L(900), L(900), L(0), T(u""), L(0)}));
            }),
            "no error");
  // A resolver error still raises.
  EXPECT_EQ(Raised([&] {
              On(kObjectCharacter, bob_, u"Goto2", Args({T(u"main"), L(900), L(900), L(0), T(u""), L(0)}));
            }).rfind("-1 ", 0),
            0u);
  EXPECT_EQ(On(kObjectCharacter, bob_, u"Goto2", Args({T(u"Town"), L(144), L(48), L(0), T(u""), L(0)})).value, L(1));
  EXPECT_FALSE(At(bob_).path.empty());
  EXPECT_EQ(On(kObjectCharacter, ann_, u"Goto2", Args({T(u"Cave"), L(10), L(20), L(0), T(u""), L(0)})).value, L(1));
  ASSERT_EQ(gameData.maps[1].actors.size(), 1u);
  EXPECT_EQ(gameData.maps[1].actors[0].x, 10.0f);
}

TEST_F(ActorPositionTest, StepListsLeaveTheStoredPathAlone) {
  At(bob_).path = {7, 8, 9};
  At(ann_).y = 240;  // out of the way
  const Variant words = Read(kObjectCharacter, bob_, u"PathWalk", Args({L(176), L(48), L(0), L(0)}));
  ASSERT_TRUE(words.IsArray());
  ASSERT_FALSE(words.Elements().empty());
  for (const Variant& word : words.Elements()) EXPECT_EQ(Utf16ToUtf8(VarToText(word)), "Right");
  EXPECT_EQ(At(bob_).path, (std::vector<std::int32_t>{7, 8, 9}));
  const Variant none = Read(kObjectCharacter, bob_, u"PathWalk", Args({L(900), L(900), L(0), L(0)}));
  EXPECT_TRUE(none.IsArray());
  EXPECT_TRUE(none.Elements().empty());
  EXPECT_EQ(At(bob_).path, (std::vector<std::int32_t>{7, 8, 9}));
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"DirectionWalk", Args({L(48), L(176), L(0), L(0)})), T(u"Down"));
}

TEST_F(ActorPositionTest, MoveDirectionSetsTheStepAndClearsThePath) {
  At(bob_).path = {1, 2};
  At(bob_).stepTarget = 3;
  At(bob_).stepLeft = 9;
  On(kObjectCharacter, bob_, u"MoveDirection", Args({T(u""), L(5), L(1)}));
  EXPECT_EQ(At(bob_).stepLeft, 0);
  EXPECT_TRUE(At(bob_).path.empty());
  EXPECT_EQ(At(bob_).stepTarget, -1);

  At(bob_).path = {1, 2};
  On(kObjectCharacter, bob_, u"MoveDirection", Args({T(u"Left"), L(32), L(1)}));
  EXPECT_EQ(At(bob_).stepDirection, 0);
  EXPECT_EQ(At(bob_).stepLeft, 32);
  EXPECT_FLOAT_EQ(At(bob_).heading, DirectionToAngle(0));
  EXPECT_TRUE(At(bob_).path.empty());
  // The swept box of the step reaches 32 pixels to the left of the footprint.
  EXPECT_EQ(At(bob_).stepRect.left, 48 - 8 - 32);
}

TEST_F(ActorPositionTest, MoveSizesThePathByTheCellSize) {
  struct Case {
    std::int32_t cell;
    std::vector<std::int32_t> path;
  };
  const Case cases[] = {
      {16, {5, 5, 3, 3}},
      {8, {0, 0, 0, 0, 5, 5, 3, 3}},
      {32, {3, 3}},
      {0, {}},
      {-16, {}},
      {64, {}},
  };
  for (const Case& c : cases) {
    dataSettings.gridCellSize = c.cell;
    At(bob_).path = {9};
    On(kObjectCharacter, bob_, u"Move", Args({L(3), L(5)}));
    EXPECT_EQ(At(bob_).path, c.path) << c.cell;
  }
  dataSettings.gridCellSize = 16;
  On(kObjectCharacter, bob_, u"Move");
  EXPECT_TRUE(At(bob_).path.empty());
}

TEST_F(ActorPositionTest, ChangeRouteAndWaitMove) {
  At(bob_).routePosition = 2;
  On(kObjectCharacter, bob_, u"ChangeRoute", Args({L(17), T(u"257")}));
  EXPECT_EQ(At(bob_).route, (std::vector<std::int32_t>{17, 257}));
  EXPECT_EQ(At(bob_).routePosition, 0);

  const ScriptValue request = On(kObjectCharacter, ann_, u"WaitMove");
  EXPECT_EQ(request.kind, kValueControl);
  EXPECT_EQ(request.value, ScriptMakeWaitRequest(1, 0, ann_, 0, 0, Variant::Long(-1), -1, -1, -1));
}

TEST_F(ActorPositionTest, CollisionTestsAtASupposedPlace) {
  struct Case {
    const char16_t* map;
    std::int32_t x, y;
    std::int32_t expected;
  };
  const Case cases[] = {
      {u"Town", 48, 48, 0},    // its own place: the actor leaves itself out
      {u"Town", 112, 48, 1},   // where Ann stands
      {u"Town", 120, 52, 1},   // overlapping Ann
      {u"Town", 160, 160, 0},  // free ground
      {u"Cave", 112, 48, 0},   // Ann is not in the cave
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(kObjectCharacter, bob_, u"Collision", Args({T(c.map), L(c.x), L(c.y), L(0), L(0)})),
              L(c.expected))
        << Utf16ToUtf8(c.map) << " " << c.x;
  }
  const Case withAnn[] = {
      {u"Town", 112, 48, 1},
      {u"Town", 160, 160, 0},
      {u"Cave", 112, 48, 0},  // Ann is on another map than the one tested: no test
  };
  for (const Case& c : withAnn) {
    EXPECT_EQ(Read(kObjectCharacter, bob_, u"CollisionActor",
                   Args({T(c.map), L(c.x), L(c.y), L(0), L(0), T(u"|Town:Character Ann")})),
              L(c.expected))
        << Utf16ToUtf8(c.map) << " " << c.x;
  }
}

// The arrival of a party member runs the map's entry script, which here adds
// hundreds of actors to both maps (their lists move in memory) before the old
// record gets its place back.
TEST_F(ActorPositionTest, ATransferWhoseArrivalAddsHundredsOfActorsStaysSound) {
  projectState.players.resize(1);
  projectState.players[0].mapIndex = 0;
  projectState.players[0].party.resize(1);
  projectState.players[0].party[0].character = bob_;
  gameData.maps[1].eventScripts = {MakeScript(u"Spawn")};
  const ScriptExecutor previous = scriptHooks.internalExecutor;
  std::int32_t spawned = 0;
  scriptHooks.internalExecutor = [&](std::int32_t code, ScriptValue& object, std::int32_t upper, ScriptValue& result,
                                     std::int16_t mode, const Variant& value, bool lastToken) {
    if (SymbolName(code) != u"Spawn") {
      previous(code, object, upper, result, mode, value, lastToken);
      return;
    }
    for (int n = 0; n < 300; ++n) {
      for (const std::int32_t map : {0, 1}) {
        Actor extra;
        extra.name = u"Character Extra";
        gameData.maps[map].actors.push_back(std::move(extra));
      }
    }
    ++spawned;
  };
  At(bob_).heading = 0.5f;
  On(kObjectCharacter, bob_, u"Position", Args({T(u"Cave"), L(64), L(64), L(0), T(u"Down")}));
  EXPECT_EQ(spawned, 1);
  ASSERT_EQ(gameData.maps[1].actors.size(), 301u);
  EXPECT_EQ(gameData.maps[1].actors[0].name, u"Character Bob");
  EXPECT_EQ(gameData.maps[1].actors[0].x, 80.0f);
  EXPECT_EQ(At(bob_).x, 48.0f);
  EXPECT_EQ(At(bob_).heading, 0.5f);
  EXPECT_EQ(projectState.players[0].mapIndex, 1);
}

}  // namespace
}  // namespace kiv::test
