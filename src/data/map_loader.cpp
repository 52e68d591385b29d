#include "data/map_loader.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/error.h"
#include "core/log.h"
#include "core/math_util.h"
#include "core/package.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_reader.h"
#include "data/resource_header.h"
#include "data/script_record.h"

namespace kiv {

namespace {

constexpr std::int32_t kOwnerActor = 3;

// Clears the name of the map being loaded however the load ends.
struct LoadingNameScope {
  explicit LoadingNameScope(const std::u16string& name) { gameData.loadingMapName = name; }
  ~LoadingNameScope() { gameData.loadingMapName.clear(); }
  LoadingNameScope(const LoadingNameScope&) = delete;
  LoadingNameScope& operator=(const LoadingNameScope&) = delete;
};

void ResetForLoad(Map& map, const std::u16string& name) {
  map.fileName = name;
  map.fileName2 = name;
  map.keptById = false;
  map.mapDataPrepared = false;
  map.sectorGridBuilt = false;
  map.loadFlag = false;
  map.loadByte = 1;
}

void ReadSections(const ByteList& bytes, std::int32_t& offset, std::int32_t version, Map& map,
                  std::int32_t index) {
  ReadMapHeader(bytes, offset, version, map);
  ReadMapProperties(bytes, offset, version, map, false);
  ReadMapBodySections(bytes, offset, version, map, index, false);
}

// Each spawn is linked to the first actor that stands on it: the same whole
// x and y and a height less than 64 apart.
void LinkSpawnsToActors(Map& map) {
  for (Spawn& spawn : map.spawns) spawn.linkedActor = -1;
  for (std::size_t s = 0; s < map.spawns.size(); ++s) {
    Spawn& spawn = map.spawns[s];
    for (std::size_t a = 0; a < map.actors.size(); ++a) {
      Actor& actor = map.actors[a];
      if (RoundToLong(actor.x) != RoundToLong(spawn.x) || RoundToLong(actor.y) != RoundToLong(spawn.y)) continue;
      if (!(std::fabs(static_cast<double>(actor.z) - spawn.z) < 64.0)) continue;
      spawn.linkedActor = static_cast<std::int32_t>(a);
      actor.spawn = static_cast<std::int32_t>(s);
      actor.spawned = 1;
      break;
    }
  }
}

// Equipped items start with their ammunition full.
void FillAmmunition(Map& map) {
  for (Actor& actor : map.actors) {
    for (InventoryEntry& entry : actor.equipment) {
      if (entry.item < 0) continue;
      const std::int32_t capacity = dataHooks.ItemAmmunitionCapacity(entry.item);
      if (capacity > 0) entry.ammunition = capacity;
    }
  }
}

// Points nearer to a light than the nearest obstacle that its first light
// map met are lit without tracing again.
void KeepClearDistances(Map& map) {
  for (Light& light : map.lights) {
    if (light.enabled != 0) light.clearDistanceSquared = light.nearestBlockedSquared;
  }
}

void RaiseLoadedEvents(std::int32_t index) {
  const std::size_t count = gameData.maps[index].actors.size();
  for (std::size_t a = 0; a < count; ++a) {
    const auto actor = static_cast<std::int32_t>(a);
    dataHooks.ScriptRaiseObjectEvent(kOwnerActor, actor, kSymTriggerActorLoaded, index);
    // A trigger may change the map's lists: look the actor up again.
    const Map& map = gameData.maps[index];
    if (a < map.actors.size() && map.actors[a].spawn < 0) {
      dataHooks.ScriptRaiseObjectEvent(kOwnerActor, actor, kSymTriggerActorExistenceChanged, index);
    }
  }
}

}  // namespace

void LoadMap(const ByteList& bytes, const std::u16string& name, std::int32_t index, bool prepare) {
  if (index == -1) LogWriteLine("Loading map: " + Utf16ToAnsi(name) + ".");
  LoadingNameScope loadingName(name);
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(bytes, offset, version, kMinMapVersion);

  // Scripts registered by a load that then fails are taken out again.
  const std::size_t scriptCount = scriptTable.scripts.size();
  if (index == -1) {
    index = gameData.maps.Append();
    try {
      Map& map = gameData.maps[index];
      ResetForLoad(map, name);
      ReadSections(bytes, offset, version, map, index);
      FinishMapBody(index, false);
    } catch (...) {
      // Maps that linking loaded for this one go with it.
      while (gameData.maps.LastIndex() >= index) gameData.maps.RemoveLast();
      scriptTable.scripts.resize(scriptCount);
      throw;
    }
  } else {
    // A reload reads into a scratch record so that a failed read keeps the old map.
    Map scratch;
    ResetForLoad(scratch, name);
    try {
      ReadSections(bytes, offset, version, scratch, index);
    } catch (...) {
      scriptTable.scripts.resize(scriptCount);
      throw;
    }
    gameData.maps[index] = std::move(scratch);
    FinishMapBody(index, false);
  }

  if (dataHooks.ActivePlayerMap() == index) dataHooks.RefreshViewedMaps(0);
  dataHooks.GenerateMapData(index, prepare);
  LinkSpawnsToActors(gameData.maps[index]);
  FillAmmunition(gameData.maps[index]);
  KeepClearDistances(gameData.maps[index]);
  RaiseLoadedEvents(index);

  gameData.loadingMapName.clear();
  dataHooks.RestartTickBase();
  dataHooks.YieldToWindowSystem();
  if (dataHooks.QuitRequested()) RaiseError(kErrLoadAborted, "Aborted while loading map.");
}

void LoadMapFromPackage(const std::u16string& name, bool isInterface, std::int32_t index, bool prepare) {
  const std::string entryName = Utf16ToAnsi(name) + (isInterface ? ".kui" : ".kmp");
  if (PackageFindEntry(entryName) < 0) {
    RaiseError(kErrData, std::string(isInterface ? "Interface" : "Map") + " file \"" + Utf16ToAnsi(name) +
                             "\" cannot be found.");
  }
  const ByteList bytes = PackageGetEntryBytes(entryName, -1);
  try {
    LoadMap(bytes, name, index, prepare);
  } catch (const KivError& e) {
    // A load ended by closing the window has a complete map: mark it all the same.
    if (e.Number() != kErrLoadAborted) throw;
    gameData.maps[index < 0 ? gameData.maps.LastIndex() : index].isInterface = isInterface;
    throw;
  }
  gameData.maps[index < 0 ? gameData.maps.LastIndex() : index].isInterface = isInterface;
}

}  // namespace kiv
