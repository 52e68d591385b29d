#include "data/tile_set_slots.h"

#include "core/error.h"
#include "core/hooks.h"
#include "core/identifier.h"
#include "data/game_data.h"

namespace kiv {

bool tileSetLimitShown = false;

std::uint8_t MapTileSetSlot(std::int32_t map, std::int32_t group, std::int32_t tileSet, bool add) {
  return MapTileSetSlot(gameData.maps[map], group, tileSet, add);
}

std::uint8_t MapTileSetSlot(Map& map, std::int32_t group, std::int32_t tileSet, bool add) {
  if (tileSet < 0) return 0;
  if (group < 0 || group >= kTileLayerGroupCount) RaiseError(kErrIndex, "Subscript out of range");
  TileLayerGroup& layers = map.tileLayerGroups[static_cast<std::size_t>(group)];
  for (std::int32_t slot = 1; slot <= layers.slotCount; ++slot) {
    if (layers.slotTileSets[static_cast<std::size_t>(slot - 1)] == tileSet)
      return static_cast<std::uint8_t>(slot);
  }
  if (!add) return 0;
  if (layers.slotCount == 255) {
    if (!tileSetLimitShown) {
      ShowErrorBox("Tile-Set Error",
                   "You have reached the limit on the number of tile-sets of a specific type for this map.");
      tileSetLimitShown = true;
    }
    return 0;
  }
  if (tileSet >= static_cast<std::int32_t>(gameData.tileSets.size()))
    RaiseError(kErrIndex, "Subscript out of range");
  Identifier id;
  IdCopy(id, gameData.tileSets[static_cast<std::size_t>(tileSet)].id);
  layers.slotTileSets.resize(layers.slotCount);
  layers.slotIds.resize(layers.slotCount);
  layers.slotTileSets.push_back(tileSet);
  layers.slotIds.push_back(id);
  ++layers.slotCount;
  return layers.slotCount;
}

}  // namespace kiv
