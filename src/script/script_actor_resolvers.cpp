#include "script/script_actor_resolvers.h"

#include <string>

#include "core/error.h"
#include "core/number_text.h"
#include "data/game_data.h"
#include "script/call_frame.h"
#include "script/player_control.h"
#include "script/project_options.h"
#include "script/script_hooks.h"
#include "script/script_keywords.h"
#include "script/script_map_resolvers.h"
#include "script/script_object_names.h"
#include "script/script_resolve_support.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

ScriptValue Found(std::int32_t kind, std::int32_t index, std::int32_t map) {
  ScriptReachedMap(map);
  return ScriptValue{kind, Variant::Long(index), map};
}

std::string DifferentMap(std::int32_t map) {
  return " in a different map from \"" + ScriptMapFileName(map) + "\".";
}

// The character that the relate context of the map systems names; -1 none.
struct RelateContext {
  std::int32_t map = -1;
  std::int32_t character = -1;
};
RelateContext CurrentRelateContext() {
  RelateContext context;
  scriptHooks.RelateContext(context.map, context.character);
  return context;
}

// The party of the current player as a team reference, in its map.
ScriptValue PartyTeam() {
  const Player* player = ScriptCurrentPlayerRecord();
  return ScriptValue{kObjectTeam, ScriptPartyInPlay(), player != nullptr ? player->mapIndex : -1};
}

// A name searched among the characters of the maps, under its prefix; the map
// part of a qualified name is a map, loaded unless a map is required.
ScriptValue SearchCharacters(const ScriptSearchName& name, const char16_t* prefix, std::int32_t kind,
                             std::int32_t requiredMap, bool raise, const char* what, const char* word,
                             const char* suffix) {
  const ScriptNameScope scope =
      ScriptScopeOf(name, requiredMap, kSearchEveryMap, [requiredMap](const std::u16string& part) {
        return ScriptResolveMap(part, requiredMap == -1, true, true).value.AsLong();
      });
  if (scope.mismatch) {
    return ScriptResolveFailure(kind, raise, ScriptExpectingMessage(what, "map", requiredMap, scope.mapPart));
  }
  const std::u16string searched = ScriptPrefixedName(prefix, scope.object);
  const bool loose = name.loose;
  const ScriptFound found = ScriptSearchMaps(scope.scope, [&searched, loose](std::int32_t map) {
    return ScriptFindNamed(gameData.maps[map].actors, searched, loose);
  });
  if (found.index < 0) return ScriptResolveFailure(kind, raise, word + ScriptQuoted(name.text) + suffix);
  return Found(kind, found.index, found.map);
}

// "P2" with party shortcut names on: the character of slot 2 of the current
// player's party; -1 for any other name.
std::int32_t PartyShortcutSlot(const std::u16string& name, const Player*& player) {
  player = ScriptCurrentPlayerRecord();
  if (!ScriptPartyShortcutNames() || name.empty() || name.size() > 3) return -1;
  if (name.front() != u'P' && name.front() != u'p') return -1;
  const Variant rest = Variant::Text(name.substr(1));
  if (!IsNumericValue(rest)) return -1;
  const std::int32_t slot = VarToLong(rest);
  if (player == nullptr || slot < 0 || static_cast<std::size_t>(slot) >= player->party.size()) return -1;
  return slot;
}

}  // namespace

ScriptValue ScriptResolveActor(std::u16string_view argument, std::int32_t map, bool raiseErrors,
                               bool allowEmpty) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text.empty() && allowEmpty) return ScriptNone(kObjectActor);
  const std::u16string& n = name.text;
  if (n == u"main" || n == u"relate" || n == u"this") {
    ScriptValue result;
    const std::int32_t keyword = n == u"main"     ? kKeywordActorMain
                                 : n == u"relate" ? kKeywordActorRelate
                                                  : kKeywordActorThis;
    ScriptResolveFrameKeyword(result, keyword, map, raiseErrors);
    return result;
  }
  if (n == u"party") {
    ScriptValue party = PartyTeam();
    if (party.value.Elements().empty()) {
      return ScriptResolveFailure(kObjectTeam, raiseErrors,
                                  "Actor \"party\" cannot be used as there is no existant party.");
    }
    ScriptReachedMap(party.mapIndex);
    return party;
  }
  const Player* player = nullptr;
  const std::int32_t slot = PartyShortcutSlot(n, player);
  if (slot >= 0) {
    return Found(kObjectActor, player->party[static_cast<std::size_t>(slot)].character, player->mapIndex);
  }
  return SearchCharacters(name, u"", kObjectActor, map, raiseErrors, "actor", "Actor ", " is not valid.");
}

namespace {

// A related vehicle or turret with someone inside stands for its driver.
ScriptValue RelatedCharacter(const CallFrame& frame) {
  const Actor& related = ScriptMapActor(frame.ownerMap, frame.relateActor);
  return Found(kObjectCharacter, related.driver >= 0 ? related.driver : frame.relateActor, frame.ownerMap);
}

ScriptValue CharacterKeyword(const std::u16string& n, std::int32_t map, bool raise) {
  const CallFrame& frame = TopFrame();
  if (n == u"main") {
    if (!ScriptMainAlwaysControlled() && frame.relateActor >= 0 && (map == -1 || map == frame.ownerMap) &&
        ScriptCharacterOwnerPlayer(frame.ownerMap, frame.relateActor) >= 0) {
      return RelatedCharacter(frame);
    }
    const PlayerControlState state = ScriptPlayerControl(scriptHooks.CurrentPlayer());
    if (state.controlledMember < 0) {
      return ScriptResolveFailure(
          kObjectCharacter, raise,
          "Character \"main\" cannot be used as there is no controlled party member.");
    }
    if (map != -1 && map != state.currentMap) {
      return ScriptResolveFailure(
          kObjectCharacter, raise,
          "Character \"main\" cannot be used as the controlled party member is" + DifferentMap(map));
    }
    return Found(kObjectCharacter, state.controlledCharacter, state.currentMap);
  }
  if (n == u"relate") {
    if (frame.relateActor == -3) return ScriptValue{kObjectItem, Variant::Long(frame.relateItem), 0};
    if (frame.relateActor < 0) {
      const RelateContext context = CurrentRelateContext();
      if (context.character < 0) {
        return ScriptResolveFailure(kObjectCharacter, raise,
                                    "Character \"relate\" cannot be used as this script does not relate to a "
                                    "character.");
      }
      return Found(kObjectCharacter, context.character, context.map);
    }
    if (map != -1 && map != frame.ownerMap) {
      return ScriptResolveFailure(
          kObjectCharacter, raise,
          "Character \"relate\" cannot be used as the related character is" + DifferentMap(map));
    }
    return RelatedCharacter(frame);
  }
  if (n == u"this") {
    if (frame.thisActor < 0) {
      return ScriptResolveFailure(kObjectCharacter, raise,
                                  "Character \"this\" cannot be used as this script does not belong to a "
                                  "character.");
    }
    if (map != -1 && map != frame.ownerMap) {
      return ScriptResolveFailure(
          kObjectCharacter, raise,
          "Character \"this\" cannot be used as this character is" + DifferentMap(map));
    }
    return Found(kObjectCharacter, frame.thisActor, frame.ownerMap);
  }
  // "party": the members in play, possibly none; a failure keeps the character kind.
  const PlayerControlState state = ScriptPlayerControl(scriptHooks.CurrentPlayer());
  if (state.controlledMember < 0) {
    return ScriptResolveFailure(kObjectCharacter, raise,
                                "Character \"party\" cannot be used as there is no existant party.");
  }
  if (map != -1 && map != state.currentMap) {
    return ScriptResolveFailure(kObjectCharacter, raise,
                                "Character \"party\" cannot be used as the party is" + DifferentMap(map));
  }
  ScriptValue party = PartyTeam();
  ScriptReachedMap(party.mapIndex);
  return party;
}

ScriptValue VehicleKeyword(const std::u16string& n, std::int32_t map, bool raise) {
  const CallFrame& frame = TopFrame();
  if (n == u"main") {
    const PlayerControlState state = ScriptPlayerControl(scriptHooks.CurrentPlayer());
    if (state.controlledMember < 0) {
      return ScriptResolveFailure(kObjectVehicle, raise,
                                  "Vehicle \"main\" cannot be used as there is no controlled party member.");
    }
    const std::int32_t vehicle = ScriptMapActor(state.currentMap, state.controlledCharacter).vehicleRidden;
    if (vehicle < 0) {
      return ScriptResolveFailure(
          kObjectVehicle, raise,
          "Vehicle \"main\" cannot be used as the player is not in a vehicle now. Check "
          "if the player is in a vehicle before using this.");
    }
    if (map != -1 && map != state.currentMap) {
      return ScriptResolveFailure(
          kObjectVehicle, raise,
          "Vehicle \"main\" cannot be used as the controlled party member is" + DifferentMap(map));
    }
    return Found(kObjectVehicle, vehicle, state.currentMap);
  }
  if (n == u"relate") {
    if (frame.relateActor < 0) {
      const RelateContext context = CurrentRelateContext();
      if (context.character < 0) {
        return ScriptResolveFailure(kObjectVehicle, raise,
                                    "Vehicle \"relate\" cannot be used as this script does not relate to a "
                                    "vehicle.");
      }
      return Found(kObjectVehicle, context.character, context.map);
    }
    if (map != -1 && map != frame.ownerMap) {
      return ScriptResolveFailure(
          kObjectVehicle, raise,
          "Vehicle \"relate\" cannot be used as the related vehicle is" + DifferentMap(map));
    }
    const std::int32_t ridden = ScriptMapActor(frame.ownerMap, frame.relateActor).vehicleRidden;
    return Found(kObjectVehicle, ridden >= 0 ? ridden : frame.relateActor, frame.ownerMap);
  }
  if (frame.thisActor < 0) {
    return ScriptResolveFailure(
        kObjectVehicle, raise,
        "Vehicle \"this\" cannot be used as this script does not belong to a vehicle.");
  }
  if (map != -1 && map != frame.ownerMap) {
    return ScriptResolveFailure(kObjectVehicle, raise,
                                "Vehicle \"this\" cannot be used as this vehicle is" + DifferentMap(map));
  }
  return Found(kObjectVehicle, frame.thisActor, frame.ownerMap);
}

ScriptValue TurretKeyword(const std::u16string& n, bool raise) {
  const CallFrame& frame = TopFrame();
  if (n == u"main") {
    const PlayerControlState state = ScriptPlayerControl(scriptHooks.CurrentPlayer());
    if (state.controlledMember < 0) {
      return ScriptResolveFailure(kObjectTurret, raise,
                                  "Turret \"main\" cannot be used as there is no controlled party member.");
    }
    const std::int32_t turret = ScriptMapActor(state.currentMap, state.controlledCharacter).turretOperated;
    if (turret < 0) {
      return ScriptResolveFailure(
          kObjectTurret, raise,
          "Turret \"main\" cannot be used as the player is not in a turret now. Check if "
          "the player is in a turret before using this.");
    }
    return Found(kObjectTurret, turret, state.currentMap);
  }
  if (n == u"relate") {
    if (frame.relateTurret < 0) {
      return ScriptResolveFailure(
          kObjectTurret, raise,
          "Turret/Camera \"relate\" cannot be used as this script does not relate to a "
          "turret/camera.");
    }
    return Found(kObjectTurret, frame.relateTurret, frame.ownerMap);
  }
  if (frame.thisActor < 0) {
    return ScriptResolveFailure(kObjectTurret, raise,
                                "Turret/Camera \"this\" cannot be used as this script does not belong to a "
                                "turret/camera.");
  }
  return Found(kObjectTurret, frame.thisActor, frame.ownerMap);
}

bool IsFrameWord(const std::u16string& n) { return n == u"main" || n == u"relate" || n == u"this"; }

}  // namespace

ScriptValue ScriptResolveCharacter(std::u16string_view argument, std::int32_t map, bool raiseErrors,
                                   bool allowEmpty) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text.empty() && allowEmpty) return ScriptNone(kObjectCharacter);
  if (IsFrameWord(name.text) || name.text == u"party") return CharacterKeyword(name.text, map, raiseErrors);
  return SearchCharacters(name, u"Character ", kObjectCharacter, map, raiseErrors, "character", "Character ",
                          " is not valid.");
}

ScriptValue ScriptResolveVehicle(std::u16string_view argument, std::int32_t map, bool raiseErrors) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (IsFrameWord(name.text)) return VehicleKeyword(name.text, map, raiseErrors);
  return SearchCharacters(name, u"Vehicle ", kObjectVehicle, map, raiseErrors, "vehicle", "Vehicle ",
                          " is not loaded.");
}

ScriptValue ScriptResolveTurret(std::u16string_view argument, std::int32_t map, bool raiseErrors) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (IsFrameWord(name.text)) return TurretKeyword(name.text, raiseErrors);
  return SearchCharacters(name, u"Turret ", kObjectTurret, map, raiseErrors, "turret", "Turret ",
                          " is not loaded.");
}

}  // namespace kiv
