#pragma once
// The global tables of the game data, in one place.
#include <cstdint>
#include <string>
#include <vector>

#include "data/map_record.h"
#include "data/set_records.h"

namespace kiv {

// The maps and interfaces, indexed from -1: entry -1 holds the objects that
// belong to no map; loaded maps take 0, 1, 2 ... in loading order.
class MapTable {
 public:
  MapTable() { Reset(); }
  Map& operator[](std::int32_t index);
  const Map& operator[](std::int32_t index) const;
  std::int32_t LastIndex() const { return static_cast<std::int32_t>(entries_.size()) - 2; }
  // Appends a fresh entry and returns its index.
  std::int32_t Append();
  // Removes the last entry (never entry -1).
  void RemoveLast();
  void Reset();

 private:
  std::vector<Map> entries_;  // entries_[0] is map -1
};

struct GameData {
  MapTable maps;
  std::vector<TileSet> tileSets;
  std::vector<SoundSet> soundSets;
  // The name of the map or interface being loaded, empty otherwise.
  std::u16string loadingMapName;

  void Reset();
};
extern GameData gameData;

// Settings that other subsystems fill and the data readers use.
struct DataSettings {
  // Collision-grid cell size and origin in pixels; filled from the project state.
  std::int32_t gridCellSize = 0;
  std::int32_t gridOrigin = 0;
  // The game's video size, the design size of interfaces that store none.
  std::int32_t gameVideoWidth = 800;
  std::int32_t gameVideoHeight = 600;

  void Reset() { *this = DataSettings(); }
};
extern DataSettings dataSettings;

}  // namespace kiv
