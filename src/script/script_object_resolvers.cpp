#include "script/script_object_resolvers.h"

#include <string>

#include "data/game_data.h"
#include "script/call_frame.h"
#include "script/script_keywords.h"
#include "script/script_map_resolvers.h"
#include "script/script_object_names.h"
#include "script/script_resolve_support.h"

namespace kiv {

namespace {

// The map part of a qualified name, by its resolver: a map (loaded when
// missing), an interface, or either.
std::int32_t MapPart(const std::u16string& part) {
  return ScriptResolveMap(part, true, true, true).value.AsLong();
}
std::int32_t InterfacePart(const std::u16string& part) {
  return ScriptResolveInterface(part, true).value.AsLong();
}
std::int32_t MapOrInterfacePart(const std::u16string& part) {
  return ScriptResolveMapOrInterface(part, true).value.AsLong();
}

// A name searched in one list of the maps (no required map, nothing first).
template <typename Record>
ScriptValue SearchList(const ScriptSearchName& name, std::vector<Record> Map::*list, std::int32_t kind,
                       bool raise, const char* word,
                       std::int32_t (*resolvePart)(const std::u16string&) = MapPart) {
  const ScriptNameScope scope = ScriptScopeOf(name, -1, kSearchEveryMap, resolvePart);
  const ScriptFound found = ScriptSearchMaps(scope.scope, [&scope, list](std::int32_t map) {
    return ScriptFindNamed(gameData.maps[map].*list, scope.object.text, scope.object.loose);
  });
  if (found.index < 0)
    return ScriptResolveFailure(kind, raise, word + ScriptQuoted(name.text) + " is not loaded.");
  ScriptReachedMap(found.map);
  return ScriptValue{kind, Variant::Long(found.index), found.map};
}

// A keyword object of the running trigger: the frame's index in its map, or
// the message when the frame has none.
ScriptValue FrameObject(std::int32_t kind, std::int32_t index, bool raise, const char* message) {
  if (index < 0) return ScriptResolveFailure(kind, raise, message);
  const std::int32_t map = TopFrame().ownerMap;
  ScriptReachedMap(map);
  return ScriptValue{kind, Variant::Long(index), map};
}

}  // namespace

ScriptValue ScriptResolveField(std::u16string_view argument, std::int32_t map, bool raiseErrors) {
  const std::int32_t ownerMap = TopFrame().ownerMap;
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text == u"this" || name.text == u"relate") {
    ScriptValue result;
    ScriptResolveFrameKeyword(result, name.text == u"this" ? kKeywordFieldThis : kKeywordFieldRelate, map,
                              raiseErrors);
    return result;
  }
  const ScriptNameScope scope = ScriptScopeOf(name, map, ownerMap, InterfacePart);
  if (scope.mismatch) {
    return ScriptResolveFailure(kObjectField, raiseErrors,
                                ScriptExpectingMessage("field", "interface", map, scope.mapPart));
  }
  const ScriptFound found = ScriptSearchMaps(scope.scope, [&scope](std::int32_t m) {
    return ScriptFindNamed(gameData.maps[m].fields, scope.object.text, scope.object.loose);
  });
  if (found.index < 0) {
    return ScriptResolveFailure(kObjectField, raiseErrors,
                                "Field " + ScriptQuoted(name.text) + " is not loaded.");
  }
  ScriptReachedMap(found.map);
  return ScriptValue{kObjectField, Variant::Long(found.index), found.map};
}

ScriptValue ScriptResolveTurretSpawn(std::u16string_view argument, bool raiseErrors) {
  const CallFrame& frame = TopFrame();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text == u"this") {
    return FrameObject(
        kObjectSpawn, frame.thisSpawn, raiseErrors,
        "Turret/Spawn \"this\" cannot be used as this script does not belong to a turret/spawn.");
  }
  return SearchList(name, &Map::spawns, kObjectSpawn, raiseErrors, "Turret/Spawn ", MapOrInterfacePart);
}

ScriptValue ScriptResolveZone(std::u16string_view argument, bool raiseErrors) {
  const CallFrame& frame = TopFrame();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text == u"this") {
    return FrameObject(kObjectZone, frame.thisZone, raiseErrors,
                       "Zone \"this\" cannot be used as this script does not belong to a zone.");
  }
  return SearchList(name, &Map::zones, kObjectZone, raiseErrors, "Zone ");
}

ScriptValue ScriptResolveDoor(std::u16string_view argument, bool raiseErrors) {
  const CallFrame& frame = TopFrame();
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text == u"this") {
    return FrameObject(kObjectDoor, frame.thisDoor, raiseErrors,
                       "Door \"this\" cannot be used as this script does not belong to a door.");
  }
  if (name.text == u"relate") {
    return FrameObject(kObjectDoor, frame.relateDoor, raiseErrors,
                       "Door \"relate\" cannot be used as this script does not relate to a door.");
  }
  return SearchList(name, &Map::doors, kObjectDoor, raiseErrors, "Door ");
}

ScriptValue ScriptResolveDynamicObject(std::u16string_view argument, bool raiseErrors) {
  const std::int32_t ownerMap = TopFrame().ownerMap;
  const ScriptSearchName name = ScriptPrepareName(argument);
  const ScriptNameScope scope = ScriptScopeOf(name, -1, ownerMap, MapOrInterfacePart);
  const std::u16string searched = ScriptPrefixedName(u"Dynamic Object ", scope.object);
  const bool loose = name.loose;
  // A map keeps its dynamic objects among its actors, an interface among its fields.
  const ScriptFound found = ScriptSearchMaps(scope.scope, [&searched, loose](std::int32_t m) {
    const Map& record = gameData.maps[m];
    return record.isInterface ? ScriptFindNamed(record.fields, searched, loose)
                              : ScriptFindNamed(record.actors, searched, loose);
  });
  if (found.index < 0) {
    return ScriptResolveFailure(kObjectDynamic, raiseErrors,
                                "Object " + ScriptQuoted(name.text) + " is not loaded.");
  }
  ScriptReachedMap(found.map);
  return ScriptValue{kObjectDynamic, Variant::Long(found.index), found.map};
}

ScriptValue ScriptResolveLight(std::u16string_view argument, bool raiseErrors) {
  ScriptRequireRunningScript();
  return SearchList(ScriptPrepareName(argument), &Map::lights, kObjectLight, raiseErrors, "Light ");
}

ScriptValue ScriptResolveSpeaker(std::u16string_view argument, bool raiseErrors) {
  ScriptRequireRunningScript();
  return SearchList(ScriptPrepareName(argument), &Map::speakers, kObjectSpeaker, raiseErrors, "Speaker ");
}

}  // namespace kiv
