// Characters and zones leaving play in their slots: the events they raise,
// the spawn count, the references cleared, and a vehicle's occupant put out.
#include "world/object_removal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "core/number_text.h"
#include "data/data_hooks.h"
#include "data/project_state.h"
#include "script/trigger_engine_fixture.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"
#include "world/reference_fields.h"
#include "world/vehicles.h"

namespace kiv {
namespace {

using test::TriggerEngineTest;

constexpr std::int32_t kLeftActor = 547;
constexpr std::int32_t kZoneLeftActor = 571;
constexpr std::size_t kOneSidedFlag = 9;

class RemovalEventsTest : public TriggerEngineTest {
 protected:
  Actor& A(std::int32_t i) { return gameData.maps[0].actors[static_cast<std::size_t>(i)]; }
  // A zone of map 0 whose LeftActor trigger marks the number.
  std::int32_t AddZone(int mark) {
    const std::int32_t holder = AddActor(kZoneLeftActor, u"Mark(" + std::u16string(1, char16_t(u'0' + mark)) + u")");
    Zone zone;
    zone.triggers = A(holder).triggers;
    A(holder).triggers.clear();
    gameData.maps[0].zones.push_back(zone);
    return static_cast<std::int32_t>(gameData.maps[0].zones.size()) - 1;
  }
  std::vector<std::int32_t> MarkNumbers() const {
    std::vector<std::int32_t> numbers;
    for (const Variant& mark : Marks()) numbers.push_back(static_cast<std::int32_t>(ToNumber(mark)));
    return numbers;
  }
};

TEST_F(RemovalEventsTest, EachTouchedCharacterHearsThatTheCharacterLeft) {
  struct Case {
    bool oneSided;
    std::vector<std::int32_t> marks;
  };
  const std::vector<Case> cases = {{false, {1, 0, 2, 0}}, {true, {1, 2}}};
  const std::int32_t c = AddActor(kLeftActor, u"Mark(0)");
  const std::int32_t o1 = AddActor(kLeftActor, u"Mark(1)");
  const std::int32_t o2 = AddActor(kLeftActor, u"Mark(2)");
  for (const Case& k : cases) {
    SCOPED_TRACE(k.oneSided);
    calls_.clear();
    storedProjectSettings.flags[kOneSidedFlag] = k.oneSided ? -1 : 0;
    TouchingActors(A(c)) = {{o1, 100}, {-1, 0}, {o2, 100}};
    RemoveCharacterFromPlay(0, c);
    EXPECT_EQ(MarkNumbers(), k.marks);
    EXPECT_TRUE(TouchingActors(A(c)).empty());
  }
}

TEST_F(RemovalEventsTest, AZoneListedTwiceHearsTwice) {
  const std::int32_t zone = AddZone(5);
  const std::int32_t c = AddActor(600, u"Mark(9)");
  TouchingZones(A(c)) = {{zone, 0}, {zone, 0}, {7, 0}, {-1, 0}};  // 7 is no zone
  RemoveCharacterFromPlay(0, c);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{5, 5}));
  EXPECT_TRUE(TouchingZones(A(c)).empty());
}

TEST_F(RemovalEventsTest, RemovingAZoneTakesEveryEntryOfItOutOfEveryCharacter) {
  const std::int32_t zone = AddZone(5);
  const std::int32_t keep = AddZone(6);
  const std::int32_t a = AddActor(600, u"Mark(9)");
  const std::int32_t b = AddActor(600, u"Mark(9)");
  TouchingZones(A(a)) = {{zone, 0}, {keep, 0}, {zone, 0}};
  TouchingZones(A(b)) = {{zone, 0}};
  playerInputStates[0].targetMap = 0;
  playerInputStates[0].targetKind = kOwnerZone;
  playerInputStates[0].targetIndex = zone;
  RemoveZoneFromPlay(0, zone);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{5, 5, 5}));
  ASSERT_EQ(TouchingZones(A(a)).size(), 1u);
  EXPECT_EQ(TouchingZones(A(a))[0].first, keep);
  EXPECT_TRUE(TouchingZones(A(b)).empty());
  EXPECT_EQ(playerInputStates[0].targetIndex, -1);
  playerInputStates[0] = PlayerInputState();
}

TEST_F(RemovalEventsTest, TheSpawnCountsTheDepartureAndOnlyReferencesToTheSlotChange) {
  const std::int32_t c = AddActor(600, u"Mark(9)");
  const std::int32_t next = AddActor(600, u"Mark(9)");
  gameData.maps[0].spawns.resize(2);
  SpawnedBy(A(c)) = 1;
  EnemyInSight(A(c)) = next;
  MoveTargetActor(A(c)) = next;
  LastAttacker(A(next)) = c;
  EnemyInSight(A(next)) = next;
  TimedChange change;
  change.target = ScriptValue{kObjectCharacter, Variant::Long(next), 0};
  timedChanges.push_back(change);
  change.target.value = Variant::Long(c);
  timedChanges.push_back(change);
  WaitingScript wait;
  wait.map = 0;
  wait.actor = c;
  waitingScripts.push_back(wait);

  RemoveCharacterFromPlay(0, c);

  EXPECT_EQ(gameData.maps[0].spawns[1].departedCount, 1);
  EXPECT_EQ(gameData.maps[0].spawns[0].departedCount, 0);
  EXPECT_EQ(waitingScripts[0].actor, -1);
  EXPECT_EQ(LastAttacker(A(next)), -1);
  EXPECT_EQ(EnemyInSight(A(next)), next);
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(next));
  EXPECT_EQ(timedChanges[1].target.value, Variant::Long(c));  // removal in place: timed changes stay
  EXPECT_EQ(EnemyInSight(A(c)), -1);
  EXPECT_EQ(MoveTargetActor(A(c)), -1);
  EXPECT_EQ(SpawnedBy(A(c)), -1);
  waitingScripts.clear();
  timedChanges.clear();
}

TEST_F(RemovalEventsTest, AnEmptiedSlotIsMarkedForTheRemovalPass) {
  const std::int32_t c = AddActor(600, u"Mark(9)");
  A(c).name = u"Character Bob";
  A(c).owningPlayer = 2;
  EXPECT_LT(RemoveMark(A(c)), 0);
  ClearCharacterSlot(0, c);
  EXPECT_EQ(A(c).name, u"");
  EXPECT_EQ(A(c).removed, 1);
  EXPECT_EQ(RemoveMark(A(c)), 0);
  EXPECT_EQ(A(c).owningPlayer, -1);
  ClearCharacterSlot(0, 40);  // outside the list: nothing
  RemoveCharacterFromPlay(3, 0);
}

// A vehicle at (256, 256) driven by a player's character, with a second
// party member on board and the input sets recorded.
class VehicleRemovalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataHooks.Reset();
    dataHooks.SetInputSetEnabled = [this](std::int32_t player, std::int32_t set, bool enabled) {
      inputSets_.emplace_back(player, set, enabled);
    };
    vehicle_ = w.AddCharacter(256, 256, 0);
    driver_ = w.AddCharacter(100, 100, 0);
    rider_ = w.AddCharacter(120, 100, 0);
    A(vehicle_).vehicle = 1;
    A(vehicle_).driver = driver_;
    A(driver_).vehicleRidden = vehicle_;
    A(rider_).vehicleRidden = vehicle_;
    projectState.players.resize(1);
    projectState.players[0].mapIndex = 0;
    for (std::int32_t m : {driver_, rider_}) {
      PartyMember member;
      member.character = m;
      projectState.players[0].party.push_back(member);
      A(m).owningPlayer = 0;
    }
    projectState.settings.inputSets[0].index = 2;
    projectState.settings.inputSets[2].index = 3;
    projectState.settings.inputSets[3].index = -1;
  }
  void TearDown() override { dataHooks.Reset(); }
  Actor& A(std::int32_t i) { return w.M().actors[static_cast<std::size_t>(i)]; }
  void ExpectOutAtTheVehicle(std::int32_t m) {
    EXPECT_EQ(A(m).vehicleRidden, -1);
    EXPECT_LE(std::fabs(A(m).x - 256.0f), 48.0f);
    EXPECT_LE(std::fabs(A(m).y - 256.0f), 48.0f);
  }

  test::WorldBuilder w{15, 15, 1};
  std::int32_t vehicle_ = -1, driver_ = -1, rider_ = -1;
  std::vector<std::tuple<std::int32_t, std::int32_t, bool>> inputSets_;
};

TEST_F(VehicleRemovalTest, AScriptRemovingTheVehicleSetsThePartyWalking) {
  RemoveCharacterFromPlay(0, vehicle_);
  ExpectOutAtTheVehicle(driver_);
  ExpectOutAtTheVehicle(rider_);
  EXPECT_EQ(A(vehicle_).driver, -1);
  const std::vector<std::tuple<std::int32_t, std::int32_t, bool>> expected = {{0, 3, false}, {0, 2, true}};
  EXPECT_EQ(inputSets_, expected);
}

TEST_F(VehicleRemovalTest, AnOccupantThatBoardsAgainKeepsItsVehicleInputSets) {
  {
    OccupantReboardsScope reboards;
    RemoveCharacterFromPlay(0, vehicle_);
  }
  ExpectOutAtTheVehicle(driver_);
  EXPECT_EQ(A(vehicle_).driver, -1);
  EXPECT_TRUE(inputSets_.empty());
}

TEST_F(VehicleRemovalTest, ARiderRemovedLeavesTheVehicleWalking) {
  A(vehicle_).driver = driver_;
  RemoveCharacterFromPlay(0, driver_);
  EXPECT_EQ(A(driver_).vehicleRidden, -1);
  EXPECT_EQ(A(vehicle_).driver, -1);
}

}  // namespace
}  // namespace kiv
