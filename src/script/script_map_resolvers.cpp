#include "script/script_map_resolvers.h"

#include <string>

#include "core/error.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/project_state.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "script/script_object_names.h"
#include "script/script_resolve_support.h"

namespace kiv {

namespace {

enum class Among { kMaps, kInterfaces, kBoth };

ScriptValue MapValue(std::int32_t kind, std::int32_t index) {
  return ScriptValue{kind, Variant::Long(index), 0};
}

ScriptValue MapFailure(bool raise, const std::string& message) {
  if (raise) RaiseError(kErrData, message);
  return MapValue(kObjectMap, -1);
}

bool IsThisOrRelate(const std::u16string& word) { return word == u"this" || word == u"relate"; }

// The first record from index 0 whose file name matches; -1 none.
std::int32_t FindByFileName(const ScriptSearchName& name, Among among) {
  for (std::int32_t i = 0; i <= gameData.maps.LastIndex(); ++i) {
    const Map& map = gameData.maps[i];
    if (among == Among::kMaps && map.isInterface) continue;
    if (among == Among::kInterfaces && !map.isInterface) continue;
    if (ScriptNameMatches(map.fileName, name.text, name.loose)) return i;
  }
  return -1;
}

// A map found by name is made ready for play: read in full when only its
// identifier is held, then its derived data generated.
void PrepareFoundMap(std::int32_t index, bool showProgress) {
  if (gameData.maps[index].keptById) {
    const std::u16string fileName = gameData.maps[index].fileName;
    LoadMapFromPackage(fileName, false, index, showProgress);
  }
  ScriptReachedMap(index);
}

}  // namespace

ScriptValue ScriptResolveMap(std::u16string_view argument, bool load, bool raiseErrors, bool showProgress) {
  const std::int32_t ownerMap = TopFrame().ownerMap;
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (scriptHooks.LoadingTickRunning()) {
    RaiseError(kErrData, "Cannot load map " + ScriptQuoted(name.text) + " while loading.");
  }
  if (name.text.empty()) return MapValue(kObjectMap, -1);
  if (name.text == u"main") {
    const Player* player = ScriptCurrentPlayerRecord();
    const std::int32_t map = player != nullptr ? player->mapIndex : -1;
    if (map < 0) {
      return MapFailure(raiseErrors, "Cannot use map \"main\" as the player is currently not in a map.");
    }
    return MapValue(kObjectMap, map);
  }
  if (IsThisOrRelate(name.text)) {
    if (ownerMap < 0) {
      RaiseError(
          kErrData,
          "Cannot use map \"this\"/\"relate\" in a trigger that doesn't deal with maps. Use \"main\" to "
          "get the map the player is on.");
    }
    if (gameData.maps[ownerMap].isInterface) {
      return MapFailure(raiseErrors,
                        "Cannot use map \"this\"/\"relate\" in an interface. Use \"main\" to get the map the "
                        "player is on.");
    }
    return MapValue(kObjectMap, ownerMap);
  }
  // A map held by identifier is read with the caller's progress flag only
  // under loose name matching; otherwise always with progress.
  const bool progress = name.loose ? showProgress : true;
  for (bool loaded = false;; loaded = true) {
    const std::int32_t index = FindByFileName(name, Among::kMaps);
    if (index >= 0) {
      if (load) PrepareFoundMap(index, progress);
      return MapValue(kObjectMap, index);
    }
    if (!load || loaded) return MapValue(kObjectMap, -1);
    LoadMapFromPackage(std::u16string(argument), false, -1, true);
  }
}

ScriptValue ScriptResolveInterface(std::u16string_view argument, bool raiseErrors) {
  const std::int32_t ownerMap = TopFrame().ownerMap;
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (name.text.empty()) return MapValue(kObjectMap, -1);
  if (name.text == u"main") {
    const std::int32_t playerInterface = projectState.currentPlayerInterface.index;
    if (playerInterface >= 0) return MapValue(kObjectMap, playerInterface);
    constexpr const char* kNoInterface =
        "Cannot use interface \"main\" as the player is currently not interacting with an interface.";
    const std::int32_t top = scriptHooks.FindNextMapInOrder(-1, true);
    if (top < 0) return MapFailure(raiseErrors, kNoInterface);
    // The top interface is the answer even when it takes no input; only the error says so.
    if (!scriptHooks.IsMapInputActive(top) && raiseErrors) RaiseError(kErrData, kNoInterface);
    return MapValue(kObjectMap, top);
  }
  if (IsThisOrRelate(name.text) && ownerMap >= 0) {
    if (!gameData.maps[ownerMap].isInterface) {
      RaiseError(
          kErrData,
          "Cannot use interface \"this\"/\"relate\" in a map. Use the actual interface name to get the "
          "interface desired.");
    }
    return MapValue(kObjectMap, ownerMap);
  }
  for (bool loaded = false;; loaded = true) {
    const std::int32_t index = FindByFileName(name, Among::kInterfaces);
    if (index >= 0) return MapValue(kObjectMap, index);
    if (loaded) return MapValue(kObjectMap, -1);
    LoadMapFromPackage(std::u16string(argument), true, -1, true);
  }
}

ScriptValue ScriptResolveMapOrInterface(std::u16string_view argument, bool load) {
  const std::int32_t ownerMap = TopFrame().ownerMap;
  const ScriptSearchName name = ScriptPrepareName(argument);
  if (IsThisOrRelate(name.text)) {
    if (ownerMap < 0) {
      RaiseError(kErrData,
                 "Cannot use map/interface \"this\"/\"relate\" in a trigger that doesn't deal with maps or "
                 "interfaces.");
    }
    return MapValue(gameData.maps[ownerMap].isInterface ? kObjectMapOrInterface : kObjectMap, ownerMap);
  }
  for (bool loaded = false;; loaded = true) {
    const std::int32_t index = FindByFileName(name, Among::kBoth);
    if (index >= 0) {
      if (gameData.maps[index].isInterface) return MapValue(kObjectMapOrInterface, index);
      if (load) PrepareFoundMap(index, true);
      return MapValue(kObjectMap, index);
    }
    if (!load || loaded) return MapValue(kObjectMap, -1);
    LoadMapFromPackage(std::u16string(argument), false, -1, true);
  }
}

}  // namespace kiv
