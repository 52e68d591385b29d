#include "world/vehicles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/angles.h"
#include "data/data_hooks.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "player/start_window.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"
#include "world/movement_fields.h"
#include "world/movement_setup.h"
#include "world/placement.h"

namespace kiv {
namespace {

// A 512 x 512 map with a vehicle at (256, 256) facing east whose sprite is 64
// wide and 32 long, input sets recorded and the voice recorded.
class VehicleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataHooks.Reset();
    dataHooks.SetInputSetEnabled = [this](std::int32_t player, std::int32_t set, bool enabled) {
      inputSets_.emplace_back(player, set, enabled);
    };
    startWindowDevices.Reset();
    startWindowDevices.SpeechSpeak = [this](const std::u16string& text, std::int32_t) { spoken_.push_back(text); };
    playerSettings.voiceEnabled = true;
    SpriteSet set;
    set.poses.resize(1);
    SpriteDirection& east = set.poses[0].directions[4];
    east.builtFrames.resize(1);
    east.sizeX = 64;
    east.sizeY = 32;
    gameData.spriteSets.push_back(set);
    vehicle_ = w.AddCharacter(256, 256, 0);
    Actor& v = V();
    v.vehicle = 1;
    v.parts.resize(1);
    v.parts[0].spriteSet = 0;
    v.vehicleValue15 = 15;
  }
  void TearDown() override {
    startWindowDevices.Reset();
    dataHooks.Reset();
    playerSettings.voiceEnabled = false;
  }

 public:
  Actor& A(std::int32_t i) { return w.M().actors[static_cast<std::size_t>(i)]; }
  Actor& V() { return A(vehicle_); }

 protected:
  // A player 0 with a party of the given characters.
  void MakeParty(std::initializer_list<std::int32_t> members) {
    projectState.players.resize(1);
    projectState.players[0].mapIndex = w.map();
    for (std::int32_t m : members) {
      PartyMember member;
      member.character = m;
      projectState.players[0].party.push_back(member);
      A(m).owningPlayer = 0;
    }
    projectState.settings.inputSets[0].index = 2;
    projectState.settings.inputSets[2].index = 3;
    projectState.settings.inputSets[3].index = -1;
  }

  test::WorldBuilder w{15, 15, 1};
  std::int32_t vehicle_ = -1;
  std::vector<std::tuple<std::int32_t, std::int32_t, bool>> inputSets_;
  std::vector<std::u16string> spoken_;
};

TEST_F(VehicleTest, BoardingOnlyWhenEveryConditionHolds) {
  struct Case {
    const char* what;
    std::function<void(VehicleTest&, std::int32_t rider)> setUp;
    bool boards;
  };
  const std::vector<Case> cases = {
      {"free rider, free boardable vehicle", [](VehicleTest&, std::int32_t) {}, true},
      {"rider already rides", [](VehicleTest& t, std::int32_t r) { t.A(r).vehicleRidden = 7; }, false},
      {"rider operates a turret", [](VehicleTest& t, std::int32_t r) { t.A(r).turretOperated = 7; }, false},
      {"vehicle has a driver", [](VehicleTest& t, std::int32_t) { t.V().driver = 5; }, false},
      {"vehicle cannot be boarded", [](VehicleTest& t, std::int32_t) { t.V().vehicle = 0; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    V() = Actor(V());
    V().driver = -1;
    V().vehicle = 1;
    const std::int32_t rider = w.AddCharacter(100, 100, 0);
    c.setUp(*this, rider);
    const std::int32_t ridden = A(rider).vehicleRidden;
    EnterVehicle(w.map(), rider, vehicle_, false);
    EXPECT_EQ(A(rider).vehicleRidden, c.boards ? vehicle_ : ridden);
    if (c.boards) {
      EXPECT_EQ(V().driver, rider);
    }
  }
  EXPECT_TRUE(inputSets_.empty());  // no player's character boarded
}

TEST_F(VehicleTest, ACharacterCannotBoardItself) {
  Actor& v = V();
  v.turret = 1;
  EnterVehicle(w.map(), vehicle_, vehicle_, false);
  EnterTurret(w.map(), vehicle_, vehicle_);
  EXPECT_EQ(V().vehicleRidden, -1);
  EXPECT_EQ(V().turretOperated, -1);
  EXPECT_EQ(V().driver, -1);
}

TEST_F(VehicleTest, APlayersWholePartyRidesAndInputSetsSwitch) {
  const std::int32_t a = w.AddCharacter(100, 100, 0);
  const std::int32_t b = w.AddCharacter(140, 100, 0);
  const std::int32_t stranger = w.AddCharacter(180, 100, 0);
  MakeParty({a, b});
  EnterVehicle(w.map(), a, vehicle_, false);
  EXPECT_EQ(A(a).vehicleRidden, vehicle_);
  EXPECT_EQ(A(b).vehicleRidden, vehicle_);
  EXPECT_EQ(A(stranger).vehicleRidden, -1);
  EXPECT_EQ(V().driver, a);
  using Switch = std::tuple<std::int32_t, std::int32_t, bool>;
  EXPECT_EQ(inputSets_, (std::vector<Switch>{{0, 2, false}, {0, 3, true}}));

  // Kept input sets, and sets below 0, are not switched.
  inputSets_.clear();
  ExitVehicle(w.map(), a, -1, true, true);
  EXPECT_TRUE(inputSets_.empty());
  projectState.settings.inputSets[0].index = -1;
  EnterVehicle(w.map(), a, vehicle_, false);
  EXPECT_EQ(inputSets_, (std::vector<Switch>{{0, 3, true}}));
}

TEST_F(VehicleTest, ExitCandidatesInTheOrderLeftRightBackFront) {
  struct Case {
    const char* what;
    std::int32_t sides;
    std::vector<Box> blocks;
    float x, y;  // where the rider stands after snapping to the 16-pixel grid
  };
  const Box left{240, 190, 272, 225, 0, 100};
  const Box right{240, 285, 272, 320, 0, 100};
  const Box back{170, 240, 210, 272, 0, 100};
  const std::vector<Case> cases = {
      {"all sides: left first", 15, {}, 256, 208},
      {"left blocked: right", 15, {left}, 256, 304},
      {"left and right blocked: back", 15, {left, right}, 192, 256},
      {"bits 2 and 8: back before front", 2 | 8, {}, 192, 256},
      {"back blocked: front", 2 | 8, {back}, 320, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.M().boundaries.clear();
    for (const Box& b : c.blocks) w.M().boundaries.push_back(test::MakeBoxShape(b));
    V().vehicleValue15 = c.sides;
    V().driver = -1;
    const std::int32_t rider = w.AddCharacter(50, 50, 0);
    EnterVehicle(w.map(), rider, vehicle_, false);
    ASSERT_EQ(A(rider).vehicleRidden, vehicle_);
    ExitVehicle(w.map(), rider, -1, false, false);
    EXPECT_EQ(A(rider).vehicleRidden, -1);
    EXPECT_EQ(V().driver, -1);
    EXPECT_FLOAT_EQ(A(rider).x, c.x);
    EXPECT_FLOAT_EQ(A(rider).y, c.y);
    EXPECT_FLOAT_EQ(A(rider).heading, kPiOver2);
    A(rider).x = 40.0f * static_cast<float>(rider);  // out of the way of the next case
    A(rider).y = 450.0f;
  }
  EXPECT_TRUE(spoken_.empty());
}

TEST_F(VehicleTest, NoWayOutSpeaksOnlyWithTheVoiceOnAndKeepsTheLinks) {
  V().vehicleValue15 = 0;
  const std::int32_t rider = w.AddCharacter(50, 50, 0);
  EnterVehicle(w.map(), rider, vehicle_, false);
  ExitVehicle(w.map(), rider, -1, false, false);
  EXPECT_EQ(A(rider).vehicleRidden, vehicle_);
  EXPECT_EQ(V().driver, rider);
  EXPECT_EQ(spoken_, (std::vector<std::u16string>{u"There's no way I can get out!"}));
  playerSettings.voiceEnabled = false;
  ExitVehicle(w.map(), -1, vehicle_, false, false);
  EXPECT_EQ(spoken_.size(), 1u);
  EXPECT_EQ(A(rider).vehicleRidden, vehicle_);

  // At the vehicle, or from a vehicle without a sprite, the exit always works
  // (a vehicle that does not block its own place keeps the rider there).
  V().solidToTouch = 0;
  ExitVehicle(w.map(), -1, vehicle_, true, false);
  EXPECT_EQ(A(rider).vehicleRidden, -1);
  EXPECT_FLOAT_EQ(A(rider).x, 256);
  EXPECT_FLOAT_EQ(A(rider).y, 256);
  EnterVehicle(w.map(), rider, vehicle_, false);
  V().parts[0].spriteSet = -1;
  A(rider).x = 0;
  ExitVehicle(w.map(), rider, -1, false, false);
  EXPECT_EQ(A(rider).vehicleRidden, -1);
  EXPECT_FLOAT_EQ(A(rider).x, 256);
}

TEST_F(VehicleTest, LeavingHighAboveTheFloor) {
  struct Case {
    const char* what;
    float z;
    std::int32_t sides;
    bool atVehicle;
    bool drops;
  };
  const Case cases[] = {
      {"drop bit, 33 above", 33, kExitLeft | kExitDrop, false, true},
      {"drop bit, 32 above", 32, kExitLeft | kExitDrop, false, false},
      {"no drop bit", 100, kExitLeft, false, false},
      {"at the vehicle", 100, kExitLeft | kExitDrop, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    V().z = c.z;
    V().vehicleValue15 = c.sides;
    const std::int32_t rider = w.AddCharacter(50, 50, 0);
    EnterVehicle(w.map(), rider, vehicle_, false);
    ExitVehicle(w.map(), rider, -1, c.atVehicle, false);
    const Actor& r = A(rider);
    EXPECT_EQ(r.vehicleRidden, -1);
    EXPECT_FLOAT_EQ(r.z, c.z);
    if (c.drops) {
      EXPECT_FLOAT_EQ(r.x, 256);
      EXPECT_FLOAT_EQ(r.y, 256 - 96);
      EXPECT_FLOAT_EQ(r.velocityZ, 0.16f);
      EXPECT_EQ(r.state, 1);
    } else {
      EXPECT_FLOAT_EQ(r.velocityZ, 0.0f);
      EXPECT_EQ(r.state, 0);
    }
  }
}

TEST_F(VehicleTest, LeavingAWreckSetsStateOneUnlessKept) {
  V().statistics.resize(1);
  V().statistics[0].baseValue = 10;
  V().statistics[0].currentValue = 0;
  for (const std::int32_t flags : {0, kKeepStateFlag}) {
    const std::int32_t rider = w.AddCharacter(50, 50, 0);
    A(rider).actorFlags = flags;
    EnterVehicle(w.map(), rider, vehicle_, false);
    ExitVehicle(w.map(), rider, -1, true, false);
    EXPECT_EQ(A(rider).state, flags == 0 ? 1 : 0);
  }
}

TEST_F(VehicleTest, TurretsTakeOneOperator) {
  const std::int32_t turret = w.AddCharacter(300, 300, 0);
  A(turret).vehicle = 1;
  A(turret).turret = 1;
  TurnDirection(A(turret)) = 0.5f;
  const std::int32_t gunner = w.AddCharacter(100, 100, 0);
  MakeParty({gunner});
  projectState.settings.inputSets[3].index = 4;
  EnterTurret(w.map(), gunner, turret);
  EXPECT_EQ(A(gunner).turretOperated, turret);
  EXPECT_EQ(A(turret).driver, gunner);
  EXPECT_FLOAT_EQ(TurnDirection(A(turret)), 0.0f);
  const std::int32_t other = w.AddCharacter(120, 100, 0);
  EnterTurret(w.map(), other, turret);
  EXPECT_EQ(A(other).turretOperated, -1);
  ExitTurret(w.map(), -1, turret);
  EXPECT_EQ(A(gunner).turretOperated, -1);
  EXPECT_EQ(A(turret).driver, -1);
  using Switch = std::tuple<std::int32_t, std::int32_t, bool>;
  EXPECT_EQ(inputSets_, (std::vector<Switch>{{0, 2, false}, {0, 4, true}, {0, 4, false}, {0, 2, true}}));
}

TEST_F(VehicleTest, ReboardingKeepsTheInputSets) {
  const std::int32_t rider = w.AddCharacter(50, 50, 0);
  MakeParty({rider});
  EnterVehicle(w.map(), rider, vehicle_, true);
  EXPECT_EQ(A(rider).vehicleRidden, vehicle_);
  EXPECT_EQ(V().driver, rider);
  EXPECT_TRUE(inputSets_.empty());
}

TEST_F(VehicleTest, AVehicleMovedToAnotherMapTakesItsDriverAboard) {
  const std::int32_t rider = w.AddCharacter(50, 50, 0);
  MakeParty({rider});
  EnterVehicle(w.map(), rider, vehicle_, false);
  ASSERT_EQ(V().driver, rider);
  inputSets_.clear();
  const std::int32_t second = gameData.maps.Append();
  Map& m2 = gameData.maps[second];
  m2.width = 3;
  m2.height = 3;
  m2.layerCount = 0;
  m2.heightGrid.assign(25, 0.0f);
  const std::int32_t moved = SetCharacterPosition(vehicle_, w.map(), second, true, true);
  const std::vector<Actor>& arrived = gameData.maps[second].actors;
  ASSERT_EQ(arrived.size(), 2u);
  const std::int32_t driver = arrived[static_cast<std::size_t>(moved)].driver;
  ASSERT_GE(driver, 0);
  ASSERT_NE(driver, moved);
  EXPECT_EQ(arrived[static_cast<std::size_t>(driver)].vehicleRidden, moved);
  // The old slots are emptied and the driver kept its vehicle input sets.
  EXPECT_EQ(V().removed, 1);
  EXPECT_EQ(A(rider).removed, 1);
  EXPECT_TRUE(inputSets_.empty());
}

}  // namespace
}  // namespace kiv
