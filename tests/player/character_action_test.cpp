// Weapons and the action on doors, pick-ups, zones and characters.
#include "player/character_action.h"

#include <functional>
#include <random>

#include "data/broad_phase.h"

#include "character_fixture.h"

namespace kiv::test {
namespace {

class Action : public CharacterTest {
 protected:
  // A player's character at (100, 100) asking to act, its action shape the
  // box from x 108 to 124 in front of it.
  std::int32_t AddActor() {
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    OwnByPlayer(k);
    Character(k).frontShape = FakeCharacterWorld::BoxShape(108, 92, 124, 108, 0, 32);
    ActionRequest(Character(k)) = 1;
    return k;
  }
  std::int32_t AddDoor(float x, std::int32_t keyItem, const std::u16string& text) {
    Door d;
    d.name = u"Gate";
    d.x = x;
    d.y = 100.0f;
    d.collisionShape = FakeCharacterWorld::BoxShape(-4, -16, 4, 16, 0, 32);
    d.item = keyItem;
    d.text = text;
    gameData.maps[map].doors.push_back(d);
    return static_cast<std::int32_t>(gameData.maps[map].doors.size()) - 1;
  }
  // System script slot with two parameters, registered at the end of the table.
  void DefineSystemScript(std::int32_t slot) {
    Script s;
    s.hasStatements = true;
    s.frameTemplate.parameters.resize(2);
    scriptTable.scripts.push_back(s);
    systemScripts[static_cast<std::size_t>(slot)] = s;
    systemScripts[static_cast<std::size_t>(slot)].index =
        static_cast<std::int32_t>(scriptTable.scripts.size()) - 1;
  }
  std::u16string Parameter(std::int32_t slot, std::size_t k) {
    const auto index = static_cast<std::size_t>(systemScripts[static_cast<std::size_t>(slot)].index);
    return scriptTable.scripts[index].frameTemplate.parameters[k].value.AsText();
  }
  void Act(std::int32_t k) {
    CharacterTurn turn = Turn(k, 10);
    RunCharacterWeaponsAndAction(turn);
  }
};

TEST_F(Action, LockedDoorRunsTheLockScriptAndStaysShut) {
  const std::int32_t k = AddActor();
  AddDoor(116.0f, 7, u"");
  DefineSystemScript(12);
  Act(k);
  ASSERT_EQ(world.triggerRuns.size(), 2u);
  EXPECT_EQ(world.triggerRuns[0].ownerKind, 5);  // the door's use trigger first
  EXPECT_EQ(world.triggerRuns[0].ownerIndex, 0);
  EXPECT_EQ(world.triggerRuns[0].subIndex, 0);
  EXPECT_EQ(world.triggerRuns[0].relateActor, k);
  EXPECT_EQ(world.triggerRuns[1].ownerKind, 0);
  EXPECT_EQ(world.triggerRuns[1].ownerIndex, 12);
  EXPECT_EQ(world.triggerRuns[1].relateDoor, 0);
  EXPECT_EQ(Parameter(12, 0), u"|FIELD.map:Gate");
  EXPECT_EQ(Parameter(12, 1), u"");
  EXPECT_TRUE(world.doorsOpened.empty());
  EXPECT_EQ(projectState.players[0].actionUsed, -1);
  EXPECT_EQ(ActionRequest(Character(k)), 0);
}

TEST_F(Action, DoorKeyAndTextDecideBetweenOpeningAndTheTextScript) {
  struct Case {
    const char* name;
    std::int32_t key;
    bool inInventory, inEquipment;
    std::int32_t status;
    std::u16string text;
    bool opens;
    std::int32_t script;  // system script run after the use trigger, -1 none
  };
  const Case cases[] = {
      {"NoKeyNoText", -1, false, false, 0, u"", true, -1},
      {"KeyInInventory", 7, true, false, 0, u"", true, -1},
      {"KeyInEquipment", 7, false, true, 0, u"", true, -1},
      {"KeyStatusNegative", 7, true, false, -1, u"", false, 12},
      {"KeyWithText", 7, true, false, 0, u"  Knock first  ", false, 11},
      {"BlankText", -1, false, false, 0, u"   ", true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    world.triggerRuns.clear();
    world.doorsOpened.clear();
    const std::int32_t k = AddActor();
    AddDoor(116.0f, c.key, c.text);
    DefineSystemScript(11);
    DefineSystemScript(12);
    InventoryEntry key;
    key.item = 7;
    key.quantity = c.status;
    if (c.inInventory) projectState.players[0].items.push_back(key);
    if (c.inEquipment) Character(k).equipment.push_back(key);
    Act(k);
    EXPECT_EQ(world.doorsOpened.size(), c.opens ? 1u : 0u);
    if (c.opens) {
      EXPECT_EQ(world.doorsOpened[0], (FakeCall{map, 0, k}));
    }
    ASSERT_EQ(world.triggerRuns.size(), c.script < 0 ? 1u : 2u);
    if (c.script >= 0) {
      EXPECT_EQ(world.triggerRuns[1].ownerIndex, c.script);
    }
    if (c.script == 11) {
      EXPECT_EQ(Parameter(11, 0), u"Knock first");
      EXPECT_EQ(Parameter(11, 1), u"|FIELD.map:Gate");
    }
    EXPECT_EQ(projectState.players[0].actionUsed, c.opens ? 0 : -1);
  }
}

TEST_F(Action, UndefinedSystemScriptStillMarksTheActionUsed) {
  const std::int32_t k = AddActor();
  AddDoor(116.0f, 7, u"");
  Act(k);
  EXPECT_EQ(world.triggerRuns.size(), 1u);
  EXPECT_EQ(projectState.players[0].actionUsed, -1);
}

TEST_F(Action, InactiveAndDistantDoorsAreIgnored) {
  const std::int32_t k = AddActor();
  AddDoor(200.0f, -1, u"");
  AddDoor(116.0f, -1, u"");
  gameData.maps[map].doors[1].byte6 = 1;
  Act(k);
  EXPECT_TRUE(world.triggerRuns.empty());
  EXPECT_TRUE(world.doorsOpened.empty());
}

TEST_F(Action, UsedActionDoesNothingButClearsTheRequest) {
  const std::int32_t k = AddActor();
  AddDoor(116.0f, -1, u"");
  projectState.players[0].actionUsed = -1;
  Act(k);
  EXPECT_TRUE(world.collisionResets.empty());
  EXPECT_TRUE(world.triggerRuns.empty());
  EXPECT_TRUE(world.doorsOpened.empty());
  EXPECT_EQ(ActionRequest(Character(k)), 0);
}

TEST_F(Action, ShapesAreRebuiltUnlessAPlayersActionSourceIsNegative) {
  struct Case {
    bool owned;
    std::int32_t source;
    bool rebuilt;
  };
  for (const Case c : {Case{true, 0, true}, Case{true, -1, false}, Case{false, -1, true}}) {
    SCOPED_TRACE(testing::Message() << c.owned << c.source);
    TearDown();
    SetUp();
    world.collisionResets.clear();
    const std::int32_t k = AddActor();
    if (!c.owned) Character(k).owningPlayer = -1;
    Character(k).actionSource = c.source;
    Act(k);
    EXPECT_EQ(world.collisionResets.size(), c.rebuilt ? 1u : 0u);
  }
}

TEST_F(Action, PickUpsZonesAndCharactersSetTheUsedFlag) {
  struct Case {
    const char* name;
    std::function<void(std::int32_t)> place;
    std::function<bool()> happened;
  };
  const Case cases[] = {
      {"PickUp",
       [&](std::int32_t) {
         PickUp p;
         p.x = 116.0f;
         p.y = 100.0f;
         p.collisionShape = FakeCharacterWorld::BoxShape(-4, -4, 4, 4, 0, 8);
         gameData.maps[map].pickUps.push_back(p);
       },
       [&] { return world.pickUpsTaken.size() == 1; }},
      {"ZoneActionAbove",
       [&](std::int32_t) {
         Zone z;
         z.shape = FakeCharacterWorld::BoxShape(90, 90, 110, 110, 0, 32);
         z.triggers.push_back(Trigger{kEventZoneActionAbove, {}, {}});
         gameData.maps[map].zones.push_back(z);
       },
       [&] { return world.EventsOf(kEventZoneActionAbove).size() == 1; }},
      {"ZoneActionBeside",
       [&](std::int32_t) {
         Zone z;
         z.shape = FakeCharacterWorld::BoxShape(115, 90, 130, 110, 0, 32);
         z.triggers.push_back(Trigger{kEventZoneActionBeside, {}, {}});
         gameData.maps[map].zones.push_back(z);
       },
       [&] { return world.EventsOf(kEventZoneActionBeside).size() == 1; }},
      {"CharacterAction",
       [&](std::int32_t) {
         const std::int32_t o = AddCharacter(125.0f, 100.0f);
         Character(o).triggers.push_back(Trigger{kEventActorAction, {}, {}});
       },
       [&] { return world.EventsOf(kEventActorAction).size() == 1; }},
      {"DeadCharacterChecked",
       [&](std::int32_t) {
         const std::int32_t o = AddCharacter(125.0f, 100.0f);
         Character(o).state = kStateDead;
         Character(o).triggers.push_back(Trigger{kEventActorChecked, {}, {}});
       },
       [&] { return world.EventsOf(kEventActorChecked).size() == 1; }},
      {"ThroughReachShape",
       [&](std::int32_t k) {
         const std::int32_t o = AddCharacter(180.0f, 100.0f);
         Character(o).triggers.push_back(Trigger{kEventActorAction, {}, {}});
         Character(o).canClimb = -1;
         Character(k).climbShape = FakeCharacterWorld::BoxShape(160, 92, 190, 108, 0, 32);
       },
       [&] { return world.EventsOf(kEventActorAction).size() == 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    world.events.clear();
    world.pickUpsTaken.clear();
    const std::int32_t k = AddActor();
    c.place(k);
    Act(k);
    EXPECT_TRUE(c.happened());
    EXPECT_EQ(projectState.players[0].actionUsed, -1);
  }
}

TEST_F(Action, CharactersNeedTheTriggerOfTheirStateAndToBeCollidable) {
  struct Case {
    const char* name;
    std::int32_t state, event;
    bool collidable, raised;
  };
  const Case cases[] = {
      {"LivingWithAction", 0, kEventActorAction, true, true},
      {"LivingWithChecked", 0, kEventActorChecked, true, false},
      {"DeadWithAction", kStateDead, kEventActorAction, true, false},
      {"DeadWithChecked", kStateDead, kEventActorChecked, true, true},
      {"NotCollidable", 0, kEventActorAction, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    world.events.clear();
    world.notCollidable.clear();
    const std::int32_t k = AddActor();
    const std::int32_t o = AddCharacter(125.0f, 100.0f);
    Character(o).state = c.state;
    Character(o).triggers.push_back(Trigger{c.event, {}, {}});
    if (!c.collidable) world.notCollidable.insert(o);
    Act(k);
    EXPECT_EQ(world.events.size(), c.raised ? 1u : 0u);
    if (c.raised) {
      EXPECT_EQ(world.events[0], (RaisedEvent{kOwnerActor, o, c.event, map, k}));
    }
  }
}

TEST_F(Action, WeaponsFireEveryAreaUnlessABoxHoldsThePlayer) {
  for (const bool box : {false, true}) {
    SCOPED_TRACE(box);
    TearDown();
    SetUp();
    world.weaponFires.clear();
    const std::int32_t k = AddActor();
    Character(k).heading = 0.5f;
    Character(k).equipment.resize(2);
    messageBoxes[6].visible = box;
    Act(k);
    ASSERT_EQ(world.weaponFires.size(), box ? 0u : 2u);
    if (!box) {
      EXPECT_EQ(world.weaponFires[1].area, 1);
      EXPECT_FLOAT_EQ(world.weaponFires[1].angle, 0.5f);
    }
  }
}

TEST_F(Action, DetonateRequestResetsAndInactiveCharactersStopWalking) {
  const std::int32_t k = AddActor();
  DetonateRequest(Character(k)) = -1;
  Act(k);
  EXPECT_EQ(DetonateRequest(Character(k)), 0);

  Character(k).canMove = 0;
  Character(k).walkTime = 300;
  ActionRequest(Character(k)) = 1;
  Act(k);
  EXPECT_EQ(Character(k).walkTime, 0);
  EXPECT_EQ(ActionRequest(Character(k)), 1);  // an inactive character does not act
}

TEST_F(Action, TouchedPickUpsAreTakenByAPlayersCollidableCharacter) {
  struct Case {
    bool owned, collidable;
    std::int32_t countdown;
    bool taken;
  };
  for (const Case c : {Case{true, true, 0, true}, Case{false, true, 0, false}, Case{true, false, 0, false},
                       Case{true, true, 1, false}}) {
    SCOPED_TRACE(testing::Message() << c.owned << c.collidable << c.countdown);
    TearDown();
    SetUp();
    world.pickUpsTaken.clear();
    world.notCollidable.clear();
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    if (c.owned) OwnByPlayer(k);
    if (!c.collidable) world.notCollidable.insert(k);
    PickUp p;
    p.x = 104.0f;
    p.y = 100.0f;
    p.respawnCountdown = c.countdown;
    p.collisionShape = FakeCharacterWorld::BoxShape(-4, -4, 4, 4, 0, 8);
    gameData.maps[map].pickUps.push_back(p);
    CharacterTurn turn = Turn(k, 10);
    TakePickUpsByTouch(turn);
    EXPECT_EQ(world.pickUpsTaken.size(), c.taken ? 1u : 0u);
  }
}

// The action and the touch look only at the doors, pick-ups and zones near
// the character; what they meet, and in which order, is what a look at every
// one of them meets, also when a taken pick-up's script adds another at the
// end of the list that the character touches.
TEST_F(Action, NearbyObjectsAreMetAsByALookAtEveryObject) {
  struct Outcome {
    std::vector<RaisedEvent> events;
    std::vector<FakeCall> taken;
    std::vector<TriggerRun> runs;
    std::vector<FakeCall> opened;
  };
  const auto run = [&](bool broad) {
    TearDown();
    SetUp();
    world.events.clear();
    world.pickUpsTaken.clear();
    world.triggerRuns.clear();
    world.doorsOpened.clear();
    gameData.maps[map].width = gameData.maps[map].height = 31;  // 1,024 pixels: eight columns a side
    useBroadPhase = broad;
    // Moves are noted as in the Character System's pass: the broad phase is in use.
    SetBroadPhaseMovesNoted(gameData.maps[map], broad);
    std::mt19937 random(9);
    // Around the character and its action box, across the column at x 128.
    const auto near = [&] { return static_cast<float>(random() % 140) + 40.0f; };
    const std::int32_t k = AddActor();
    for (int i = 0; i < 40; ++i) {
      PickUp p;
      p.x = near();
      p.y = near();
      p.collisionShape = FakeCharacterWorld::BoxShape(-6, -6, 6, 6, 0, 8);
      gameData.maps[map].pickUps.push_back(p);
      Zone z;
      const auto zx = static_cast<std::int32_t>(near()), zy = static_cast<std::int32_t>(near());
      z.shape = FakeCharacterWorld::BoxShape(zx, zy, zx + 30, zy + 20, 0, 32);
      z.triggers.push_back(Trigger{i % 2 == 0 ? kEventZoneActionAbove : kEventZoneActionBeside, {}, {}});
      gameData.maps[map].zones.push_back(z);
      if (i % 4 == 0) AddDoor(near() + 150.0f, -1, u"");
    }
    gameData.maps[map].doors.back().x = 116.0f;  // one door in reach
    const auto take = characterWorld.TakePickUp;
    bool added = false;
    characterWorld.TakePickUp = [&, take](std::int32_t m, std::int32_t actor, std::int32_t pickUp) {
      take(m, actor, pickUp);
      if (added) return;
      added = true;
      PickUp late;
      late.x = 104.0f;
      late.y = 100.0f;
      late.collisionShape = FakeCharacterWorld::BoxShape(-6, -6, 6, 6, 0, 8);
      gameData.maps[map].pickUps.push_back(late);
    };
    Act(k);
    CharacterTurn turn = Turn(k, 10);
    TakePickUpsByTouch(turn);
    characterWorld.TakePickUp = take;
    SetBroadPhaseMovesNoted(gameData.maps[map], false);
    useBroadPhase = true;
    return Outcome{world.events, world.pickUpsTaken, world.triggerRuns, world.doorsOpened};
  };
  const Outcome every = run(false);
  const Outcome broad = run(true);
  EXPECT_GE(every.taken.size(), 3u);
  EXPECT_GE(every.events.size(), 2u);
  EXPECT_EQ(every.opened.size(), 1u);
  EXPECT_EQ(broad.events, every.events);
  EXPECT_EQ(broad.taken, every.taken);
  EXPECT_EQ(broad.opened, every.opened);
  ASSERT_EQ(broad.runs.size(), every.runs.size());
  for (std::size_t i = 0; i < every.runs.size(); ++i) {
    EXPECT_EQ(broad.runs[i].ownerKind, every.runs[i].ownerKind);
    EXPECT_EQ(broad.runs[i].ownerIndex, every.runs[i].ownerIndex);
  }
}

}  // namespace
}  // namespace kiv::test
