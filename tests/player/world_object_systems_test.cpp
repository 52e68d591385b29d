// The Cloud, Rain, Light, Speaker and Door systems of a map's turn, with
// recording hooks for relighting, door shapes, move tests, scripts and moves
// between maps.
#include "player/world_object_systems.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/random.h"
#include "data/data_hooks.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"
#include "media/graphics.h"
#include "media/sound_sets.h"
#include "player/character_world.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "support/weather_sprite_set.h"

namespace kiv {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr std::uint64_t kSeed = 77;

class WorldObjectSystemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    shell.Reset();
    gameState.Reset();
    storedProjectSettings.Reset();
    playerHooks.Reset();
    dataHooks.Reset();
    scriptHooks.Reset();
    characterWorld.Reset();
    soundSets.clear();
    graphics.videoWidth = 800;
    graphics.videoHeight = 600;
    RandomSeed(kSeed);
    shell.frameElapsed = 100;
    gameData.maps.Append();
    gameData.maps.Append();
    set_ = test::AddWeatherSpriteSet();
    playerHooks.RelightLight = [this](std::int32_t map, std::int32_t light) {
      calls.push_back("relight " + std::to_string(map) + " " + std::to_string(light));
    };
  }
  void TearDown() override {
    playerHooks.Reset();
    dataHooks.Reset();
    scriptHooks.Reset();
    characterWorld.Reset();
    soundSets.clear();
  }
  Map& M(std::int32_t i = 0) { return gameData.maps[i]; }
  std::vector<std::string> calls;
  std::int32_t set_ = -1;
};

// ---- Clouds and rain ----

TEST_F(WorldObjectSystemsTest, StillCloudsAgeButNeverMoveOrWrap) {
  CloudParticle c;
  c.x = -1000.0f, c.y = 5000.0f, c.spriteSet = set_, c.speed = 0.0f;
  M().clouds = {c};
  CloudSystem(0);
  EXPECT_EQ(M().clouds[0].x, -1000.0f);
  EXPECT_EQ(M().clouds[0].y, 5000.0f);
  EXPECT_EQ(M().clouds[0].age, 100);
  EXPECT_FALSE(M().clouds[0].sprite.started);
}

// The sprite spans -16..16 by -8..8 on an 800 x 600 screen; a cloud that
// leaves an edge by 5 pixels comes back 5 pixels inside the opposite one, each
// axis by itself, and every wrap restarts its animation.
TEST_F(WorldObjectSystemsTest, CloudsWrapEachAxisByTheSpriteExtent) {
  struct Case {
    const char* name;
    float wind, speed, x, y;  // before the 100 ms tick
    float wantX, wantY;
    bool wraps;
  };
  const float up = 1.5707964f;
  const Case cases[] = {
      {"left", 0.0f, -0.1f, -11.0f, 300.0f, 811.0f, 300.0f, true},     // right edge at -5: left edge at 795
      {"right", 0.0f, 0.1f, 811.0f, 300.0f, -11.0f, 300.0f, true},     // left edge at 805: right edge at 5
      {"top", up, -0.1f, 400.0f, -3.0f, 400.0f, 603.0f, true},         // bottom at -5: top at 595
      {"bottom", up, 0.1f, 400.0f, 603.0f, 400.0f, -3.0f, true},       // top at 605: bottom at 5
      {"inside", 0.0f, 0.1f, 400.0f, 300.0f, 410.0f, 300.0f, false},
      {"touching", 0.0f, -0.1f, -6.0f, 300.0f, -16.0f, 300.0f, false},  // right edge at 0 stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindDirection(M()) = c.wind;
    CloudParticle p;
    p.x = c.x, p.y = c.y, p.speed = c.speed, p.spriteSet = set_;
    M().clouds = {p};
    CloudSystem(0);
    EXPECT_NEAR(M().clouds[0].x, c.wantX, 1e-3);
    EXPECT_NEAR(M().clouds[0].y, c.wantY, 1e-3);
    EXPECT_EQ(M().clouds[0].sprite.started, c.wraps);
  }
}

TEST_F(WorldObjectSystemsTest, ACloudOffBothEdgesWrapsOnBothAxes) {
  WindDirection(M()) = 0.0f;
  CloudParticle p;
  p.x = -11.0f, p.y = 620.0f, p.speed = -0.1f, p.spriteSet = set_;
  M().clouds = {p};
  CloudSystem(0);
  EXPECT_FLOAT_EQ(M().clouds[0].x, 811.0f);
  // The top edge was 12 below the screen; the bottom edge comes back at 12.
  EXPECT_FLOAT_EQ(M().clouds[0].y, 4.0f);
  EXPECT_TRUE(M().clouds[0].sprite.started);
}

// x += speed x cos(wind + (0.5 - r) x 2 pi x sway x (t \ 10)) x 50 x t,
// y += speed x 50 x t, sway phase += pi / 8 x r2 x sway x t.
TEST_F(WorldObjectSystemsTest, RainFallsAndDriftsWithTwoDraws) {
  shell.frameElapsed = 25;  // t \ 10 = 2
  RainSpriteSet(M()) = set_;
  WindDirection(M()) = 0.25f;
  RainSway(M()) = 0.5f;
  RainParticle d;
  d.x = 100.0f, d.y = 10.0f, d.speed = 0.01f, d.sway = 0.125f;
  RainParticle still;
  still.x = 50.0f, still.y = 50.0f;
  M().rainDrops = {d, still};
  RandomSeed(kSeed);
  const double r = static_cast<float>(RandomNext());
  const double r2 = static_cast<float>(RandomNext());
  const float third = static_cast<float>(RandomNext());
  RandomSeed(kSeed);
  RainSystem(0);
  const double drift = 0.25 + (0.5 - r) * 2.0 * kPi * 0.5 * 2;
  EXPECT_FLOAT_EQ(M().rainDrops[0].x, static_cast<float>(100.0 + 0.01 * std::cos(drift) * 50.0 * 25));
  EXPECT_FLOAT_EQ(M().rainDrops[0].y, static_cast<float>(10.0 + 0.01f * 50.0 * 25));
  EXPECT_FLOAT_EQ(M().rainDrops[0].sway, static_cast<float>(0.125 + kPi / 8 * r2 * 0.5 * 25));
  EXPECT_EQ(M().rainDrops[0].age, 25);
  // The still drop ages, stays and draws nothing.
  EXPECT_EQ(M().rainDrops[1].x, 50.0f);
  EXPECT_EQ(M().rainDrops[1].y, 50.0f);
  EXPECT_EQ(M().rainDrops[1].age, 25);
  EXPECT_EQ(static_cast<float>(RandomNext()), third);
}

TEST_F(WorldObjectSystemsTest, RainWrapsWithTheMapsRainSet) {
  RainSpriteSet(M()) = set_;
  RainParticle d;
  d.x = 400.0f, d.y = 600.0f, d.speed = 0.002f;  // falls 10 px: top edge at 602
  M().rainDrops = {d};
  RainSystem(0);
  EXPECT_FLOAT_EQ(M().rainDrops[0].y, 610.0f - 8.0f - 600.0f - 8.0f);
  EXPECT_TRUE(M().rainDrops[0].sprite.started);
}

// ---- Lights and speakers ----

struct PulseCase {
  const char* name;
  std::uint8_t enabled;
  std::int32_t period;
  std::int32_t time;       // before the tick of 100 ms
  float range;             // activityRange
  float x;                 // the view focus is at (0, 0)
  std::uint8_t level;      // the curve's level at the expected index
  std::int32_t index;      // -1: the light does not pulse
  bool relit;
};

TEST_F(WorldObjectSystemsTest, LightsPulseNearAViewAndRelightOnlyOnLargeChanges) {
  const PulseCase cases[] = {
      {"pulses", 1, 1000, 0, 0.0f, 0.0f, 6, 13, true},            // 100 / 1000 x 128 = 12.8
      {"small change", 1, 1000, 0, 0.0f, 0.0f, 4, 13, false},     // 4/255 is not more than 5/255
      {"exact", 1, 256, 0, 0.0f, 0.0f, 200, 50, true},                 // 100 / 256 x 128 = 50
      {"a half rounds down to even", 1, 256, -99, 0.0f, 0.0f, 200, 0, true},  // 1 / 256 x 128 = 0.5
      {"a half rounds up to even", 1, 256, -97, 0.0f, 0.0f, 200, 2, true},    // 3 / 256 x 128 = 1.5
      {"wraps at 128", 1, 100, 0, 0.0f, 0.0f, 200, 0, true},     // 128 Mod 128
      {"off", 0, 1000, 0, 0.0f, 0.0f, 200, -1, false},
      {"other byte", 2, 1000, 0, 0.0f, 0.0f, 200, -1, false},
      {"no period", 1, 0, 0, 0.0f, 0.0f, 200, -1, false},
      {"far from the view", 1, 1000, 0, 100.0f, 500.0f, 200, -1, false},
      {"within range and radius", 1, 1000, 0, 100.0f, 150.0f, 200, 13, true},
      {"range 0 reaches everything", 1, 1000, 0, 0.0f, 1e6f, 200, 13, true},
  };
  for (const PulseCase& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    storedProjectSettings.activityRange = c.range;
    M().viewList = {MapViewEntry{}};
    Light light;
    light.enabled = c.enabled;
    light.cycleLength = c.period;
    light.patternTime = c.time;
    light.x = c.x;
    light.radius = 50;
    light.appliedIntensity = 0.0f;
    light.currentIntensity = 0.0f;
    if (c.index >= 0) light.pattern[static_cast<std::size_t>(c.index)] = c.level;
    M().lights = {Light(), light};  // the first is off
    LightSystem(0);
    const Light& after = M().lights[1];
    if (c.index < 0) {
      EXPECT_EQ(after.patternTime, c.time);
      EXPECT_EQ(after.currentIntensity, 0.0f);
    } else {
      EXPECT_EQ(after.patternTime, c.time + 100);
      EXPECT_EQ(after.currentIntensity, static_cast<float>(c.level / 255.0));
    }
    EXPECT_EQ(after.appliedIntensity, c.relit ? after.currentIntensity : 0.0f);
    EXPECT_EQ(calls, c.relit ? std::vector<std::string>{"relight 0 1"} : std::vector<std::string>{});
  }
}

TEST_F(WorldObjectSystemsTest, APulseTimeNearTheLongLimitKeepsItsPhase) {
  Light light;
  light.enabled = 1;
  light.cycleLength = 1000;
  light.patternTime = 2147483600;  // + 100 passes the limit
  light.pattern[13] = 255;         // (2147483700 Mod 1000) = 700 -> 89.6 -> 90
  light.pattern[90] = 128;
  M().lights = {light};
  LightSystem(0);
  EXPECT_EQ(M().lights[0].patternTime, 700);
  EXPECT_EQ(M().lights[0].currentIntensity, static_cast<float>(128 / 255.0));
}

// A speaker's volume is set at once (one draw of its sound's spread) only when
// its factor moves by more than 1/256 and it has a sound.
TEST_F(WorldObjectSystemsTest, SpeakersPulseAndSetTheirVolumeOnlyWhenItMoves) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::int32_t sound;
    float previous;
    std::uint8_t level;
    bool pulses, set;
  };
  const Case cases[] = {
      {"moves", 1, 0, 0.0f, 1, true, true},
      {"same level", 1, 0, 1.0f / 255.0f, 1, true, false},
      {"no sound", 1, -1, 0.0f, 200, true, false},
      {"not pulsing", 0, 0, 0.0f, 200, false, false},
  };
  soundSets.resize(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Speaker s;
    s.enabled = c.mode;
    s.soundSet = c.sound;
    s.cycleLength = 1000;
    s.volumeFactor = c.previous;
    s.pattern[13] = c.level;
    M().speakers = {s};
    RandomSeed(kSeed);
    const double first = RandomNext();
    RandomSeed(kSeed);
    SpeakerSystem(0);
    EXPECT_EQ(M().speakers[0].patternTime, c.pulses ? 100 : 0);
    EXPECT_EQ(M().speakers[0].volumeFactor, c.pulses ? static_cast<float>(c.level / 255.0) : c.previous);
    EXPECT_EQ(RandomNext() != first, c.set);
  }
}

// ---- Doors ----

class DoorSystemTest : public WorldObjectSystemsTest {
 protected:
  static constexpr std::int32_t kCurrentMark = -7;
  void SetUp() override {
    WorldObjectSystemsTest::SetUp();
    shell.frameElapsed = 250;
    // A shape carries the amount it was built for, in thousandths.
    dataHooks.BuildDoorCollisionShape = [this](std::int32_t map, std::int32_t door, float amount,
                                               CollisionShape& shape) {
      calls.push_back("build " + std::to_string(map) + " " + std::to_string(door) + " " +
                      std::to_string(std::lround(amount * 1000)));
      shape.rectangles = {CollisionBox{static_cast<std::int32_t>(std::lround(amount * 1000)), 0, 0, 0, 0, 0, {}}};
    };
    characterWorld.TestActorMove = [this](std::int32_t map, const CollisionShape& shape, const ShapePlacement& at,
                                          std::int32_t self, std::int32_t ignoredActor, std::int32_t ignoredDoor,
                                          bool collect, bool skipCharacters) {
      EXPECT_EQ(map, 0);
      EXPECT_EQ(self, -1);
      EXPECT_EQ(ignoredActor, -1);
      EXPECT_EQ(ignoredDoor, 0);
      EXPECT_FALSE(collect);
      EXPECT_FALSE(skipCharacters);
      EXPECT_EQ(at.x, 64.0f);
      EXPECT_EQ(at.y, 96.0f);
      EXPECT_EQ(at.z, 32.0f);
      const bool current = !shape.rectangles.empty() && shape.rectangles[0].left == kCurrentMark;
      calls.push_back(current ? "test current" : "test next");
      return current ? blockedCurrent : blockedNext;
    };
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      calls.push_back("event " + std::to_string(run.ownerKind) + " " + std::to_string(run.ownerIndex) + " " +
                      std::to_string(run.subIndex) + " " + std::to_string(run.map) + " " +
                      std::to_string(run.relateActor));
      return Variant();
    };
    playerHooks.SetCharacterPosition = [this](std::int32_t character, std::int32_t from, std::int32_t to,
                                              std::int32_t a, std::int32_t b) {
      const Actor& actor = M().actors.at(static_cast<std::size_t>(character));
      calls.push_back("move " + std::to_string(character) + " " + std::to_string(from) + " " + std::to_string(to) +
                      " " + std::to_string(a) + " " + std::to_string(b) + " at " +
                      std::to_string(static_cast<int>(actor.x)) + "," + std::to_string(static_cast<int>(actor.y)) +
                      "," + std::to_string(static_cast<int>(actor.z)));
    };
    M().actors.resize(2);
    Door d;
    d.x = 64, d.y = 96, d.z = 32;
    d.collisionShape.rectangles = {CollisionBox{kCurrentMark, 0, 0, 0, 0, 0, {}}};
    DoorStayOpenTime(d) = 3000;
    DoorOpener(d) = -1;
    DoorExitMap(d) = -1;
    M().doors = {d};
  }
  Door& D() { return M().doors[0]; }
  bool blockedNext = false;
  bool blockedCurrent = false;
};

TEST_F(DoorSystemTest, OneTickOfADoor) {
  struct Case {
    const char* name;
    float amount, future;
    std::int32_t left;  // open time left before
    bool blockNext, blockCurrent;
    std::int32_t user, exitMap;
    float wantAmount, wantFuture;
    std::int32_t wantLeft;
    std::vector<std::string> wantCalls;
  };
  const Case cases[] = {
      {"opens a quarter", 0.0f, 1.0f, 0, false, false, -1, -1, 0.25f, 1.0f, 0, {"build 0 0 250", "test next"}},
      {"closes a quarter", 0.5f, 0.0f, 0, false, false, -1, -1, 0.25f, 0.0f, 0, {"build 0 0 250", "test next"}},
      {"opens the other way", 0.0f, -1.0f, 0, false, false, -1, -1, -0.25f, -1.0f, 0,
       {"build 0 0 -250", "test next"}},
      {"opens fully and carries its user", 0.875f, 1.0f, 0, false, false, 1, 1, 1.0f, 1.0f, 3000,
       {"build 0 0 1000", "test next", "event 5 0 2 0 1", "move 1 0 1 0 0 at 10,20,30"}},
      {"opens fully without a user", -0.875f, -1.0f, 0, false, false, -1, 1, -1.0f, -1.0f, 3000,
       {"build 0 0 -1000", "test next", "event 5 0 2 0 -1"}},
      {"opens fully without an exit", 0.875f, 1.0f, 0, false, false, 1, -1, 1.0f, 1.0f, 3000,
       {"build 0 0 1000", "test next", "event 5 0 2 0 1"}},
      {"a user outside the list is not moved", 0.875f, 1.0f, 0, false, false, 9, 1, 1.0f, 1.0f, 3000,
       {"build 0 0 1000", "test next", "event 5 0 2 0 9"}},
      {"closes fully without an event", 0.125f, 0.0f, 0, false, false, 1, 1, 0.0f, 0.0f, 3000,
       {"build 0 0 0", "test next"}},
      {"waits while the next place is blocked", 0.5f, 0.0f, 0, true, false, -1, -1, 0.5f, 0.0f, 0,
       {"build 0 0 250", "test next", "test current"}},
      {"turns back to open", 0.5f, 0.0f, 0, true, true, -1, -1, 0.5f, 1.0f, 0,
       {"build 0 0 250", "test next", "test current"}},
      {"turns back to open the other way", -0.5f, 0.0f, 0, true, true, -1, -1, -0.5f, -1.0f, 0,
       {"build 0 0 -250", "test next", "test current"}},
      {"turns back to closed", 0.5f, 1.0f, 0, true, true, -1, -1, 0.5f, 0.0f, 0,
       {"build 0 0 750", "test next", "test current"}},
      {"counts down while open", 1.0f, 1.0f, 300, false, false, -1, -1, 1.0f, 1.0f, 50, {}},
      {"starts to close below 1 ms", 1.0f, 1.0f, 250, false, false, -1, -1, 1.0f, 0.0f, 0, {}},
      {"a closed door does nothing", 0.0f, 0.0f, 300, false, false, -1, -1, 0.0f, 0.0f, 300, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    SetUp();
    blockedNext = c.blockNext;
    blockedCurrent = c.blockCurrent;
    D().openAmount = c.amount;
    DoorSwing(D()) = c.future;
    DoorOpenTimeLeft(D()) = c.left;
    DoorOpener(D()) = c.user;
    DoorExitMap(D()) = c.exitMap;
    DoorExitX(D()) = 10, DoorExitY(D()) = 20, DoorExitZ(D()) = 30;
    DoorSystem(0);
    EXPECT_FLOAT_EQ(D().openAmount, c.wantAmount);
    EXPECT_EQ(DoorSwing(D()), c.wantFuture);
    EXPECT_EQ(DoorOpenTimeLeft(D()), c.wantLeft);
    EXPECT_EQ(calls, c.wantCalls);
    // A free move takes the shape built for the new amount; a blocked one keeps its own.
    const std::int32_t mark = D().collisionShape.rectangles.at(0).left;
    if (c.blockNext || c.wantCalls.empty()) {
      EXPECT_EQ(mark, kCurrentMark);
    } else {
      EXPECT_EQ(mark, std::lround(c.wantAmount * 1000));
    }
  }
}

TEST_F(DoorSystemTest, AFullSwingTakesOneSecondAndAStayOfZeroKeepsItOpen) {
  DoorSwing(D()) = 1.0f;
  DoorStayOpenTime(D()) = 0;
  for (int tick = 1; tick <= 4; ++tick) {
    DoorSystem(0);
    EXPECT_FLOAT_EQ(D().openAmount, 0.25f * tick);
  }
  for (int tick = 0; tick < 50; ++tick) DoorSystem(0);
  EXPECT_EQ(D().openAmount, 1.0f);
  EXPECT_EQ(DoorSwing(D()), 1.0f);
}

TEST_F(DoorSystemTest, AnEventThatRemovesTheDoorEndsItsTurn) {
  D().openAmount = 0.875f;
  DoorSwing(D()) = 1.0f;
  DoorOpener(D()) = 1;
  DoorExitMap(D()) = 1;
  scriptHooks.RunTrigger = [this](const TriggerRun&) {
    M().doors.clear();
    return Variant();
  };
  DoorSystem(0);
  EXPECT_TRUE(M().doors.empty());
  EXPECT_EQ(calls, (std::vector<std::string>{"build 0 0 1000", "test next"}));
}

// ---- Paused by script ----

// While the game is paused, a map's weather, lights and doors stand still and
// its running time stops; a shown interface keeps running.
TEST_F(WorldObjectSystemsTest, WhilePausedMapsFreezeAndInterfacesRun) {
  playerHooks.CloudSystem = CloudSystem;
  playerHooks.RainSystem = RainSystem;
  playerHooks.LightSystem = LightSystem;
  playerHooks.SpeakerSystem = SpeakerSystem;
  playerHooks.DoorSystem = DoorSystem;
  std::vector<std::int32_t> mapSystems;
  playerHooks.UpdateMapSystems = [&](std::int32_t map) { mapSystems.push_back(map); };
  M(1).isInterface = true;
  M(1).overlayActive = 1;
  M().viewList = {MapViewEntry{}};
  CloudParticle c;
  c.speed = 0.1f, c.x = 100.0f, c.y = 100.0f, c.spriteSet = set_;
  M().clouds = {c};
  Door d;
  DoorSwing(d) = 1.0f;
  M().doors = {d};
  Light light;
  light.enabled = 1;
  light.cycleLength = 1000;
  M().lights = {light};

  gameState.paused = 1;
  RunMapPass();
  EXPECT_EQ(M().clouds[0].x, 100.0f);
  EXPECT_EQ(M().clouds[0].age, 0);
  EXPECT_EQ(M().doors[0].openAmount, 0.0f);
  EXPECT_EQ(M().lights[0].patternTime, 0);
  EXPECT_EQ(M().runningTime, 0);
  EXPECT_EQ(M(1).runningTime, 100);
  EXPECT_EQ(mapSystems, std::vector<std::int32_t>{1});

  gameState.paused = 0;
  RunMapPass();
  EXPECT_FLOAT_EQ(M().clouds[0].x, 110.0f);
  EXPECT_EQ(M().lights[0].patternTime, 100);
  EXPECT_EQ(M().runningTime, 100);
  EXPECT_EQ(M(1).runningTime, 200);
}

}  // namespace
}  // namespace kiv
