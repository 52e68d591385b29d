#include "data/map_references.h"

#include <cstring>
#include <vector>

#include "core/error.h"
#include "core/hooks.h"
#include "core/package.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/resource_header.h"

namespace kiv {

namespace {

constexpr std::size_t kVersionSize = 4;
constexpr std::size_t kHashedHeaderSize = 24;

std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

std::u16string EntryBaseName(const std::string& entry) {
  return AnsiToUtf16(entry.size() >= 4 ? entry.substr(0, entry.size() - 4) : std::string());
}

bool IsLoadedMapName(const std::u16string& name) {
  const std::u16string lower = Lower(name);
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    if (!map.isInterface && Lower(map.fileName) == lower) return true;
  }
  return false;
}

// The identifier in the header of a map entry; fallback when the entry holds none.
Identifier EntryIdentifier(const std::string& entry, const Identifier& fallback) {
  Identifier stored;
  try {
    if (MapFileIdentifier(
            PackageGetEntryBytes(entry, static_cast<std::int32_t>(kHashedHeaderSize + sizeof(Identifier))), stored)) {
      return stored;
    }
  } catch (const KivError&) {
    // An entry that cannot be read keeps what the reference knew.
  }
  return fallback;
}

// The first map entry of the package, in package order, that carries the identifier.
std::string FindMapEntryById(const Identifier& id) {
  std::vector<std::string> names;
  for (std::string name = PackageFindNextLike("*.kmp"); !name.empty(); name = PackageFindNextLike("")) {
    names.push_back(name);
  }
  for (const std::string& name : names) {
    if (PackageNameLike(name, "test~*") || IsLoadedMapName(EntryBaseName(name))) continue;
    Identifier stored;
    if (MapFileIdentifier(PackageGetEntryBytes(name, static_cast<std::int32_t>(kHashedHeaderSize + sizeof(Identifier))),
                          stored) &&
        IdEquals(stored, id)) {
      return name;
    }
  }
  return std::string();
}

std::int32_t FindLoadedMap(std::int32_t& index, std::u16string& name, const Identifier& id, bool byId,
                           bool isInterface) {
  const std::u16string lower = Lower(name);
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    if (map.isInterface != isInterface) continue;
    if (byId ? IdEquals(map.id, id) : Lower(map.fileName) == lower) {
      index = m;
      if (byId) name = map.fileName;
      return m;
    }
  }
  return -2;
}

}  // namespace

bool MapFileIdentifier(const ByteList& bytes, Identifier& id) {
  if (bytes.size() < kVersionSize) return false;
  std::int32_t version = 0;
  std::memcpy(&version, bytes.data(), kVersionSize);
  const std::size_t at = version >= kFirstHashedVersion ? kHashedHeaderSize : kVersionSize;
  if (bytes.size() < at + sizeof(Identifier)) return false;
  std::memcpy(id.bytes.data(), bytes.data() + at, id.bytes.size());
  return true;
}

std::int32_t ResolveMapReference(std::int32_t& index, std::u16string& name, const Identifier& id, bool isInterface,
                                 bool load) {
  const bool byId = index == -4;
  if (byId && IdIsEmpty(id)) {
    name.clear();
    return index = -1;
  }
  if (!byId) {
    if (name.empty()) return index = -1;
    if (name == u"*") return index = -3;
  }
  if (FindLoadedMap(index, name, id, byId, isInterface) >= 0) return index;

  index = -2;
  if (isInterface) return index;
  std::string entry;
  if (byId) {
    entry = FindMapEntryById(id);
  } else {
    const std::string wanted = Utf16ToAnsi(name) + ".kmp";
    const std::int32_t found = PackageFindEntry(wanted);
    if (found >= 0) entry = package.packageEntries[static_cast<std::size_t>(found)].name;
  }
  if (entry.empty()) return index;

  const std::u16string fileName = EntryBaseName(entry);
  if (load) {
    const std::int32_t newIndex = gameData.maps.LastIndex() + 1;
    try {
      OutOfMemoryAsError([&] { LoadMap(PackageGetEntryBytes(entry, -1), fileName, -1, true); });
    } catch (const KivError& e) {
      // A load ended by closing the window stops the whole game load.
      if (e.Number() == kErrLoadAborted) throw;
      AddNotice("Map \"" + entry + "\" file could not be loaded as it is corrupt.", false);
      return index;
    }
    index = newIndex;
    name = fileName;
    return index;
  }
  index = gameData.maps.Append();
  Map& placeholder = gameData.maps[index];
  placeholder.fileName = fileName;
  // A reference by name carries no identifier: the map's own is the one a
  // save keeps for the placeholder, and by which a load finds the map again.
  placeholder.id = byId ? id : EntryIdentifier(entry, id);
  placeholder.keptById = true;
  name = fileName;
  return index;
}

void ResolveMapLinks(std::int32_t mapIndex) {
  // Resolving may load further maps into the table: look the map up again each time.
  auto mapAt = [mapIndex]() -> Map& { return gameData.maps[mapIndex]; };
  const Identifier none;
  for (std::size_t s = 0; s < mapAt().namedSlots.size(); ++s) {
    NamedSlot slot = mapAt().namedSlots[s];
    ResolveMapReference(slot.index, slot.name, none, false, false);
    mapAt().namedSlots[s] = slot;
  }
  for (std::size_t d = 0; d < mapAt().doors.size(); ++d) {
    MapTarget target = mapAt().doors[d].target;
    ResolveMapReference(target.index, target.name, target.id, false, false);
    mapAt().doors[d].target = target;
  }
  for (std::size_t z = 0; z < mapAt().zones.size(); ++z) {
    MapTarget target = mapAt().zones[z].target;
    ResolveMapReference(target.index, target.name, target.id, false, false);
    mapAt().zones[z].target = target;
  }
  for (std::size_t f = 0; f < mapAt().fields.size(); ++f) {
    for (std::size_t a = 0; a < mapAt().fields[f].actions.size(); ++a) {
      FieldAction action = mapAt().fields[f].actions[a];
      ResolveMapReference(action.mapKind, action.mapName, action.mapId, true, false);
      mapAt().fields[f].actions[a] = action;
    }
  }
}

}  // namespace kiv
