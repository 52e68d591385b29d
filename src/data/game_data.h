#pragma once
// The global tables of the game data, in one place.
#include <cstdint>
#include <string>
#include <vector>

#include "data/actor_template.h"
#include "data/map_record.h"
#include "data/set_records.h"
#include "media/sound_sets.h"

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
  std::vector<SpriteSet> spriteSets;
  std::vector<DoorSet> doorSets;
  std::vector<Item> items;
  std::vector<FontSet> fontSets;
  std::vector<InputSet> inputSets;
  std::vector<CustomEvent> customEvents;
  std::vector<ActorTemplate> actorTemplates;
  // Filled from the project state; items keep one value per statistic.
  std::vector<Statistic> statistics;
  // The name of the map or interface being loaded, empty otherwise.
  std::u16string loadingMapName;
  // What loading does now (the entry being read, or "Linking"), for error reports.
  std::string currentActivity;
  // The factor by which the main loop scales each tick.
  float gameSpeed = 1.0f;

  void Reset() { *this = GameData(); }
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

// The largest cell and sprite sizes of the sets read, for drawing. The set
// readers only raise them; loading sets the tile sizes to 32 before the tile
// sets are read, and the sprite sizes keep growing for the whole run.
struct SetExtents {
  std::int32_t maxTileCellWidth = 32;
  std::int32_t maxTileCellHeight = 32;
  std::int32_t maxSpriteWidth = 0;
  std::int32_t maxSpriteHeight = 0;

  void Reset() { *this = SetExtents(); }
};
extern SetExtents setExtents;

}  // namespace kiv
