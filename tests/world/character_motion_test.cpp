// Dropping motion requests, as the Character System uses it: a vehicle whose
// tank is empty loses its forward input and stays where it is.
#include "world/character_motion.h"

#include <gtest/gtest.h>

#include "live_world_fixture.h"

namespace kiv::test {
namespace {

TEST(ClearCharacterMotion, ZeroesTargetsAndInputsButKeepsMotorsAndVelocities) {
  Actor a;
  a.movementX = 0.5f;
  a.movementY = -0.5f;
  a.movementZ = 0.25f;
  a.keyForward = 1.0f;
  a.keyTurning = -1.0f;
  a.keyStrafing = 1.0f;
  a.keyRising = -1.0f;
  a.movementFlags = {1, 1, 1};
  a.velocityX = 0.3f;
  ClearCharacterMotion(a);
  for (float v :
       {a.movementX, a.movementY, a.movementZ, a.keyForward, a.keyTurning, a.keyStrafing, a.keyRising})
    EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(a.movementFlags, (std::array<std::uint8_t, 3>{1, 1, 1}));
  EXPECT_EQ(a.velocityX, 0.3f);
}

class DrivingOnFuel : public LiveWorld {};

TEST_F(DrivingOnFuel, AnEmptyTankStopsTheVehicle) {
  struct Case {
    float fuel;
    float x;  // after ten ticks of 100 ms at 0.5 pixels per ms
  };
  for (const Case& k : {Case{0.0f, 1000.0f}, Case{100.0f, 1500.0f}}) {
    SCOPED_TRACE(k.fuel);
    gameData.maps[0].actors.clear();
    const std::int32_t v = AddWalker(1000.0f, 500.0f, Box{-16, -16, 16, 16, 0, 32}, 0.5f);
    A(v).canMove = 1;  // drives
    A(v).maxGas = 100.0f;
    A(v).gas = k.fuel;
    A(v).keyForward = 1.0f;
    for (int tick = 0; tick < 10; ++tick) Tick(100);
    EXPECT_FLOAT_EQ(A(v).x, k.x);
    EXPECT_EQ(A(v).y, 500.0f);
    if (k.fuel == 0.0f) {
      EXPECT_EQ(A(v).keyForward, 0.0f);
    }
  }
}

}  // namespace
}  // namespace kiv::test
