// Every message of the map and object resolvers, each in its situation. A
// message marked always is raised even when the caller asks for no errors;
// the others give "none" silently then.
#include <gtest/gtest.h>

#include "resolver_fixture.h"
#include "script/script_actor_resolvers.h"
#include "script/script_keywords.h"
#include "script/script_map_resolvers.h"
#include "script/script_object_names.h"
#include "script/script_object_resolvers.h"
#include "script/script_party_resolvers.h"

namespace kiv {
namespace {

using test::ErrorOf;
using test::kCave;
using test::kMenu;
using test::kTown;

constexpr bool kAlways = true;
constexpr bool kAsked = false;

struct MessageRow {
  const char* situation;
  std::function<void()> setUp;  // from the base world
  std::function<void(bool raise)> call;
  const char* message;  // "<number> <text>"
  bool always;
};

class ScriptResolverMessagesTest : public test::ResolverTest {
 protected:
  // Town: Hero (0), Cart (1), Gun (2); Cave: Other (0), owned by player 1.
  // Player 0 controls Hero; the trigger belongs to nothing.
  void BaseWorld() {
    for (std::int32_t map = -1; map <= gameData.maps.LastIndex(); ++map) gameData.maps[map].actors.clear();
    AddActor(kTown, u"Character Hero");
    AddActor(kTown, u"Vehicle Cart");
    AddActor(kTown, u"Turret Gun");
    AddActor(kCave, u"Character Other");
    gameData.maps[kCave].actors[0].owningPlayer = 1;
    gameData.maps[kMenu].fields.clear();
    AddField(kMenu, u"Ok");
    SetParty(kTown, {0}, 0);
    projectState.teams.assign(1, Team());
    projectState.teams[0].name = u"Guards";
    projectState.currentPlayerInterface.index = -1;
    scriptHooks.LoadingTickRunning = [] { return false; };
    SetMainAlwaysControlled(false);
    Frame() = CallFrame();
  }
  static void NoControlledMember() { projectState.players[0].controlledMember = -1; }
  void InCave() { projectState.players[0].mapIndex = kCave; }
};

TEST_F(ScriptResolverMessagesTest, EveryMessageInItsSituation) {
  const auto none = [] {};
  const std::vector<MessageRow> rows = {
      // Scripting IDs of stored names.
      {"character without prefix", none, [](bool) { ScriptParseScriptingId(u"Bob", kObjectCharacter); },
       "-1 Cannot identify \"Bob\" as a character, since the scripting ID does not begin with 'Character '.",
       kAlways},
      {"vehicle without prefix", none, [](bool) { ScriptParseScriptingId(u"Bob", kObjectVehicle); },
       "-1 Cannot identify \"Bob\" as a vehicle, since the scripting ID does not begin with 'Vehicle '.",
       kAlways},
      {"turret without prefix", none, [](bool) { ScriptParseScriptingId(u"Bob", kObjectTurret); },
       "-1 Cannot identify \"Bob\" as a turret, since the scripting ID does not begin with 'Turret '.",
       kAlways},
      {"effect without prefix", none, [](bool) { ScriptParseScriptingId(u"Bob", kObjectEffect); },
       "-1 Cannot identify \"Bob\" as an effect, since the scripting ID does not begin with 'Effect '.",
       kAlways},
      {"kind without IDs", none, [](bool) { ScriptParseScriptingId(u"Bob", kObjectDoor); },
       "-1 Cannot identify \"Bob\".", kAlways},

      // Frame keywords of actors and fields.
      {"actor main, no controlled member", NoControlledMember,
       [](bool r) { ScriptResolveActor(u"main", -1, r, false); },
       "-1 Actor \"main\" cannot be used as there is no controlled party member.", kAsked},
      {"actor main, party elsewhere", none, [](bool r) { ScriptResolveActor(u"main", kCave, r, false); },
       "-1 Actor \"main\" cannot be used as the controlled party member is in a different map from \"Cave\".",
       kAsked},
      {"actor relate, relates to no one", none, [](bool r) { ScriptResolveActor(u"relate", -1, r, false); },
       "-1 Actor \"relate\" cannot be used as this script does not relate to an actor.", kAsked},
      {"actor relate, elsewhere", [this] { Frame().ownerMap = kTown, Frame().relateActor = 0; },
       [](bool r) { ScriptResolveActor(u"relate", kCave, r, false); },
       "-1 Actor \"relate\" cannot be used as the related actor is in a different map from \"Cave\".",
       kAsked},
      {"actor this, belongs to no one", none, [](bool r) { ScriptResolveActor(u"this", -1, r, false); },
       "-1 Actor \"this\" cannot be used as this script does not belong to an actor.", kAsked},
      {"actor this, elsewhere", [this] { Frame().ownerMap = kTown, Frame().thisActor = 0; },
       [](bool r) { ScriptResolveActor(u"this", kCave, r, false); },
       "-1 Actor \"this\" cannot be used as this actor is in a different map from \"Cave\".", kAsked},
      {"field relate, no parent", [this] { Frame().ownerMap = kMenu, Frame().thisField = 0; },
       [](bool r) { ScriptResolveField(u"relate", -1, r); },
       "-1 Field \"relate\" cannot be used as this field is not associated with any other field.", kAsked},
      {"field relate, no field", none, [](bool r) { ScriptResolveField(u"relate", -1, r); },
       "9 Field \"relate\" cannot be used as this script does not belong to a field.", kAlways},
      {"field this, no field", none, [](bool r) { ScriptResolveField(u"this", -1, r); },
       "-1 Field \"this\" cannot be used as this script does not belong to a field.", kAsked},

      // Maps and interfaces.
      {"map while loading", [] { scriptHooks.LoadingTickRunning = [] { return true; }; },
       [](bool r) { ScriptResolveMap(u"Town", true, r, true); }, "-1 Cannot load map \"Town\" while loading.",
       kAlways},
      {"map main, player in no map", [] { projectState.players[0].mapIndex = -1; },
       [](bool r) { ScriptResolveMap(u"main", true, r, true); },
       "-1 Cannot use map \"main\" as the player is currently not in a map.", kAsked},
      {"map this, no map", none, [](bool r) { ScriptResolveMap(u"this", true, r, true); },
       "-1 Cannot use map \"this\"/\"relate\" in a trigger that doesn't deal with maps. Use \"main\" to get "
       "the "
       "map the player is on.",
       kAlways},
      {"map relate, an interface", [this] { Frame().ownerMap = kMenu; },
       [](bool r) { ScriptResolveMap(u"relate", true, r, true); },
       "-1 Cannot use map \"this\"/\"relate\" in an interface. Use \"main\" to get the map the player is on.",
       kAsked},
      {"interface main, none shown", none, [](bool r) { ScriptResolveInterface(u"main", r); },
       "-1 Cannot use interface \"main\" as the player is currently not interacting with an interface.",
       kAsked},
      {"interface this, a map", [this] { Frame().ownerMap = kTown; },
       [](bool r) { ScriptResolveInterface(u"this", r); },
       "-1 Cannot use interface \"this\"/\"relate\" in a map. Use the actual interface name to get the "
       "interface "
       "desired.",
       kAlways},
      {"map or interface relate, none", none, [](bool) { ScriptResolveMapOrInterface(u"relate", true); },
       "-1 Cannot use map/interface \"this\"/\"relate\" in a trigger that doesn't deal with maps or "
       "interfaces.",
       kAlways},

      // Qualified names of another map than the required one.
      {"actor of another map", none,
       [](bool r) { ScriptResolveActor(u"|Town:Character Hero", kCave, r, false); },
       "-1 Expecting actor in map \"Cave\" and not \"Town\".", kAsked},
      {"character of another map", none,
       [](bool r) { ScriptResolveCharacter(u"|Town:Hero", kCave, r, false); },
       "-1 Expecting character in map \"Cave\" and not \"Town\".", kAsked},
      {"vehicle of another map", none, [](bool r) { ScriptResolveVehicle(u"|Town:Cart", kCave, r); },
       "-1 Expecting vehicle in map \"Cave\" and not \"Town\".", kAsked},
      {"turret of another map", none, [](bool r) { ScriptResolveTurret(u"|Town:Gun", kCave, r); },
       "-1 Expecting turret in map \"Cave\" and not \"Town\".", kAsked},
      {"field of another interface", none, [](bool r) { ScriptResolveField(u"|Menu:Ok", test::kHud, r); },
       "-1 Expecting field in interface \"Hud\" and not \"Menu\".", kAsked},

      // Names not found.
      {"actor", none, [](bool r) { ScriptResolveActor(u"Hero", -1, r, false); },
       "-1 Actor \"Hero\" is not valid.", kAsked},
      {"character", none, [](bool r) { ScriptResolveCharacter(u"Cart", -1, r, false); },
       "-1 Character \"Cart\" is not valid.", kAsked},
      {"vehicle", none, [](bool r) { ScriptResolveVehicle(u"Hero", -1, r); },
       "-1 Vehicle \"Hero\" is not loaded.", kAsked},
      {"turret", none, [](bool r) { ScriptResolveTurret(u"Hero", -1, r); },
       "-1 Turret \"Hero\" is not loaded.", kAsked},
      {"field", none, [](bool r) { ScriptResolveField(u"Cancel", -1, r); },
       "-1 Field \"Cancel\" is not loaded.", kAsked},
      {"spawn", none, [](bool r) { ScriptResolveTurretSpawn(u"Nest", r); },
       "-1 Turret/Spawn \"Nest\" is not loaded.", kAsked},
      {"zone", none, [](bool r) { ScriptResolveZone(u"Gate", r); }, "-1 Zone \"Gate\" is not loaded.",
       kAsked},
      {"door", none, [](bool r) { ScriptResolveDoor(u"Gate", r); }, "-1 Door \"Gate\" is not loaded.",
       kAsked},
      {"dynamic object", none, [](bool r) { ScriptResolveDynamicObject(u"Crate", r); },
       "-1 Object \"Crate\" is not loaded.", kAsked},
      {"light", none, [](bool r) { ScriptResolveLight(u"Lamp", r); }, "-1 Light \"Lamp\" is not loaded.",
       kAsked},
      {"speaker", none, [](bool r) { ScriptResolveSpeaker(u"Bell", r); },
       "-1 Speaker \"Bell\" is not loaded.", kAsked},
      {"loose: the name as compared", [] { storedProjectSettings.flags[22] = -1; },
       [](bool r) { ScriptResolveZone(u" Big GATE ", r); }, "-1 Zone \"big gate\" is not loaded.", kAsked},

      // Keywords of characters.
      {"character main, no controlled member", NoControlledMember,
       [](bool r) { ScriptResolveCharacter(u"main", -1, r, false); },
       "-1 Character \"main\" cannot be used as there is no controlled party member.", kAsked},
      {"character main, party elsewhere", none,
       [](bool r) { ScriptResolveCharacter(u"main", kCave, r, false); },
       "-1 Character \"main\" cannot be used as the controlled party member is in a different map from "
       "\"Cave\".",
       kAsked},
      {"character relate, relates to no one", none,
       [](bool r) { ScriptResolveCharacter(u"relate", -1, r, false); },
       "-1 Character \"relate\" cannot be used as this script does not relate to a character.", kAsked},
      {"character relate, elsewhere", [this] { Frame().ownerMap = kTown, Frame().relateActor = 0; },
       [](bool r) { ScriptResolveCharacter(u"relate", kCave, r, false); },
       "-1 Character \"relate\" cannot be used as the related character is in a different map from \"Cave\".",
       kAsked},
      {"character this, belongs to no one", none,
       [](bool r) { ScriptResolveCharacter(u"this", -1, r, false); },
       "-1 Character \"this\" cannot be used as this script does not belong to a character.", kAsked},
      {"character this, elsewhere", [this] { Frame().ownerMap = kTown, Frame().thisActor = 0; },
       [](bool r) { ScriptResolveCharacter(u"this", kCave, r, false); },
       "-1 Character \"this\" cannot be used as this character is in a different map from \"Cave\".", kAsked},
      {"character party, no controlled member", NoControlledMember,
       [](bool r) { ScriptResolveCharacter(u"party", -1, r, false); },
       "-1 Character \"party\" cannot be used as there is no existant party.", kAsked},
      {"character party, elsewhere", none, [](bool r) { ScriptResolveCharacter(u"party", kCave, r, false); },
       "-1 Character \"party\" cannot be used as the party is in a different map from \"Cave\".", kAsked},
      {"actor party, none in play", [] { gameData.maps[kTown].actors[0].removed = 1; },
       [](bool r) { ScriptResolveActor(u"party", -1, r, false); },
       "-1 Actor \"party\" cannot be used as there is no existant party.", kAsked},

      // Keywords of vehicles and turrets.
      {"vehicle main, no controlled member", NoControlledMember,
       [](bool r) { ScriptResolveVehicle(u"main", -1, r); },
       "-1 Vehicle \"main\" cannot be used as there is no controlled party member.", kAsked},
      {"vehicle main, on foot", none, [](bool r) { ScriptResolveVehicle(u"main", -1, r); },
       "-1 Vehicle \"main\" cannot be used as the player is not in a vehicle now. Check if the player is in "
       "a "
       "vehicle before using this.",
       kAsked},
      {"vehicle main, elsewhere", [] { gameData.maps[kTown].actors[0].vehicleRidden = 1; },
       [](bool r) { ScriptResolveVehicle(u"main", kCave, r); },
       "-1 Vehicle \"main\" cannot be used as the controlled party member is in a different map from "
       "\"Cave\".",
       kAsked},
      {"vehicle relate, relates to no one", none, [](bool r) { ScriptResolveVehicle(u"relate", -1, r); },
       "-1 Vehicle \"relate\" cannot be used as this script does not relate to a vehicle.", kAsked},
      {"vehicle relate, elsewhere", [this] { Frame().ownerMap = kTown, Frame().relateActor = 1; },
       [](bool r) { ScriptResolveVehicle(u"relate", kCave, r); },
       "-1 Vehicle \"relate\" cannot be used as the related vehicle is in a different map from \"Cave\".",
       kAsked},
      {"vehicle this, belongs to no one", none, [](bool r) { ScriptResolveVehicle(u"this", -1, r); },
       "-1 Vehicle \"this\" cannot be used as this script does not belong to a vehicle.", kAsked},
      {"vehicle this, elsewhere", [this] { Frame().ownerMap = kTown, Frame().thisActor = 1; },
       [](bool r) { ScriptResolveVehicle(u"this", kCave, r); },
       "-1 Vehicle \"this\" cannot be used as this vehicle is in a different map from \"Cave\".", kAsked},
      {"turret main, no controlled member", NoControlledMember,
       [](bool r) { ScriptResolveTurret(u"main", -1, r); },
       "-1 Turret \"main\" cannot be used as there is no controlled party member.", kAsked},
      {"turret main, on foot", none, [](bool r) { ScriptResolveTurret(u"main", -1, r); },
       "-1 Turret \"main\" cannot be used as the player is not in a turret now. Check if the player is in a "
       "turret before using this.",
       kAsked},
      {"turret relate", none, [](bool r) { ScriptResolveTurret(u"relate", -1, r); },
       "-1 Turret/Camera \"relate\" cannot be used as this script does not relate to a turret/camera.",
       kAsked},
      {"turret this", none, [](bool r) { ScriptResolveTurret(u"this", -1, r); },
       "-1 Turret/Camera \"this\" cannot be used as this script does not belong to a turret/camera.", kAsked},

      // Keywords of the other objects.
      {"spawn this", none, [](bool r) { ScriptResolveTurretSpawn(u"this", r); },
       "-1 Turret/Spawn \"this\" cannot be used as this script does not belong to a turret/spawn.", kAsked},
      {"zone this", none, [](bool r) { ScriptResolveZone(u"this", r); },
       "-1 Zone \"this\" cannot be used as this script does not belong to a zone.", kAsked},
      {"door this", none, [](bool r) { ScriptResolveDoor(u"this", r); },
       "-1 Door \"this\" cannot be used as this script does not belong to a door.", kAsked},
      {"door relate", none, [](bool r) { ScriptResolveDoor(u"relate", r); },
       "-1 Door \"relate\" cannot be used as this script does not relate to a door.", kAsked},

      // Teams, party members and statistics.
      {"team members, no team", none, [](bool r) { ScriptResolveTeamMembers(u"Pirates", r); },
       "-1 Team \"Pirates\" does not exist.", kAsked},
      {"team members, nobody", none, [](bool r) { ScriptResolveTeamMembers(u"Guards", r); },
       "-1 There are no characters in the \"Guards\" team.", kAsked},
      {"party member", none, [](bool r) { ScriptResolvePartyMember(u"Nobody", -1, r); },
       "-1 Party member \"Nobody\" is not loaded.", kAsked},
      {"team", none, [](bool r) { ScriptResolveTeam(u"Pirates", r, false); },
       "-1 Team \"Pirates\" does not exist.", kAsked},
      {"statistic", none, [](bool r) { ScriptResolveStatistic(u"Luck", r); },
       "-1 Statistic \"Luck\" does not exist.", kAsked},
  };
  EXPECT_GE(rows.size(), 60u);
  for (const MessageRow& row : rows) {
    for (const bool raise : {true, false}) {
      SetLooseNameMatching(false);
      BaseWorld();
      row.setUp();
      const std::string expected = raise || row.always ? row.message : "no error";
      EXPECT_EQ(ErrorOf([&] { row.call(raise); }), expected)
          << row.situation << (raise ? "" : ", no errors asked");
    }
  }
}

}  // namespace
}  // namespace kiv
