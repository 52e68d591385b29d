#include "data/map_grid_budget.h"

#include "core/error.h"
#include "data/map_record.h"

namespace kiv {

namespace {

constexpr std::int64_t kTileGrids = 2 * kTileLayerGroupCount;
constexpr std::int64_t kCollisionGrids = 2;
constexpr std::int64_t kSectorCellBytes = sizeof(SectorCell);

}  // namespace

void RaiseInvalidMapSize() { RaiseError(kErrData, "Invalid map size."); }

void RequireMapGridBudget(std::int64_t tileGridCells, std::int64_t collisionGridCells,
                          std::int64_t sectorCells) {
  // Each term is bounded alone first, so that neither a product nor the sum wraps.
  if (tileGridCells > kMaxMapGridBytes / kTileGrids ||
      collisionGridCells > kMaxMapGridBytes / kCollisionGrids ||
      sectorCells > kMaxMapGridBytes / kSectorCellBytes) {
    RaiseInvalidMapSize();
  }
  const std::int64_t bytes =
      tileGridCells * kTileGrids + collisionGridCells * kCollisionGrids + sectorCells * kSectorCellBytes;
  if (bytes > kMaxMapGridBytes) RaiseInvalidMapSize();
}

}  // namespace kiv
