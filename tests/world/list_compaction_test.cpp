// Compacting a map's character list in the world update: every stored link
// follows the characters it names, and the off-map list is compacted too.
#include <gtest/gtest.h>

#include "live_world_fixture.h"
#include "media/player_input_state.h"
#include "world/placement.h"
#include "world/vehicles.h"

namespace kiv::test {
namespace {

class ListCompaction : public LiveWorld {};

TEST_F(ListCompaction, RidersOperatorsPortraitAndPressedTargetFollowTheirCharacters) {
  for (int k = 0; k < 6; ++k)
    AddWalker(100.0f + 100.0f * static_cast<float>(k), 300.0f, Box{-8, -8, 8, 8, 0, 32});
  const std::int32_t rider = 3, vehicle = 5, gunner = 1, turret = 4;
  A(vehicle).vehicle = 1;  // can be boarded
  A(turret).vehicle = 1;
  A(turret).turret = 1;
  EnterVehicle(0, rider, vehicle, false);
  EnterTurret(0, gunner, turret);
  ASSERT_EQ(A(rider).vehicleRidden, vehicle);
  ASSERT_EQ(A(gunner).turretOperated, turret);
  messagePortrait = MessagePortrait{0, vehicle, false};
  PlayerInputState& pointer = playerInputStates[0];
  pointer.pressMap = 0;
  pointer.pressKind = kOwnerActor;
  pointer.pressIndex = rider;

  RemoveMark(A(0)) = 0;  // the first character leaves the list
  Tick(20);

  ASSERT_EQ(gameData.maps[0].actors.size(), 5u);
  EXPECT_EQ(A(2).vehicleRidden, 4);
  EXPECT_EQ(A(4).driver, 2);
  EXPECT_EQ(A(0).turretOperated, 3);
  EXPECT_EQ(A(3).driver, 0);
  EXPECT_EQ(messagePortrait.actor, 4);
  EXPECT_EQ(pointer.pressIndex, 2);
  // Leaving the vehicle and the turret frees them.
  ExitVehicle(0, 2, -1, true, false);
  ExitTurret(0, 0, -1);
  EXPECT_EQ(A(2).vehicleRidden, -1);
  EXPECT_EQ(A(4).driver, -1);
  EXPECT_EQ(A(0).turretOperated, -1);
  EXPECT_EQ(A(3).driver, -1);
  messagePortrait = MessagePortrait{};
  pointer = PlayerInputState{};
}

TEST_F(ListCompaction, TheOffMapListLosesTheSlotsOfCharactersThatCameBack) {
  const std::int32_t c = AddWalker(100.0f, 100.0f, Box{-8, -8, 8, 8, 0, 32});
  for (int trip = 0; trip < 3; ++trip) {
    const std::int32_t parked = SetCharacterPosition(
        static_cast<std::int32_t>(gameData.maps[0].actors.size()) - 1, 0, -1, true, true);
    SetCharacterPosition(parked, -1, 0, true, true);
    Tick(20);
  }
  (void)c;
  EXPECT_TRUE(gameData.maps[-1].actors.empty());
  ASSERT_EQ(gameData.maps[0].actors.size(), 1u);
  EXPECT_EQ(A(0).removed, 0);
}

}  // namespace
}  // namespace kiv::test
