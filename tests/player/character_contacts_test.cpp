// Contacts: touch, while-touched and left events with their grace time, the
// pair stored once, TouchedSolid, and zones with a target map.
#include "character_fixture.h"
#include "player/character_action.h"
#include "core/format_version.h"
#include "support/map_object_writer.h"

namespace kiv::test {
namespace {

class Contacts : public CharacterTest {
 protected:
  void SetUp() override {
    CharacterTest::SetUp();
    c = AddCharacter(100.0f, 100.0f);
    o = AddCharacter(116.0f, 100.0f);
  }
  // One contact step of c with this tick's hits.
  CharacterTurn Tick(std::int32_t elapsed, std::vector<std::int32_t> hits,
                     std::vector<std::int32_t> zoneHits = {}, bool touchedSolid = false) {
    world.characterHits = std::move(hits);
    world.zoneHits = std::move(zoneHits);
    CharacterTurn turn = Turn(c, elapsed);
    turn.touchedSolid = touchedSolid;
    UpdateCharacterContacts(turn);
    return turn;
  }
  std::int32_t c = -1, o = -1;
};

TEST_F(Contacts, StillPairKeepsItsEntryAndEndsAGraceAfterOneMovesAway) {
  Tick(50, {o});
  EXPECT_EQ(world.events, (std::vector<RaisedEvent>{{kOwnerActor, o, kEventActorTouchedActor, map, c},
                                                    {kOwnerActor, c, kEventActorTouchedActor, map, o}}));
  world.events.clear();
  for (int i = 0; i < 10; ++i) Tick(50, {});
  EXPECT_TRUE(world.events.empty());
  ASSERT_EQ(TouchingActors(Character(c)).size(), 1u);
  EXPECT_EQ(TouchingActors(Character(c))[0].first, o);

  Character(o).moved = 1;  // o walks away
  Tick(50, {});
  EXPECT_EQ(world.EventsOf(kEventActorWhileTouchedActor).size(), 2u);
  EXPECT_TRUE(world.EventsOf(kEventActorLeftActor).empty());
  world.events.clear();
  Tick(50, {});
  EXPECT_EQ(world.events, (std::vector<RaisedEvent>{{kOwnerActor, o, kEventActorLeftActor, map, c},
                                                    {kOwnerActor, c, kEventActorLeftActor, map, o}}));
  EXPECT_EQ(TouchingActors(Character(c))[0].first, -1);
}

TEST_F(Contacts, OneSidedEventsGoToTheTouchedCharacterOnly) {
  for (const bool oneSided : {false, true}) {
    SCOPED_TRACE(oneSided);
    TearDown();
    SetUp();
    SetOption(10, oneSided);
    Tick(30, {o});
    Tick(30, {o});
    Character(c).moved = 1;
    Tick(100, {});
    for (const std::int32_t event :
         {kEventActorTouchedActor, kEventActorWhileTouchedActor, kEventActorLeftActor}) {
      const auto raised = world.EventsOf(event);
      ASSERT_EQ(raised.size(), oneSided ? 1u : 2u) << event;
      EXPECT_EQ(raised[0].object, o);  // the touched one first
      EXPECT_EQ(raised[0].related, c);
    }
    world.events.clear();
  }
}

TEST_F(Contacts, PairHeldByTheOtherIsNotStoredAgain) {
  TouchingActors(Character(o)).push_back(ValuePair{c, 20});
  Tick(30, {o});
  EXPECT_TRUE(TouchingActors(Character(c)).empty());
  EXPECT_EQ(TouchingActors(Character(o))[0].second, kTouchGrace);
  EXPECT_TRUE(world.EventsOf(kEventActorTouchedActor).empty());
}

TEST_F(Contacts, FreeEntriesAreReused) {
  TouchingActors(Character(c)) = {ValuePair{-1, 0}, ValuePair{5, 100}};
  Tick(30, {o});
  ASSERT_EQ(TouchingActors(Character(c)).size(), 2u);
  EXPECT_EQ(TouchingActors(Character(c))[0].first, o);
}

TEST_F(Contacts, NewContactTouchesSolidOnlyWhenTheOtherIsSolidHostileAndStanding) {
  struct Case {
    const char* name;
    bool collidable;
    std::uint8_t solidToTouch;
    std::int32_t state, myTeam, otherTeam;
    bool touchedSolid;
  };
  const Case cases[] = {
      {"SolidEnemy", true, 1, 0, 1, 2, true},       {"NoTeam", true, 1, 0, 1, -1, true},
      {"SameTeam", true, 1, 0, 1, 1, false},        {"Dying", true, 1, kStateDying, 1, 2, false},
      {"NotSolidToTouch", true, 0, 0, 1, 2, false}, {"NotCollidable", false, 1, 0, 1, 2, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TearDown();
    SetUp();
    world.events.clear();
    world.notCollidable.clear();
    if (!k.collidable) world.notCollidable.insert(o);
    Character(o).solidToTouch = k.solidToTouch;
    Character(o).state = k.state;
    Character(c).team = k.myTeam;
    Character(o).team = k.otherTeam;
    // The move was blocked by o alone.
    Tick(30, {o}, {}, true);
    EXPECT_EQ(world.EventsOf(kEventActorTouchedSolid).size(), k.touchedSolid ? 1u : 0u);
    EXPECT_EQ(world.EventsOf(kEventActorTouchedActor).size(), 2u);
  }
}

// The other character comes from a map file: its Solid byte decides.
TEST_F(Contacts, AnActorReadFromAMapFileTouchesSolidByItsSolidByte) {
  for (const std::uint8_t solid : {1, 0}) {
    SCOPED_TRACE(static_cast<int>(solid));
    TearDown();
    SetUp();
    world.events.clear();
    Actor stored = Character(o);
    stored.name = u"Wall Guard";
    stored.team = 2;
    stored.solidToTouch = solid;
    ByteList bytes;
    std::int32_t written = 0;
    WriteActorFixture(bytes, written, stored, kCurrentFormatVersion, false);
    Actor loaded;
    std::int32_t at = 0;
    ReadCharacter(bytes, at, loaded, kCurrentFormatVersion, false);
    ASSERT_EQ(loaded.name, u"Wall Guard");
    Character(o) = loaded;
    Character(c).team = 1;
    Tick(30, {o}, {}, true);
    EXPECT_EQ(world.EventsOf(kEventActorTouchedSolid).size(), solid != 0 ? 1u : 0u);
  }
}

TEST_F(Contacts, WalkTimeReturnsWhenTouchingCharactersWhileMoving) {
  Character(c).moved = 1;
  Character(c).walkTime = 0;
  world.characterHits = {o};
  CharacterTurn turn = Turn(c, 30);
  turn.rememberedWalkTime = 240;
  UpdateCharacterContacts(turn);
  EXPECT_EQ(Character(c).walkTime, 240);
}

TEST_F(Contacts, NothingHappensInATickOfZeroMs) {
  Tick(0, {o});
  EXPECT_TRUE(world.events.empty());
  EXPECT_TRUE(TouchingActors(Character(c)).empty());
}

TEST_F(Contacts, ZoneContactsStartAndEndWithTheirGrace) {
  Zone z;
  gameData.maps[map].zones.push_back(z);
  Tick(40, {}, {0});
  EXPECT_EQ(world.events, (std::vector<RaisedEvent>{{kOwnerZone, 0, kEventZoneTouchedActor, map, c}}));
  world.events.clear();
  Tick(40, {}, {});  // neither moved: kept
  EXPECT_TRUE(world.events.empty());
  ZoneMoved(gameData.maps[map].zones[0]) = 1;
  Tick(40, {}, {});
  Tick(40, {}, {});
  EXPECT_TRUE(world.events.empty());
  Tick(40, {}, {});
  EXPECT_EQ(world.events, (std::vector<RaisedEvent>{{kOwnerZone, 0, kEventZoneLeftActor, map, c}}));
}

TEST_F(Contacts, PlayersCharacterTouchingAZoneWithATargetMapChangesMapInTheSameTick) {
  const std::int32_t target = gameData.maps.Append();
  Zone z;
  z.target.index = target;
  z.targetValues = {320, 64};
  z.value1 = 8;
  gameData.maps[map].zones.push_back(z);
  for (const bool owned : {false, true}) {
    SCOPED_TRACE(owned);
    world.positionsSet.clear();
    TouchingZones(Character(c)).clear();
    Character(c).owningPlayer = owned ? 0 : -1;
    if (owned && projectState.players.empty()) projectState.players.resize(1);
    const CharacterTurn turn = Tick(30, {}, {0});
    if (owned) {
      ASSERT_EQ(world.positionsSet.size(), 1u);
      EXPECT_EQ(world.positionsSet[0].a, c);
      EXPECT_EQ(world.positionsSet[0].b, map);
      EXPECT_EQ(world.positionsSet[0].c, target);
      const Actor& arrived = gameData.maps[target].actors.back();
      EXPECT_FLOAT_EQ(arrived.x, 320.0f);
      EXPECT_FLOAT_EQ(arrived.y, 64.0f);
      EXPECT_FLOAT_EQ(arrived.z, 8.0f);
      EXPECT_TRUE(turn.departed);
    } else {
      EXPECT_TRUE(world.positionsSet.empty());
      EXPECT_FALSE(turn.departed);
    }
  }
}

}  // namespace
}  // namespace kiv::test
