#include "script/script_object_resolvers.h"

#include <gtest/gtest.h>

#include "resolver_fixture.h"
#include "script/script_actor_resolvers.h"
#include "script/script_party_resolvers.h"

namespace kiv {
namespace {

using test::ErrorOf;
using test::kCave;
using test::kForest;
using test::kHarbour;
using test::kHud;
using test::kMenu;
using test::kTown;
using test::Members;
using test::PreparedMap;
using test::Ref;

class ScriptObjectResolversTest : public test::ResolverTest {
 protected:
  std::vector<std::int32_t> PreparedMaps() const {
    std::vector<std::int32_t> maps;
    for (const PreparedMap& p : prepared_) {
      EXPECT_TRUE(p.progress);
      maps.push_back(p.map);
    }
    return maps;
  }
};

TEST_F(ScriptObjectResolversTest, CharactersAreNamedByScriptingIdActorsByStoredName) {
  AddActor(kTown, u"Character 4");
  const std::int32_t five = AddActor(kTown, u"Character 5");
  AddActor(kTown, u"Vehicle 5");
  EXPECT_EQ(ScriptResolveCharacter(u"5", -1, true, false), Ref(kObjectCharacter, five, kTown));
  EXPECT_EQ(ScriptResolveActor(u"5", -1, false, false), Ref(kObjectActor, -1, -1));
  EXPECT_EQ(ScriptResolveActor(u"Character 5", -1, true, false), Ref(kObjectActor, five, kTown));
  EXPECT_EQ(ScriptResolveVehicle(u"5", -1, true), Ref(kObjectVehicle, five + 1, kTown));
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kTown, kTown, kTown}));
}

TEST_F(ScriptObjectResolversTest, TheHighestMapWinsAndTheObjectsOfNoMapComeLast) {
  AddActor(-1, u"Character Guard");
  AddActor(kForest, u"Character Guard");
  const std::int32_t last = AddActor(kHarbour, u"Character Guard");
  AddActor(kHarbour, u"Character Guard");  // the same name twice: the last index first
  const std::int32_t hermit = AddActor(-1, u"Character Hermit");
  AddActor(kMenu, u"Character Hermit Not");
  EXPECT_EQ(ScriptResolveCharacter(u"Guard", -1, true, false), Ref(kObjectCharacter, last + 1, kHarbour));
  EXPECT_EQ(ScriptResolveCharacter(u"Hermit", -1, true, false), Ref(kObjectCharacter, hermit, -1));
  EXPECT_EQ(ScriptResolveCharacter(u"Guard", kForest, true, false), Ref(kObjectCharacter, 0, kForest));
  EXPECT_EQ(ScriptResolveCharacter(u"Guard", kCave, false, false), Ref(kObjectCharacter, -1, -1));
  // Every success prepares the object's map; the callee ignores -1.
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kHarbour, -1, kForest}));
}

TEST_F(ScriptObjectResolversTest, QualifiedNamesSearchOneMap) {
  AddActor(kTown, u"Character Bob");
  AddActor(kHarbour, u"Character Bob");
  const std::int32_t offMap = AddActor(-1, u"Character Bob");
  EXPECT_EQ(ScriptResolveCharacter(u"|Town:Bob", -1, true, false), Ref(kObjectCharacter, 0, kTown));
  // The map part is a map found by name with load: prepared, then the character's map.
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kTown, kTown}));
  EXPECT_EQ(ScriptResolveCharacter(u"|Cave:Bob", -1, false, false), Ref(kObjectCharacter, -1, -1));
  EXPECT_EQ(ScriptResolveCharacter(u"|:Bob", -1, true, false), Ref(kObjectCharacter, offMap, -1));
  EXPECT_EQ(ScriptResolveActor(u"|Town:Character Bob", kTown, true, false), Ref(kObjectActor, 0, kTown));
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"|Town", -1, false, false); }),
            "5 Invalid procedure call or argument");
  EXPECT_EQ(ErrorOf([] { ScriptResolveZone(u"|Town", false); }), "5 Invalid procedure call or argument");
  // A missing map part is loaded, so its error passes through.
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"|Nowhere:Bob", -1, false, false); }),
            "-1 Map file \"Nowhere\" cannot be found.");
  SetLooseNameMatching(true);
  EXPECT_EQ(ScriptResolveCharacter(u" |TOWN:BOB ", -1, true, false), Ref(kObjectCharacter, 0, kTown));
}

// With a map required, the map part is not loaded and must be that map.
TEST_F(ScriptObjectResolversTest, ARequiredMapRefusesAQualifiedNameOfAnother) {
  AddActor(kTown, u"Character Bob");
  AddActor(kTown, u"Vehicle Cart");
  AddActor(kTown, u"Turret Gun");
  AddField(kMenu, u"Ok");
  EXPECT_EQ(ErrorOf([] { ScriptResolveActor(u"|Town:Character Bob", kCave, true, false); }),
            "-1 Expecting actor in map \"Cave\" and not \"Town\".");
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"|Town:Bob", kCave, true, false); }),
            "-1 Expecting character in map \"Cave\" and not \"Town\".");
  EXPECT_EQ(ErrorOf([] { ScriptResolveVehicle(u"|Town:Cart", kCave, true); }),
            "-1 Expecting vehicle in map \"Cave\" and not \"Town\".");
  EXPECT_EQ(ErrorOf([] { ScriptResolveTurret(u"|Town:Gun", kCave, true); }),
            "-1 Expecting turret in map \"Cave\" and not \"Town\".");
  EXPECT_EQ(ErrorOf([] { ScriptResolveField(u"|Menu:Ok", kHud, true); }),
            "-1 Expecting field in interface \"Hud\" and not \"Menu\".");
  // A map not in memory is not loaded for the check: it counts as none.
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"|Nowhere:Bob", kCave, true, false); }),
            "-1 Expecting character in map \"Cave\" and not \"Nowhere\".");
  EXPECT_EQ(ScriptResolveCharacter(u"|Town:Bob", kCave, false, false), Ref(kObjectCharacter, -1, -1));
  EXPECT_EQ(ScriptResolveCharacter(u"|Town:Bob", kTown, true, false), Ref(kObjectCharacter, 0, kTown));
  EXPECT_EQ(gameData.maps.LastIndex(), kHarbour);
  // With a map required the map part is neither loaded nor prepared: only the success is.
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kTown}));
}

TEST_F(ScriptObjectResolversTest, FieldsOfTheRunningInterfaceComeFirst) {
  AddField(kHud, u"Ok");
  const std::int32_t menuOk = AddField(kMenu, u"Ok");
  AddField(kMenu, u"Ok ");
  Frame().ownerMap = kMenu;
  EXPECT_EQ(ScriptResolveField(u"Ok", -1, true), Ref(kObjectField, menuOk, kMenu));
  Frame().ownerMap = kTown;
  EXPECT_EQ(ScriptResolveField(u"Ok", -1, true), Ref(kObjectField, 0, kHud));
  EXPECT_EQ(ScriptResolveField(u"Ok", kMenu, true), Ref(kObjectField, menuOk, kMenu));
  EXPECT_EQ(ScriptResolveField(u"|Menu:Ok", -1, true), Ref(kObjectField, menuOk, kMenu));
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kMenu, kHud, kMenu, kMenu}));
}

TEST_F(ScriptObjectResolversTest, PartyShortcutNamesAreSlotsOfTheCurrentParty) {
  const std::int32_t a = AddActor(kTown, u"Character A");
  const std::int32_t b = AddActor(kTown, u"Character B");
  const std::int32_t c = AddActor(kTown, u"Character C");
  const std::int32_t p7 = AddActor(kTown, u"P7");
  const std::int32_t p100 = AddActor(kTown, u"P100");
  const std::int32_t p2 = AddActor(kTown, u"p2");
  SetParty(kTown, {a, b, c}, 0);
  SetPartyShortcutNames(true);
  EXPECT_EQ(ScriptResolveActor(u"P2", -1, true, false), Ref(kObjectActor, c, kTown));
  EXPECT_EQ(ScriptResolveActor(u"p0", kCave, true, false), Ref(kObjectActor, a, kTown));  // no map check
  EXPECT_EQ(ScriptResolveActor(u"P7", -1, true, false), Ref(kObjectActor, p7, kTown));
  EXPECT_EQ(ScriptResolveActor(u"P100", -1, true, false), Ref(kObjectActor, p100, kTown));
  EXPECT_EQ(ScriptResolveActor(u"P-1", -1, false, false), Ref(kObjectActor, -1, -1));
  SetPartyShortcutNames(false);
  EXPECT_EQ(ScriptResolveActor(u"p2", -1, true, false), Ref(kObjectActor, p2, kTown));
}

TEST_F(ScriptObjectResolversTest, ThePartyIsItsMembersInPlay) {
  const std::int32_t a = AddActor(kTown, u"Character A");
  const std::int32_t b = AddActor(kTown, u"Character B");
  SetParty(kTown, {b, a}, 1);
  EXPECT_EQ(ScriptResolveActor(u"party", -1, true, false), Members(kTown, {b, a}));
  gameData.maps[kTown].actors[static_cast<std::size_t>(b)].removed = 1;
  EXPECT_EQ(ScriptResolveCharacter(u"party", -1, true, false), Members(kTown, {a}));
  gameData.maps[kTown].actors[static_cast<std::size_t>(a)].removed = 1;
  EXPECT_EQ(ScriptResolveCharacter(u"party", -1, true, false), Members(kTown, {}));
  EXPECT_EQ(ErrorOf([] { ScriptResolveActor(u"party", -1, true, false); }),
            "-1 Actor \"party\" cannot be used as there is no existant party.");
  EXPECT_EQ(ScriptResolveActor(u"party", -1, false, false), Ref(kObjectTeam, -1, -1));
  EXPECT_EQ(ScriptResolveCharacter(u"party", kCave, false, false), Ref(kObjectCharacter, -1, -1));
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kTown, kTown, kTown}));
}

TEST_F(ScriptObjectResolversTest, VehicleRelateIsTheRiddenVehicleOrTheCharacter) {
  const std::int32_t rider = AddActor(kCave, u"Character Rider");
  const std::int32_t cart = AddActor(kCave, u"Vehicle Cart");
  Frame().ownerMap = kCave;
  Frame().relateActor = rider;
  EXPECT_EQ(ScriptResolveVehicle(u"relate", -1, true), Ref(kObjectVehicle, rider, kCave));
  gameData.maps[kCave].actors[static_cast<std::size_t>(rider)].vehicleRidden = cart;
  EXPECT_EQ(ScriptResolveVehicle(u"relate", kCave, true), Ref(kObjectVehicle, cart, kCave));
  // Character "relate" of a vehicle with a driver is the driver.
  Frame().relateActor = cart;
  gameData.maps[kCave].actors[static_cast<std::size_t>(cart)].driver = rider;
  EXPECT_EQ(ScriptResolveCharacter(u"relate", -1, true, false), Ref(kObjectCharacter, rider, kCave));
  // The relate context of the map systems stands in for a trigger that relates to no one.
  Frame().relateActor = -1;
  scriptHooks.RelateContext = [](std::int32_t& map, std::int32_t& character) {
    map = kForest;
    character = 7;
  };
  EXPECT_EQ(ScriptResolveVehicle(u"relate", kTown, true), Ref(kObjectVehicle, 7, kForest));
  EXPECT_EQ(ScriptResolveCharacter(u"relate", kTown, true, false), Ref(kObjectCharacter, 7, kForest));
  EXPECT_EQ(ScriptResolveActor(u"relate", kTown, true, false), Ref(kObjectActor, 7, kForest));
}

TEST_F(ScriptObjectResolversTest, CharacterRelateInAnItemsScriptIsTheItem) {
  Frame().relateActor = -3;
  Frame().relateItem = 4;
  EXPECT_EQ(ScriptResolveCharacter(u"relate", kCave, true, false), Ref(kObjectItem, 4, 0));
  EXPECT_TRUE(prepared_.empty());
}

TEST_F(ScriptObjectResolversTest, TeamMembersComeFromTheHighestMapThatHasAny) {
  projectState.teams.resize(3);
  projectState.teams[0].name = u"Bandits";
  projectState.teams[1].name = u"Guards";
  projectState.teams[2].name = u"Guards";  // the first of one name wins
  for (const std::int32_t map : {-1, kCave, kForest}) {
    for (int i = 0; i < 4; ++i) {
      const std::int32_t actor = AddActor(map, u"Character X");
      gameData.maps[map].actors[static_cast<std::size_t>(actor)].team = (i % 2 == 0) ? 1 : 2;
    }
  }
  gameData.maps[-1].actors[1].team = 0;
  EXPECT_EQ(ScriptResolveTeamMembers(u"Guards", true), Members(kForest, {2, 0}));
  EXPECT_EQ(ScriptResolveTeamMembers(u"Bandits", true), Members(-1, {1}));
  EXPECT_EQ(ScriptResolveTeam(u"Guards", true, false), 1);
  EXPECT_EQ(ScriptResolveTeam(u"", true, true), -1);
  EXPECT_EQ(ScriptResolveTeam(u"Pirates", false, false), -1);
  // Failures without errors leave the value empty and map index 0.
  projectState.teams.resize(4);
  projectState.teams[3].name = u"Pirates";
  EXPECT_EQ(ScriptResolveTeamMembers(u"Pirates", false), (ScriptValue{kObjectTeam, Variant(), 0}));
  EXPECT_EQ(ScriptResolveTeamMembers(u"Nobody", false), (ScriptValue{kObjectTeam, Variant(), 0}));
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kForest, -1}));
}

TEST_F(ScriptObjectResolversTest, PartyMembersByNameAndShortcut) {
  const std::int32_t a = AddActor(kTown, u"Ann");
  const std::int32_t b = AddActor(kTown, u"Ben");
  const std::int32_t c = AddActor(kCave, u"Ben");
  SetParty(kTown, {a, b}, 0, 0);
  SetParty(kCave, {c}, 0, 1);
  SetPartyShortcutNames(true);
  const struct {
    const char16_t* name;
    std::int32_t player;
    ScriptValue expected;
  } cases[] = {
      {u"Ben", -1, Ref(kObjectPartyMember, 1, 0)},
      {u"Ben", 1, Ref(kObjectPartyMember, 0, 1)},
      {u"Ann", 1, ScriptValue{kObjectPartyMember, Variant(), 0}},
      {u"P1", 0, Ref(kObjectPartyMember, 1, 0)},
      {u"p0", -1, Ref(kObjectPartyMember, 0, 0)},
      {u"1", -1, Ref(kObjectPartyMember, 1, 0)},
      // Shortcuts name player 0's members only.
      {u"0", 1, ScriptValue{kObjectPartyMember, Variant(), 0}},
      {u"P0", 7, ScriptValue{kObjectPartyMember, Variant(), 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScriptResolvePartyMember(c.name, c.player, false), c.expected)
        << Utf16ToUtf8(c.name) << c.player;
  }
  SetPartyShortcutNames(false);
  EXPECT_EQ(ScriptResolvePartyMember(u"P1", 0, false), (ScriptValue{kObjectPartyMember, Variant(), 0}));
  EXPECT_TRUE(prepared_.empty());
}

TEST_F(ScriptObjectResolversTest, StatisticsHaveNoMap) {
  gameData.statistics.resize(2);
  gameData.statistics[0].name = u"Strength";
  gameData.statistics[1].name = u"Speed";
  EXPECT_EQ(ScriptResolveStatistic(u"Speed", true), Ref(kObjectStatistic, 1, -1));
  EXPECT_EQ(ScriptResolveStatistic(u"Luck", false), Ref(kObjectStatistic, -1, -1));
  SetLooseNameMatching(true);
  EXPECT_EQ(ScriptResolveStatistic(u" STRENGTH", true), Ref(kObjectStatistic, 0, -1));
}

TEST_F(ScriptObjectResolversTest, TheOtherObjectsOfMaps) {
  gameData.maps[kCave].zones.resize(2);
  gameData.maps[kCave].zones[1].name = u"Gate";
  gameData.maps[kForest].doors.resize(1);
  gameData.maps[kForest].doors[0].name = u"Gate";
  gameData.maps[kTown].lights.resize(1);
  gameData.maps[kTown].lights[0].name = u"Lamp";
  gameData.maps[-1].speakers.resize(1);
  gameData.maps[-1].speakers[0].name = u"Bell";
  gameData.maps[kMenu].spawns.resize(1);
  gameData.maps[kMenu].spawns[0].name = u"Nest";
  gameData.maps[kHarbour].spawns.resize(1);
  gameData.maps[kHarbour].spawns[0].name = u"Nest";
  EXPECT_EQ(ScriptResolveZone(u"Gate", true), Ref(kObjectZone, 1, kCave));
  EXPECT_EQ(ScriptResolveDoor(u"Gate", true), Ref(kObjectDoor, 0, kForest));
  EXPECT_EQ(ScriptResolveLight(u"Lamp", true), Ref(kObjectLight, 0, kTown));
  EXPECT_EQ(ScriptResolveSpeaker(u"Bell", true), Ref(kObjectSpeaker, 0, -1));
  EXPECT_EQ(ScriptResolveTurretSpawn(u"Nest", true), Ref(kObjectSpawn, 0, kHarbour));
  EXPECT_EQ(ScriptResolveTurretSpawn(u"|Menu:Nest", true), Ref(kObjectSpawn, 0, kMenu));
  EXPECT_EQ(ScriptResolveZone(u"|Forest:Gate", false), Ref(kObjectZone, -1, -1));
  // The map part of a qualified zone is a map found by name with load: prepared too.
  EXPECT_EQ(PreparedMaps(), (std::vector<std::int32_t>{kCave, kForest, kTown, -1, kHarbour, kMenu, kForest}));
  // Keywords of the running trigger.
  Frame().ownerMap = kForest;
  Frame().thisZone = 3;
  Frame().thisDoor = 4;
  Frame().relateDoor = 5;
  Frame().thisSpawn = 6;
  EXPECT_EQ(ScriptResolveZone(u"this", true), Ref(kObjectZone, 3, kForest));
  EXPECT_EQ(ScriptResolveDoor(u"this", true), Ref(kObjectDoor, 4, kForest));
  EXPECT_EQ(ScriptResolveDoor(u"relate", true), Ref(kObjectDoor, 5, kForest));
  EXPECT_EQ(ScriptResolveTurretSpawn(u"this", true), Ref(kObjectSpawn, 6, kForest));
}

// A dynamic object is an actor of a map or a field of an interface; the
// running trigger's own map is searched first.
TEST_F(ScriptObjectResolversTest, DynamicObjects) {
  const std::int32_t crate = AddActor(kTown, u"Dynamic Object Crate");
  AddActor(kHarbour, u"Dynamic Object Crate");
  const std::int32_t icon = AddField(kMenu, u"Dynamic Object Crate");
  AddActor(kMenu, u"Dynamic Object Crate");  // an interface's actors are not searched
  EXPECT_EQ(ScriptResolveDynamicObject(u"Crate", true), Ref(kObjectDynamic, 0, kHarbour));
  Frame().ownerMap = kTown;
  EXPECT_EQ(ScriptResolveDynamicObject(u"Crate", true), Ref(kObjectDynamic, crate, kTown));
  Frame().ownerMap = kMenu;
  EXPECT_EQ(ScriptResolveDynamicObject(u"Crate", true), Ref(kObjectDynamic, icon, kMenu));
  Frame().ownerMap = -1;
  EXPECT_EQ(ScriptResolveDynamicObject(u"|Menu:Crate", true), Ref(kObjectDynamic, icon, kMenu));
  EXPECT_EQ(ScriptResolveDynamicObject(u"Dynamic Object Crate", false), Ref(kObjectDynamic, -1, -1));
  SetLooseNameMatching(true);
  EXPECT_EQ(ScriptResolveDynamicObject(u" CRATE", true), Ref(kObjectDynamic, 0, kHarbour));
}

// Character "main" falls back to the controlled member when the related
// character is not in the required map; actor "main" refuses.
TEST_F(ScriptObjectResolversTest, MainWithARequiredMapOtherThanTheRelatedCharacters) {
  const std::int32_t hero = AddActor(kTown, u"Character Hero");
  const std::int32_t other = AddActor(kCave, u"Character Other");
  gameData.maps[kCave].actors[static_cast<std::size_t>(other)].owningPlayer = 1;
  SetParty(kTown, {hero}, 0);
  Frame().ownerMap = kCave;
  Frame().relateActor = other;
  EXPECT_EQ(ScriptResolveCharacter(u"main", -1, true, false), Ref(kObjectCharacter, other, kCave));
  EXPECT_EQ(ScriptResolveCharacter(u"main", kTown, true, false), Ref(kObjectCharacter, hero, kTown));
  EXPECT_EQ(ErrorOf([] { ScriptResolveActor(u"main", kTown, true, false); }),
            "-1 Actor \"relate\" cannot be used as the related actor is in a different map from \"Town\".");
  SetMainAlwaysControlled(true);
  EXPECT_EQ(ScriptResolveCharacter(u"main", -1, true, false), Ref(kObjectCharacter, hero, kTown));
  EXPECT_EQ(ScriptResolveActor(u"main", -1, true, false), Ref(kObjectActor, hero, kTown));
}

TEST_F(ScriptObjectResolversTest, TurretKeywordsHaveNoMapCheck) {
  const std::int32_t gunner = AddActor(kTown, u"Character Gunner");
  const std::int32_t gun = AddActor(kTown, u"Turret Gun");
  gameData.maps[kTown].actors[static_cast<std::size_t>(gunner)].turretOperated = gun;
  SetParty(kTown, {gunner}, 0);
  Frame().ownerMap = kTown;
  Frame().relateTurret = gun;
  Frame().thisActor = gun;
  EXPECT_EQ(ScriptResolveTurret(u"main", kCave, true), Ref(kObjectTurret, gun, kTown));
  EXPECT_EQ(ScriptResolveTurret(u"relate", kCave, true), Ref(kObjectTurret, gun, kTown));
  EXPECT_EQ(ScriptResolveTurret(u"this", kCave, true), Ref(kObjectTurret, gun, kTown));
  EXPECT_EQ(ScriptResolveTurret(u"Gun", kCave, false), Ref(kObjectTurret, -1, -1));  // names are checked
}

TEST_F(ScriptObjectResolversTest, KeywordsAreLowerCaseWordsUnderTheNameRule) {
  const std::int32_t hero = AddActor(kTown, u"Character Hero");
  const std::int32_t named = AddActor(kTown, u"Character Main");
  SetParty(kTown, {hero}, 0);
  EXPECT_EQ(ScriptResolveCharacter(u"Main", -1, true, false), Ref(kObjectCharacter, named, kTown));
  SetLooseNameMatching(true);
  EXPECT_EQ(ScriptResolveCharacter(u" MAIN ", -1, true, false), Ref(kObjectCharacter, hero, kTown));
  EXPECT_EQ(ScriptResolveCharacter(u"", -1, false, true), Ref(kObjectCharacter, -1, -1));
  EXPECT_EQ(ScriptResolveActor(u"  ", -1, false, true), Ref(kObjectActor, -1, -1));
}

TEST_F(ScriptObjectResolversTest, BadInput) {
  const std::int32_t hero = AddActor(kTown, u"Character Hero");
  SetParty(kTown, {hero}, 3);  // controlled slot outside the party
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"main", -1, false, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolveVehicle(u"main", -1, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolveTurret(u"main", -1, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"party", -1, false, false); }).substr(0, 2), "9 ");
  // A party slot whose character is outside its map's list.
  SetParty(kTown, {hero, 9}, 0);
  EXPECT_EQ(ErrorOf([] { ScriptResolveActor(u"party", -1, false, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolvePartyMember(u"Nobody", 0, false); }).substr(0, 2), "9 ");
  // A related character outside the map's list.
  Frame().ownerMap = kTown;
  Frame().relateActor = 5;
  EXPECT_EQ(ErrorOf([] { ScriptResolveVehicle(u"relate", -1, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"relate", -1, false, false); }).substr(0, 2), "9 ");
  // A required map outside maps.
  EXPECT_EQ(ErrorOf([] { ScriptResolveCharacter(u"Hero", 40, false, false); }).substr(0, 2), "9 ");
  // Field "relate" in a script of no field, whatever the caller asks.
  Frame().thisField = -1;
  EXPECT_EQ(ErrorOf([] { ScriptResolveField(u"relate", -1, false); }),
            "9 Field \"relate\" cannot be used as this script does not belong to a field.");

  // No running script: every resolver fails on the frame.
  PopCallFrame();
  const std::function<void()> calls[] = {
      [] { ScriptResolveActor(u"Character Hero", -1, false, false); },
      [] { ScriptResolveCharacter(u"Hero", -1, false, false); },
      [] { ScriptResolveVehicle(u"Hero", -1, false); },
      [] { ScriptResolveTurret(u"Hero", -1, false); },
      [] { ScriptResolveField(u"Ok", -1, false); },
      [] { ScriptResolveTeamMembers(u"Guards", false); },
      [] { ScriptResolvePartyMember(u"Hero", -1, false); },
      [] { ScriptResolveTurretSpawn(u"Nest", false); },
      [] { ScriptResolveZone(u"Gate", false); },
      [] { ScriptResolveDoor(u"Gate", false); },
      [] { ScriptResolveDynamicObject(u"Crate", false); },
      [] { ScriptResolveLight(u"Lamp", false); },
      [] { ScriptResolveSpeaker(u"Bell", false); },
      [] { ScriptResolveStatistic(u"Speed", false); },
      [] { ScriptResolveTeam(u"Guards", false, false); },
  };
  for (const auto& call : calls) EXPECT_EQ(ErrorOf(call).substr(0, 2), "9 ");
}

}  // namespace
}  // namespace kiv
