// VEHICLEMAIN from a vehicle's trigger on the real script engine: without
// the key the key-missing system script runs with the vehicle named in its
// second parameter and nobody boards.
#include <gtest/gtest.h>

#include "data/project_state.h"
#include "internal_commands_fixture.h"
#include "state/game_state.h"
#include "world/party_operations.h"

namespace kiv::test {
namespace {

class VehicleMainScriptTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    gameData.maps[0].fileName = u"Town";
    gameData.maps[0].actors.resize(2);
    Actor& vehicle = gameData.maps[0].actors[1];
    vehicle.name = u"Cart";
    vehicle.vehicle = 1;
    vehicle.itemReference.index = 0;  // the key
    gameData.items.resize(1);
    projectState.players.assign(1, Player());
    projectState.players[0].mapIndex = 0;
  }
  void TearDown() override {
    systemScripts[kVehicleKeyMissingSystemTrigger] = Script();
    InternalCommandsTest::TearDown();
  }

  // Runs VEHICLEMAIN as the vehicle's trigger with character 0 relating.
  std::string RunVehicleMain() {
    CallFrame frame;
    frame.ownerMap = 0;
    frame.relateActor = 0;
    frame.thisActor = 1;
    const std::size_t before = ErrorLog().size();
    Run(Load(u"VEHICLEMAIN"), frame);
    return ErrorLog().size() == before ? std::string() : LastError();
  }
  const Actor& Character() const { return gameData.maps[0].actors[0]; }
};

TEST_F(VehicleMainScriptTest, WithoutTheKeyTheSystemScriptRunsAndNobodyBoards) {
  Script slot = MakeScript(u"Mark(1)");
  scriptTable.scripts.at(static_cast<std::size_t>(slot.index)).frameTemplate.parameters.resize(2);
  systemScripts[kVehicleKeyMissingSystemTrigger] = slot;
  EXPECT_EQ(RunVehicleMain(), "");
  EXPECT_EQ(Marks(), std::vector<Variant>{Variant::Long(1)});
  const auto& parameters = scriptTable.scripts.at(static_cast<std::size_t>(slot.index)).frameTemplate.parameters;
  EXPECT_EQ(parameters[0].value, Variant::Text(u""));
  EXPECT_EQ(parameters[1].value, Variant::Text(u"|Town:Cart"));
  EXPECT_EQ(Character().vehicleRidden, -1);
}

TEST_F(VehicleMainScriptTest, WithoutTheKeyOrASystemScriptNobodyBoards) {
  EXPECT_EQ(RunVehicleMain(), "");
  EXPECT_TRUE(Marks().empty());
  EXPECT_EQ(Character().vehicleRidden, -1);
}

TEST_F(VehicleMainScriptTest, TheKeyInTheInventoryBoards) {
  InventoryEntry key;
  key.item = 0;
  key.quantity = 1;
  projectState.players[0].items = {key};
  EXPECT_EQ(RunVehicleMain(), "");
  EXPECT_EQ(Character().vehicleRidden, 1);
  EXPECT_EQ(gameData.maps[0].actors[1].driver, 0);
}

TEST_F(VehicleMainScriptTest, OutsideAVehicleTriggerItIsAnError) {
  EXPECT_EQ(ErrorOfScript(u"VEHICLEMAIN"), "Incorrect usage of VEHICLEMAIN.");
}

}  // namespace
}  // namespace kiv::test
