// Movement seen from scripts: a wait on an actor that walks, and the event a
// vehicle raises when a player's character gets out.
#include <gtest/gtest.h>

#include "data/project_state.h"
#include "script/trigger_engine_fixture.h"
#include "support/movement_stepper.h"
#include "support/world_builder.h"
#include "world/movement_setup.h"
#include "world/vehicles.h"

namespace kiv {
namespace {

using test::TriggerEngineTest;

constexpr std::int32_t kEvent = 600;    // an event without conditions
constexpr std::int32_t kExited = 544;   // Trigger.Actor.Exited
constexpr std::int32_t kNorth = 0x11;

class MovementScriptsTest : public TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    world_ = std::make_unique<test::WorldBuilder>(15, 15, 1);
    InstallWorldMovementHooks();
  }
  void TearDown() override {
    triggerHooks.Reset();
    TriggerEngineTest::TearDown();
  }
  Actor& A(std::int32_t i) { return gameData.maps[0].actors[static_cast<std::size_t>(i)]; }
  void Place(std::int32_t i, float x, float y) {
    A(i).x = x;
    A(i).y = y;
    A(i).collisionShape = test::MakeBoxShape(Box{-8, -8, 8, 8, 0, 48});
    A(i).areaBox = Box{-100000, -100000, 100000, 100000, -100000, 100000};
    A(i).physicsFlags = 0;
  }
  std::unique_ptr<test::WorldBuilder> world_;
};

TEST_F(MovementScriptsTest, AWaitOnAWalkerResumesAfterItsLastQueuedStep) {
  handlers_["Wait"] = [](const test::RecordedCall&, ScriptValue& result) {
    result = ScriptValue{kValueControl, ScriptMakeWaitRequest(1, 0, 0, 0, 0, Variant::Long(-1), -1, -1, 0), 0};
  };
  const std::int32_t walker = AddActor(kEvent, u"Wait\r\nMark(1)");
  Place(walker, 240, 240);
  A(walker).speed = 0.5f;  // a 16-pixel step takes two 16 ms ticks
  A(walker).path = {kNorth, kNorth};
  Raise(walker);
  ASSERT_EQ(waitingScripts.size(), 1u);
  for (int tick = 1; tick <= 4; ++tick) {
    SCOPED_TRACE(tick);
    test::StepCharacters(0, 16);
    Tick(16);
    EXPECT_EQ(Marks().size(), tick < 4 ? 0u : 1u);
  }
  EXPECT_FLOAT_EQ(A(walker).y, 208);
}

TEST_F(MovementScriptsTest, ExitedIsRaisedOnlyAfterARealExitOfAPlayersCharacter) {
  SpriteSet set;
  set.poses.resize(1);
  set.poses[0].directions[4].builtFrames.resize(1);
  set.poses[0].directions[4].sizeX = 64;
  set.poses[0].directions[4].sizeY = 32;
  gameData.spriteSets.push_back(set);
  const std::int32_t vehicle = AddActor(kExited, u"Mark(2)");
  Place(vehicle, 256, 256);
  A(vehicle).vehicle = 1;
  A(vehicle).parts.resize(1);
  A(vehicle).parts[0].spriteSet = 0;
  projectState.players.resize(1);
  projectState.players[0].mapIndex = 0;
  struct Case {
    const char* what;
    bool playersCharacter;
    bool atVehicle;
    std::int32_t sides;
    std::size_t marks;
  };
  const Case cases[] = {
      {"a player's character gets out", true, false, 15, 1},
      {"at the vehicle", true, true, 15, 0},
      {"no way out", true, false, 0, 0},
      {"a character no player owns", false, false, 15, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    calls_.clear();
    const std::int32_t rider = AddActor(kEvent, u"Mark(9)");
    Place(rider, 40.0f * static_cast<float>(rider), 60);
    A(rider).owningPlayer = c.playersCharacter ? 0 : -1;
    A(vehicle).vehicleValue15 = c.sides;
    A(vehicle).driver = -1;
    EnterVehicle(0, rider, vehicle, true);
    ASSERT_EQ(A(rider).vehicleRidden, vehicle);
    ExitVehicle(0, rider, -1, c.atVehicle, true);
    EXPECT_EQ(Marks().size(), c.marks);
    if (c.marks == 1) {
      EXPECT_EQ(Marks()[0], Variant::Long(2));
    }
    A(rider).vehicleRidden = -1;
    A(rider).x = 40.0f * static_cast<float>(rider);
    A(rider).y = 450;
  }
}

}  // namespace
}  // namespace kiv
