#include "data/map_loader.h"

#include <utility>

#include "core/error.h"
#include "core/log.h"
#include "core/package.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/map_reader.h"
#include "data/resource_header.h"
#include "data/script_record.h"

namespace kiv {

namespace {

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

void ReadSections(const ByteList& bytes, std::int32_t& offset, std::int32_t version, Map& map) {
  ReadMapHeader(bytes, offset, version, map);
  ReadMapProperties(bytes, offset, version, map, false);
  ReadMapBody(bytes, offset, version, map, false);
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
      ReadSections(bytes, offset, version, map);
    } catch (...) {
      gameData.maps.RemoveLast();
      scriptTable.scripts.resize(scriptCount);
      throw;
    }
  } else {
    // A reload reads into a scratch record so that a failure keeps the old map.
    Map& target = gameData.maps[index];
    Map scratch;
    ResetForLoad(scratch, name);
    try {
      ReadSections(bytes, offset, version, scratch);
    } catch (...) {
      scriptTable.scripts.resize(scriptCount);
      throw;
    }
    target = std::move(scratch);
  }

  if (dataHooks.ActivePlayerMap() == index) dataHooks.RefreshViewedMaps(0);
  dataHooks.GenerateMapData(index, prepare);
  // Spawns, equipment ammunition, lights and the Loaded events of actors follow
  // here once maps carry objects.

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
