#pragma once
// The movement benchmarks' ground: a size x size map of open floor with wall
// lines every 16 tiles, each with a gap every 8 tiles, on a collision grid of
// 16-pixel cells. Starts from empty game data.
#include <cstdint>

#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "state/project_settings_block.h"
#include "world/tile_collision.h"

namespace kiv::bench {

inline std::int32_t MakeWalledMap(std::int32_t size) {
  gameData.Reset();
  projectState.Reset();
  storedProjectSettings = StoredProjectSettings();
  dataSettings.gridCellSize = 16;
  dataSettings.gridOrigin = 0;
  MathInit(16, 0);
  const std::int32_t map = gameData.maps.Append();
  Map& m = gameData.maps[map];
  m.width = size - 1;
  m.height = size - 1;
  m.layerCount = 0;
  m.flags = {0, 0, 0, 0, 0, 0};
  m.staticCollision.Make(size * 2, size * 2, 2);
  m.workingCollision.Make(size * 2, size * 2, 2);
  for (TileLayerGroup& g : m.tileLayerGroups) {
    g.slotGrid.Make(size, size, 1);
    g.tileGrid.Make(size, size, 1);
    g.slotTileSets = {0, 1};
    g.slotCount = 2;
  }
  TileSet floor, wall;
  floor.tiles.emplace_back();
  wall.flags = 1;
  wall.tiles.emplace_back();
  gameData.tileSets = {floor, wall};
  for (std::int32_t y = 0; y < size; ++y)
    for (std::int32_t x = 0; x < size; ++x) {
      const bool line = (x % 16 == 8 && y % 8 != 4) || (y % 16 == 8 && x % 8 != 4);
      m.tileLayerGroups[0].slotGrid.At(x, y, 0) = line ? 2 : 1;
    }
  BuildSectorGrid(m);
  UpdateTileCollision(map, -1, -1, -1);
  return map;
}

}  // namespace kiv::bench
