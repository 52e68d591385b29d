// The Character System: timers, the melee strike, the anchor, the selection of
// characters, the per-tick and proximity events, zones, ActionRects and HI.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "character_system_fixture.h"
#include "core/angles.h"
#include "data/fixed_identifiers.h"
#include "player/character_fields.h"
#include "player/action_rects.h"
#include "player/character_system.h"
#include "player/character_timers.h"

namespace kiv {
namespace {

using test::BoxShape;
using test::CharacterSystemFixture;
using test::MakeTrigger;

TEST(CharacterEventCodes, MatchTheFixedIdentifiers) {
  const struct {
    std::int32_t code;
    const char* name;
  } cases[] = {
      {kEventActorAction, "Trigger.Actor.Action"},
      {kEventActorChecked, "Trigger.Actor.Checked"},
      {kEventActorInterval, "Trigger.Actor.Interval"},
      {kEventActorCondition, "Trigger.Actor.Condition"},
      {kEventActorChanged, "Trigger.Actor.Changed"},
      {kEventActorCrossedMapEdge, "Trigger.Actor.CrossedMapEdge"},
      {kEventActorCrossedCameraEdge, "Trigger.Actor.CrossedCameraEdge"},
      {kEventActorLeftEnteredMap, "Trigger.Actor.LeftEnteredMap"},
      {kEventActorLeftEnteredCamera, "Trigger.Actor.LeftEnteredCamera"},
      {kEventActorMouseDown, "Trigger.Actor.MouseDown"},
      {kEventActorMouseUp, "Trigger.Actor.MouseUp"},
      {kEventActorProximityClose, "Trigger.Actor.ProximityActorClose"},
      {kEventActorProximityFar, "Trigger.Actor.ProximityActorFar"},
      {kEventZoneMouseDown, "Trigger.Zone.MouseDown"},
      {kEventZoneMouseUp, "Trigger.Zone.MouseUp"},
  };
  for (const auto& c : cases) EXPECT_EQ(FixedIdentifierName(c.code), c.name) << c.code;
}

// ---- Timers ----

TEST(CharacterTimers, TableOfTimers) {
  struct Case {
    const char* what;
    void (*prepare)(Actor&);
    std::int32_t t;
    std::int32_t motion;
    void (*check)(const Actor&);
  };
  const Case cases[] = {
      {"life time counts from 0", [](Actor& a) { LifeTime(a) = 0; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.timeSinceHurt, 30); }},
      {"life time stopped while negative", [](Actor& a) { LifeTime(a) = -1; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.timeSinceHurt, -1); }},
      {"script pose runs", [](Actor& a) { a.pose = 700; a.poseValue = 100; a.customPoseTime = 60; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.pose, 700); EXPECT_EQ(a.customPoseTime, 90); }},
      {"script pose ends once its duration is passed",
       [](Actor& a) { a.pose = 700; a.poseValue = 100; a.customPoseTime = 80; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.pose, 0); }},
      {"script pose at exactly its duration stays",
       [](Actor& a) { a.pose = 700; a.poseValue = 100; a.customPoseTime = 70; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.pose, 700); }},
      {"unlimited script pose", [](Actor& a) { a.pose = 700; a.poseValue = -1; a.customPoseTime = 5000; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.pose, 700); }},
      {"forward motion", [](Actor& a) { a.risePoseTime = 10; a.fallPoseTime = 10; }, 30, 1,
       [](const Actor& a) { EXPECT_EQ(a.risePoseTime, 40); EXPECT_EQ(a.fallPoseTime, 0); }},
      {"backward motion", [](Actor& a) { a.risePoseTime = 10; a.fallPoseTime = 10; }, 30, -1,
       [](const Actor& a) { EXPECT_EQ(a.risePoseTime, 0); EXPECT_EQ(a.fallPoseTime, 40); }},
      {"no motion", [](Actor& a) { a.risePoseTime = 10; a.fallPoseTime = 10; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.risePoseTime, 0); EXPECT_EQ(a.fallPoseTime, 0); }},
      {"dying down to 0", [](Actor& a) { a.deathTimer = 20; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.deathTimer, 0); }},
      {"hurt down to 0", [](Actor& a) { a.hurtTime = 50; }, 30, 0, [](const Actor& a) { EXPECT_EQ(a.hurtTime, 20); }},
      {"hurt not below 0", [](Actor& a) { a.hurtTime = 10; }, 30, 0, [](const Actor& a) { EXPECT_EQ(a.hurtTime, 0); }},
      {"idle time", [](Actor& a) { a.idleTime = 5; }, 30, 0, [](const Actor& a) { EXPECT_EQ(a.idleTime, 35); }},
      {"interval runs on the world step",
       [](Actor& a) { Interval(a) = 100; IntervalElapsed(a) = 10; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.flashValues[1], 50); EXPECT_EQ(a.flashValues[2], 100); }},
      {"interval ends without repeat",
       [](Actor& a) { Interval(a) = 100; IntervalElapsed(a) = 90; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.flashValues[1], 0); EXPECT_EQ(a.flashValues[2], 0); }},
      {"interval repeats",
       [](Actor& a) { Interval(a) = 100; IntervalElapsed(a) = 90; IntervalRepeat(a) = 1; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.flashValues[1], 0); EXPECT_EQ(a.flashValues[2], 100); }},
      {"interval reaching exactly its length goes on",
       [](Actor& a) { Interval(a) = 100; IntervalElapsed(a) = 60; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.flashValues[1], 100); EXPECT_EQ(a.flashValues[2], 100); }},
      {"equipment waits may fall below 0",
       [](Actor& a) { a.equipment.resize(3); a.equipment[0].fireWait = 10; a.equipment[1].fireWait = 0;
                      a.equipment[2].fireWait = 100; }, 30, 0,
       [](const Actor& a) { EXPECT_EQ(a.equipment[0].fireWait, -20); EXPECT_EQ(a.equipment[1].fireWait, 0);
                            EXPECT_EQ(a.equipment[2].fireWait, 70); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Actor a;
    a.timeSinceHurt = -1;
    c.prepare(a);
    // The interval follows the world step (40), not the tick (30).
    AdvanceCharacterTimers(a, c.t, c.t + 10, c.motion);
    c.check(a);
  }
}

TEST(CharacterTimers, HopBouncesAtHalfSpeedWhileItsTimeLasts) {
  Actor a;
  a.hopTime = 1000;
  a.hopSpeed = 0.1f;
  AdvanceCharacterTimers(a, 50, 50, 0);
  EXPECT_EQ(a.hopTime, 950);
  EXPECT_FLOAT_EQ(a.hopSpeed, 0.1f - 0.0006272f * 50.0f);
  EXPECT_FLOAT_EQ(a.hopHeight, (0.1f - 0.0006272f * 50.0f) * 50.0f);
  // Falling through the ground: height 0 and the speed turns up at half.
  a.hopHeight = 1.0f;
  a.hopSpeed = -0.2f;
  AdvanceCharacterTimers(a, 50, 50, 0);
  const float falling = -0.2f - 0.0006272f * 50.0f;
  EXPECT_FLOAT_EQ(a.hopHeight, 0.0f);
  EXPECT_FLOAT_EQ(a.hopSpeed, falling * -0.5f);
  // Once the hop time ran out nothing moves.
  a.hopTime = 0;
  a.hopHeight = 3.0f;
  AdvanceCharacterTimers(a, 50, 50, 0);
  EXPECT_FLOAT_EQ(a.hopHeight, 3.0f);
}

// ---- Melee strike ----

class MeleeStrike : public CharacterSystemFixture {
 protected:
  void SetUp() override {
    CharacterSystemFixture::SetUp();
    gameData.items.resize(1);
    gameData.items[0].valueJ = 400;  // attack time
    gameData.items[0].valueQ = 20;   // reach forward
    gameData.items[0].valueR = 4;    // backward
    gameData.items[0].valueS = 6;    // sideways
    c = AddCharacter(100, 100);
    A(c).equipment.resize(2);
    A(c).equipment[1].item = 0;
    A(c).attackArea = 1;
    A(c).speedFactor = 1.0f;
  }
  std::int32_t c = 0;
};

TEST_F(MeleeStrike, StrikesOnceInTheTickThatCrossesTheMiddle) {
  A(c).attackTimer = 400;
  std::vector<std::int32_t> strikes;
  for (int tick = 0; tick < 10; ++tick) {
    std::int32_t item = -1;
    Box box;
    if (AdvanceMeleeAttack(A(c), 50, item, box)) strikes.push_back(A(c).attackTimer);
  }
  // 400 -> 350 ... the tick that leaves 200 reaches one half.
  EXPECT_EQ(strikes, std::vector<std::int32_t>{200});
}

TEST_F(MeleeStrike, NoStrikeWhenStartingWithLessThanHalfOrWithoutLength) {
  struct Case {
    const char* what;
    std::int32_t start;
    float factor;
    std::int32_t reach;
  } cases[] = {
      {"less than half left", 150, 1.0f, 20},
      {"attack of no length", 400, 0.0f, 20},
      {"no melee reach", 400, 1.0f, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    A(c).attackTimer = k.start;
    A(c).speedFactor = k.factor;
    gameData.items[0].valueQ = k.reach;
    bool struck = false;
    for (int tick = 0; tick < 10; ++tick) {
      std::int32_t item = -1;
      Box box;
      struck = struck || AdvanceMeleeAttack(A(c), 50, item, box);
    }
    EXPECT_FALSE(struck);
    EXPECT_LE(A(c).attackTimer, 0);
  }
}

TEST(MeleeStrikeBox, WidenedByDirection) {
  const Box f{-8, -8, 8, 8, 0, 32};
  struct Case {
    std::int32_t direction;
    Box expected;
  } cases[] = {
      {0, Box{-28, -14, 12, 14, 0, 32}},  // Left: forward to the left
      {1, Box{-14, -28, 14, 12, 0, 32}}, {2, Box{-14, -28, 14, 12, 0, 32}}, {3, Box{-14, -28, 14, 12, 0, 32}},
      {4, Box{-12, -14, 28, 14, 0, 32}},  // Right
      {5, Box{-14, -12, 14, 28, 0, 32}}, {6, Box{-14, -12, 14, 28, 0, 32}}, {7, Box{-14, -12, 14, 28, 0, 32}},
  };
  for (const Case& k : cases) EXPECT_EQ(MeleeStrikeBox(f, k.direction, 20, 4, 6), k.expected) << k.direction;
}

TEST_F(MeleeStrike, TheSystemDamagesTheStrikeBoxSparingTheAttacker) {
  A(c).heading = 0.0f;  // facing right
  A(c).attackTimer = 220;
  shell.frameElapsed = 50;
  RunCharacterSystem(map);
  ASSERT_EQ(world.damage.size(), 1u);
  EXPECT_EQ(world.damage[0].box, (Box{100 - 8 - 4, 100 - 8 - 6, 100 + 8 + 20, 100 + 8 + 6, 0, 32}));
  EXPECT_EQ(world.damage[0].attacker, c);
  EXPECT_EQ(world.damage[0].item, 0);
  EXPECT_FALSE(world.damage[0].hitFriends);
  // A dead character does not strike.
  A(c).state = 3;
  A(c).attackTimer = 220;
  RunCharacterSystem(map);
  EXPECT_EQ(world.damage.size(), 1u);
}

// ---- Anchor ----

TEST(CharacterAnchor, RoundsHalfToEvenOnTheGrid) {
  struct Case {
    float x, y;
    std::int32_t gx, gy;
  } cases[] = {
      {8.0f, 24.0f, 0, 32},   // 0.5 -> 0, 1.5 -> 2
      {40.0f, 56.0f, 32, 64},  // 2.5 -> 2, 3.5 -> 4
      {9.0f, 23.0f, 16, 16},
      {-8.0f, -24.0f, 0, -32},
  };
  for (const Case& k : cases) {
    Actor a;
    a.x = k.x;
    a.y = k.y;
    a.heading = 1.25f;
    UpdateCharacterAnchor(a, 16, 0);
    EXPECT_EQ(a.gridX, k.gx) << k.x;
    EXPECT_EQ(a.gridY, k.gy) << k.y;
    EXPECT_FLOAT_EQ(a.gridHeading, 1.25f);
  }
}

TEST_F(CharacterSystemFixture, AnchorOnlyForAnIdleCharacterWithAProgram) {
  storedProjectSettings.gridSize = 16;
  const std::int32_t idle = AddCharacter(40, 40);
  A(idle).route = {1, 2};
  const std::int32_t walking = AddCharacter(40, 40);
  A(walking).route = {1, 2};
  A(walking).path = {3};
  const std::int32_t noProgram = AddCharacter(40, 40);
  const std::int32_t stepping = AddCharacter(40, 40);
  A(stepping).route = {1};
  A(stepping).stepLeft = 5;
  for (std::int32_t c : {idle, walking, noProgram, stepping}) A(c).gridX = -1;
  RunCharacterSystem(map);
  EXPECT_EQ(A(idle).gridX, 32);
  EXPECT_EQ(A(walking).gridX, -1);
  EXPECT_EQ(A(noProgram).gridX, -1);
  EXPECT_EQ(A(stepping).gridX, -1);
}

// ---- Selection and events ----

TEST_F(CharacterSystemFixture, SelectionByRangeRemovalAndRiding) {
  storedProjectSettings.activityRange = 100.0f;
  MapViewEntry focus;
  focus.x = 0.0f;
  focus.y = 0.0f;
  gameData.maps[map].viewList.push_back(focus);
  const std::int32_t near = AddCharacter(60, 80);    // exactly 100 away: near
  const std::int32_t far = AddCharacter(60, 81);     // just beyond
  const std::int32_t removed = AddCharacter(10, 10);
  A(removed).removed = 1;
  const std::int32_t rider = AddCharacter(10, 10);
  A(rider).vehicleRidden = near;
  const std::int32_t gunner = AddCharacter(10, 10);
  A(gunner).turretOperated = near;
  for (std::int32_t c : {near, far, removed, rider, gunner}) A(c).idleTime = 0;
  RunCharacterSystem(map);
  EXPECT_EQ(A(near).idleTime, 50);
  EXPECT_EQ(A(far).idleTime, 0);
  EXPECT_EQ(A(removed).idleTime, 0);
  EXPECT_EQ(A(rider).idleTime, 0);
  EXPECT_EQ(A(gunner).idleTime, 0);
  // Only the near character raised its events.
  ASSERT_FALSE(world.events.empty());
  for (const RaisedEvent& e : world.events) EXPECT_EQ(e.object, near);
}

TEST_F(CharacterSystemFixture, RangeZeroRunsEveryCharacterEvenWithoutViews) {
  const std::int32_t a = AddCharacter(5000, 5000);
  const std::int32_t b = AddCharacter(-5000, 10);
  RunCharacterSystem(map);
  EXPECT_EQ(A(a).idleTime, 50);
  EXPECT_EQ(A(b).idleTime, 50);
}

TEST_F(CharacterSystemFixture, WithARangeAMapNoViewShowsRunsNothing) {
  storedProjectSettings.activityRange = 100.0f;
  AddCharacter(10, 10);
  RunCharacterSystem(map);
  EXPECT_EQ(A(0).idleTime, 0);
  EXPECT_TRUE(world.events.empty());
}

TEST_F(CharacterSystemFixture, PerTickEventsInOrder) {
  const std::int32_t a = AddCharacter(10, 10);
  const std::int32_t b = AddCharacter(20, 10);
  RunCharacterSystem(map);
  EXPECT_EQ(Events(), (std::vector<std::vector<std::int32_t>>{{kEventActorInterval, a, -1},
                                                               {kEventActorCondition, a, -1},
                                                               {kEventActorChanged, a, -1},
                                                               {kEventActorInterval, b, -1},
                                                               {kEventActorCondition, b, -1},
                                                               {kEventActorChanged, b, -1}}));
}

TEST_F(CharacterSystemFixture, ProximityRaisesCloseThenFarForEveryIndex) {
  const std::int32_t a = AddCharacter(10, 10);
  const std::int32_t b = AddCharacter(20, 10);
  A(b).removed = 1;  // a removed character is still a related one
  A(a).triggers = {MakeTrigger(kEventActorProximityFar), MakeTrigger(kEventActorProximityClose)};
  RunCharacterSystem(map);
  EXPECT_EQ(Events(), (std::vector<std::vector<std::int32_t>>{{kEventActorProximityClose, a, 0},
                                                               {kEventActorProximityFar, a, 0},
                                                               {kEventActorProximityClose, a, 1},
                                                               {kEventActorProximityFar, a, 1},
                                                               {kEventActorInterval, a, -1},
                                                               {kEventActorCondition, a, -1},
                                                               {kEventActorChanged, a, -1}}));
}

TEST_F(CharacterSystemFixture, CharactersAddedDuringThePassWaitATick) {
  AddCharacter(10, 10);
  // The first event of the pass (a script, say) adds a character.
  const auto record = characterWorld.RaiseObjectEvent;
  characterWorld.RaiseObjectEvent = [&, record](std::int32_t kind, std::int32_t object, std::int32_t event,
                                                std::int32_t m, std::int32_t related) {
    if (gameData.maps[m].actors.size() == 1) AddCharacter(30, 30);
    record(kind, object, event, m, related);
  };
  RunCharacterSystem(map);
  for (const RaisedEvent& e : world.events) EXPECT_EQ(e.object, 0);
  EXPECT_EQ(A(1).idleTime, 0);
  RunCharacterSystem(map);
  EXPECT_EQ(A(1).idleTime, 50);
}

TEST_F(CharacterSystemFixture, MovedByteFromTickFlagsClearedAfterTheMove) {
  const std::int32_t c = AddCharacter(100, 100);
  A(c).tickFlags = 3;
  RunCharacterSystem(map);
  EXPECT_EQ(A(c).moved, 1);
  EXPECT_EQ(A(c).tickFlags, 2);
  RunCharacterSystem(map);
  EXPECT_EQ(A(c).moved, 0);
}

TEST_F(CharacterSystemFixture, MouseTriggersAndZoneMovedBytes) {
  struct Case {
    const char* what;
    std::int32_t actorEvent;
    std::int32_t zoneEvent;  // 0: a zone without triggers
    bool expected;
  } cases[] = {
      {"no mouse trigger", kEventActorInterval, 0, false},
      {"actor mouse move", 563, 0, true},
      {"actor mouse up", kEventActorMouseUp, 0, true},
      {"zone mouse enter", kEventActorInterval, 574, true},
      {"zone other trigger", kEventActorInterval, 570, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    gameData.maps[map].actors.clear();
    gameData.maps[map].zones.assign(2, Zone());
    for (Zone& z : gameData.maps[map].zones) ZoneMoved(z) = 1;
    if (k.zoneEvent != 0) gameData.maps[map].zones[1].triggers = {MakeTrigger(k.zoneEvent)};
    A(AddCharacter(10, 10)).triggers = {MakeTrigger(k.actorEvent)};
    ClearCharacterTickFlags();
    RunCharacterSystem(map);
    EXPECT_EQ(shell.mouseTriggersPresent, k.expected);
    EXPECT_EQ(ZoneMoved(gameData.maps[map].zones[0]), 1);  // no triggers: kept
    EXPECT_EQ(ZoneMoved(gameData.maps[map].zones[1]), k.zoneEvent != 0 ? 0 : 1);
  }
}

TEST_F(CharacterSystemFixture, IndicatorTimeOnlyForTheControlledCharacterWithAnIndicator) {
  projectState.players.resize(1);
  Player& p = projectState.players[0];
  p.controlledMember = 0;
  p.party.resize(2);
  p.actionSprite = 4;
  const std::int32_t controlled = AddCharacter(10, 10);
  A(controlled).owningPlayer = 0;
  A(controlled).partyMember = 0;
  const std::int32_t member = AddCharacter(10, 10);
  A(member).owningPlayer = 0;
  A(member).partyMember = 1;
  RunCharacterSystem(map);
  EXPECT_EQ(projectState.players[0].actionIndicatorTime, 50);
  projectState.players[0].actionSprite = -1;
  RunCharacterSystem(map);
  EXPECT_EQ(projectState.players[0].actionIndicatorTime, 50);
}

// ---- ActionRects ----

class ActionRects : public CharacterSystemFixture {
 protected:
  void SetUp() override {
    CharacterSystemFixture::SetUp();
    storedProjectSettings.flags[0] = -1;
    // The indicator restarts on the sprite set shown: sets of one pose.
    gameData.spriteSets.resize(10);
    for (SpriteSet& set : gameData.spriteSets) set.poses.resize(1);
    projectState.players.resize(1);
    Player& p = projectState.players[0];
    p.mapIndex = map;
    p.controlledMember = 0;
    p.party.resize(1);
    main = AddCharacter(100, 100);
    p.party[0].character = main;
    A(main).groundState = 1;
    // The collision reset puts the first action rectangle 16 pixels to the
    // right of the character, in map coordinates, and the second where the
    // test says, in use when the test says.
    characterWorld.ResetActorCollision = [this](std::int32_t m, std::int32_t actor) {
      Actor& a = gameData.maps[m].actors[static_cast<std::size_t>(actor)];
      a.frontShape = BoxShape(Box{RoundToInt(a.x) + 8, RoundToInt(a.y) - 8, RoundToInt(a.x) + 24,
                                  RoundToInt(a.y) + 8, 0, 32});
      a.climbShape = BoxShape(secondRectangle);
      a.canClimb = secondInUse ? -1 : 0;
    };
  }
  static std::int32_t RoundToInt(float v) { return static_cast<std::int32_t>(std::lround(v)); }
  std::int32_t Target(float x, float y, std::int32_t event, std::int32_t actionSprite, std::int32_t checkedSprite) {
    const std::int32_t j = AddCharacter(x, y);
    A(j).triggers = {MakeTrigger(event)};
    A(j).furtherReferences[0].index = actionSprite;
    A(j).furtherReferences[1].index = checkedSprite;
    return j;
  }
  std::int32_t main = 0;
  Box secondRectangle{190, 190, 210, 210, 0, 32};
  bool secondInUse = false;
};

TEST_F(ActionRects, TheLaterCandidateInTheListWins) {
  Target(120, 100, kEventActorAction, 5, 6);
  Target(118, 102, kEventActorAction, 7, 8);
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionSprite, 7);
}

TEST_F(ActionRects, CandidatesByStateAndTrigger) {
  struct Case {
    const char* what;
    std::int32_t state;
    std::int32_t event;
    bool present;
    std::int32_t expected;
  } cases[] = {
      {"action trigger, alive", 0, kEventActorAction, true, 5},
      {"action trigger, dead: no candidate", 3, kEventActorAction, true, -1},
      {"checked trigger, dead: checked sprite", 3, kEventActorChecked, true, 6},
      {"checked trigger, alive: no candidate", 0, kEventActorChecked, true, -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    gameData.maps[map].actors.resize(1);
    projectState.players[0].actionSprite = -1;
    const std::int32_t j = Target(120, 100, k.event, 5, 6);
    A(j).state = k.state;
    A(j).triggers[0].script.hasStatements = k.present;
    RunActionRects();
    EXPECT_EQ(projectState.players[0].actionSprite, k.expected);
  }
}

TEST_F(ActionRects, TestsInOrderSecondRectangleOnlyWhenInUse) {
  // Far from the first rectangle and the body, inside the second rectangle.
  Target(200, 200, kEventActorAction, 5, 6);
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionSprite, -1);
  secondInUse = true;
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionSprite, 5);
  // Bodies that overlap count without any rectangle.
  gameData.maps[map].actors.resize(1);
  Target(90, 100, kEventActorAction, 9, 6);
  secondInUse = false;
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionSprite, 9);
}

TEST_F(ActionRects, AChangedSpriteRestartsTheIndicator) {
  Target(120, 100, kEventActorAction, 5, 6);
  projectState.players[0].actionIndicatorTime = 300;
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionIndicatorTime, 0);
  projectState.players[0].actionIndicatorTime = 300;
  RunActionRects();  // unchanged: keeps running
  EXPECT_EQ(projectState.players[0].actionIndicatorTime, 300);
}

TEST_F(ActionRects, NothingWhenTheSettingIsOffOrTheMainCharacterCannotAct) {
  Target(120, 100, kEventActorAction, 5, 6);
  projectState.players[0].actionSprite = 2;
  storedProjectSettings.flags[0] = 0;
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionSprite, 2);
  storedProjectSettings.flags[0] = -1;
  A(main).groundState = 0;
  RunActionRects();
  EXPECT_EQ(projectState.players[0].actionSprite, 2);
}

// ---- HI ----

class HISystem : public ActionRects {};

TEST_F(HISystem, StopsTheCharacterWhenRemovedOrABoxIsShown) {
  for (std::size_t box = 0; box <= 7; ++box) {
    SCOPED_TRACE(box);
    for (MessageBox& b : messageBoxes) b.visible = false;
    messageBoxes[box].visible = true;
    A(main).speed = 2.0f;
    RunHISystem();
    EXPECT_EQ(A(main).speed, box <= 6 ? 0.0f : 2.0f);
  }
  for (MessageBox& b : messageBoxes) b.visible = false;
  A(main).removed = 1;
  A(main).speed = 2.0f;
  RunHISystem();
  EXPECT_EQ(A(main).speed, 0.0f);
}

TEST_F(HISystem, FiresTheRiddenVehiclesFirstSlot) {
  std::vector<std::int32_t> steps;
  const auto record = characterWorld.TryFireCharacterWeapon;
  characterWorld.TryFireCharacterWeapon = [&, record](std::int32_t m, std::int32_t actor, std::int32_t area,
                                                      float heading, float power, bool exact, bool bypass) {
    EXPECT_FLOAT_EQ(power, 1.0f);
    EXPECT_FALSE(exact);
    EXPECT_FALSE(bypass);
    steps.push_back(shell.activityStep);
    record(m, actor, area, heading, power, exact, bypass);
  };
  const std::int32_t car = AddCharacter(100, 100);
  A(car).vehicle = 1;
  A(car).groundState = 1;
  A(car).heading = 0.75f;
  A(main).vehicleRidden = car;
  RunHISystem();
  ASSERT_EQ(world.weaponFires.size(), 1u);
  EXPECT_EQ(world.weaponFires[0].actor, car);
  EXPECT_EQ(world.weaponFires[0].area, 0);
  EXPECT_FLOAT_EQ(world.weaponFires[0].angle, 0.75f);
  EXPECT_EQ(steps, std::vector<std::int32_t>{2});
  // Not a vehicle, or its kind byte 0, or a character with a path, or a dead one: nothing.
  A(car).vehicle = 0;
  RunHISystem();
  A(car).vehicle = 1;
  A(car).groundState = 0;
  RunHISystem();
  A(car).groundState = 1;
  A(main).path = {1};
  RunHISystem();
  A(main).path.clear();
  A(main).state = 2;
  RunHISystem();
  EXPECT_EQ(world.weaponFires.size(), 1u);
}

}  // namespace
}  // namespace kiv
