#pragma once
// What the object resolvers share: their "none" results and messages, the map
// names those messages quote, the current player, the split of a qualified
// name ("|Town:Bob") and the search of the maps' object lists by name.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/actor_record.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "script/script_object_names.h"
#include "script/script_value.h"

namespace kiv {

// The file name of a map as messages quote it; empty outside maps.
std::string ScriptMapFileName(std::int32_t map);
// The text between double quotes, as messages show it.
std::string ScriptQuoted(std::u16string_view text);

// "None" of the kind (value -1, map -1).
ScriptValue ScriptNone(std::int32_t kind);
// "None" of the kind; the message is raised (-1) when raise is set.
ScriptValue ScriptResolveFailure(std::int32_t kind, bool raise, const std::string& message);

// Resolvers read the running trigger: error 9 when no script runs.
void ScriptRequireRunningScript();

// The record of the player scripts act for; nullptr outside the players table.
const Player* ScriptCurrentPlayerRecord();
// The character of the map; error 9 for a map or character that does not exist.
const Actor& ScriptMapActor(std::int32_t map, std::int32_t character);

// The characters of the current player's party that are in play in its map,
// slot 0 first, as an array of Longs (an empty array when none is).
Variant ScriptPartyInPlay();

// A name that begins with "|" names an object of one map: the map part runs to
// the first ":", the object name follows it. "|" without ":" is error 5.
struct ScriptQualifiedName {
  bool qualified = false;
  std::u16string mapPart;
  std::u16string objectName;
};
ScriptQualifiedName ScriptSplitQualifiedName(std::u16string_view name);

// Where a name is searched: one map only, or every map from the last down to
// -1 (the objects of no map), with one map tried first when first is set.
inline constexpr std::int32_t kSearchEveryMap = -2;
struct ScriptSearchScope {
  std::int32_t only = kSearchEveryMap;
  std::int32_t first = kSearchEveryMap;
};

struct ScriptFound {
  std::int32_t map = -1;
  std::int32_t index = -1;
};

// findIn(map) gives the index of the object in that map, -1 none; the first
// map with a hit wins.
template <typename FindIn>
ScriptFound ScriptSearchMaps(const ScriptSearchScope& scope, FindIn&& findIn) {
  if (scope.only != kSearchEveryMap) {
    const std::int32_t index = findIn(scope.only);
    return index >= 0 ? ScriptFound{scope.only, index} : ScriptFound{};
  }
  if (scope.first != kSearchEveryMap) {
    const std::int32_t index = findIn(scope.first);
    if (index >= 0) return ScriptFound{scope.first, index};
  }
  for (std::int32_t map = gameData.maps.LastIndex(); map >= -1; --map) {
    if (map == scope.first) continue;
    const std::int32_t index = findIn(map);
    if (index >= 0) return ScriptFound{map, index};
  }
  return ScriptFound{};
}

// What a name searches: the object name and the maps. A qualified name's map
// part goes through resolvePart (which gives a map index, -1 none); without
// one the required map only (when not -1), else every map with first tried
// first. mismatch: a qualified name of another map than the required one.
struct ScriptNameScope {
  ScriptSearchName object;
  ScriptSearchScope scope;
  bool mismatch = false;
  std::u16string mapPart;
};
ScriptNameScope ScriptScopeOf(const ScriptSearchName& name, std::int32_t requiredMap, std::int32_t first,
                              const std::function<std::int32_t(const std::u16string& part)>& resolvePart);
// The message of a mismatch: "Expecting <what> in <map or interface> "<expected>" and not "<part>".".
std::string ScriptExpectingMessage(const char* what, const char* mapWord, std::int32_t requiredMap,
                                   const std::u16string& part);

// The highest index in the list whose stored name matches the searched text.
template <typename Record>
std::int32_t ScriptFindNamed(const std::vector<Record>& list, std::u16string_view searched, bool loose) {
  for (std::int32_t i = static_cast<std::int32_t>(list.size()) - 1; i >= 0; --i) {
    if (ScriptNameMatches(list[static_cast<std::size_t>(i)].name, searched, loose)) return i;
  }
  return -1;
}

// The searched text of a prefixed name: "Character " + name, in lower case
// under loose name matching (the name is in lower case already then).
std::u16string ScriptPrefixedName(const char16_t* prefix, const ScriptSearchName& name);

// A success on a map: its derived data is generated the first time.
void ScriptReachedMap(std::int32_t map);

}  // namespace kiv
