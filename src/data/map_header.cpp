#include <limits>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/map_grid_budget.h"
#include "data/map_reader.h"
#include "data/sector_grid.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstLinkedMapName = 100667;
constexpr std::int32_t kFirstDisplayName = 100633;
constexpr std::int32_t kFirstHeaderValue = 100676;
constexpr std::int32_t kFirstHeaderProperties = 100758;
constexpr std::int32_t kFirstLayerCount = 100563;
constexpr std::int32_t kOldLayerCount = 11;
// A map without tiles stores no grids, so the bytes of its file do not bound
// its layer count, which still sizes its sector grid: this does.
constexpr std::int32_t kMaxLayerWithoutTiles = 65535;

// Checks that a grid of the given sizes can be held; returns its cell count.
std::int64_t GridCells(std::int64_t columns, std::int64_t rows, std::int64_t layers) {
  constexpr std::int64_t kMaxCells = std::numeric_limits<std::int32_t>::max();
  // Each factor within 32 bits keeps every product below 2^62.
  for (const std::int64_t size : {columns, rows, layers}) {
    if (size < 0 || size > kMaxCells) RaiseInvalidMapSize();
  }
  const std::int64_t area = columns * rows;
  if (area > kMaxCells) RaiseInvalidMapSize();
  const std::int64_t cells = area * layers;
  if (cells > kMaxCells) RaiseInvalidMapSize();
  return cells;
}

// The sector grid of a map that stores no tile cells.
void RequireSectorGridWithoutTiles(const Map& map) {
  if (SectorGridCells(map.width, map.height, map.layerCount) > kMaxSectorCellsWithoutTiles)
    RaiseInvalidMapSize();
}

}  // namespace

void ReadMapHeader(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map) {
  map.id = BufferReadIdentifier(buffer, offset);
  if (version >= kFirstLinkedMapName) {
    map.linkedMap.name = BufferReadString(buffer, offset);
    map.linkedMap.index = -2;
  } else {
    map.linkedMap.id = BufferReadIdentifier(buffer, offset);
    map.linkedMap.index = -4;
  }
  map.displayName = version >= kFirstDisplayName ? BufferReadString(buffer, offset) : map.fileName;
  map.displayNameWorking = map.displayName;
  map.headerValue = version >= kFirstHeaderValue ? BufferReadLong(buffer, offset) : 0;
  if (version >= kFirstHeaderProperties) {
    ReadPropertyList(buffer, offset, map.properties);
    std::vector<ScriptVariable> discarded;
    ReadPropertyList(buffer, offset, discarded);
  }
  map.width = BufferReadLong(buffer, offset);
  map.height = BufferReadLong(buffer, offset);
  map.layerCount = version >= kFirstLayerCount ? BufferReadLong(buffer, offset) : kOldLayerCount;
  if (map.width < 0 || map.height < 0) {
    if (map.layerCount > kMaxLayerWithoutTiles) RaiseInvalidMapSize();
    RequireSectorGridWithoutTiles(map);
    return;
  }
  if (map.layerCount < -1) RaiseInvalidMapSize();

  const std::int64_t columns = static_cast<std::int64_t>(map.width) + 1;
  const std::int64_t rows = static_cast<std::int64_t>(map.height) + 1;
  const std::int64_t layers = static_cast<std::int64_t>(map.layerCount) + 1;
  const std::int64_t gridCells = GridCells(columns, rows, layers);
  // Older files store only the first layer of each tile grid.
  const std::int64_t storedCells = version >= kFirstLayerCount ? gridCells : GridCells(columns, rows, 1);
  // Six stored grids follow (two per group): refuse a size the file cannot hold
  // before anything is allocated.
  BufferRequire(buffer, offset, storedCells * 2 * kTileLayerGroupCount);
  if (storedCells == 0) RequireSectorGridWithoutTiles(map);

  const std::int32_t cellSize = dataSettings.gridCellSize;
  if (cellSize <= 0) RaiseError(kErrData, "Invalid collision grid cell size.");
  const std::int64_t perTile = 32 / cellSize;
  // The collision grids keep the ground heights in their layer 0 and the
  // solids of tile layer d in layer d + 1, so they have one layer more.
  const std::int64_t collisionLayers = layers + 1;
  RequireMapGridBudget(gridCells, GridCells(columns * perTile, rows * perTile, collisionLayers),
                       SectorGridCells(map.width, map.height, map.layerCount));
  map.workingCollision.Make(static_cast<std::int32_t>(columns * perTile),
                            static_cast<std::int32_t>(rows * perTile), static_cast<std::int32_t>(collisionLayers));
  map.staticCollision.Make(static_cast<std::int32_t>(columns * perTile),
                           static_cast<std::int32_t>(rows * perTile), static_cast<std::int32_t>(collisionLayers));

  for (TileLayerGroup& group : map.tileLayerGroups) {
    group.slotGrid.Make(static_cast<std::int32_t>(columns), static_cast<std::int32_t>(rows),
                        static_cast<std::int32_t>(layers));
    group.tileGrid.Make(static_cast<std::int32_t>(columns), static_cast<std::int32_t>(rows),
                        static_cast<std::int32_t>(layers));
    group.slotCount = BufferReadByte(buffer, offset);
    group.slotTileSets.assign(group.slotCount, -1);
    group.slotIds.assign(group.slotCount, Identifier());
    for (std::size_t slot = 0; slot < group.slotCount; ++slot) {
      group.slotIds[slot] = BufferReadIdentifier(buffer, offset);
      group.slotTileSets[slot] = FindTileSetById(group.slotIds[slot]);
    }
    // Column fastest, then row, then layer: the storage order of the grids.
    BufferReadBytes(buffer, group.slotGrid.cells.data(), static_cast<std::int32_t>(storedCells), offset);
    BufferReadBytes(buffer, group.tileGrid.cells.data(), static_cast<std::int32_t>(storedCells), offset);
  }
}

}  // namespace kiv
