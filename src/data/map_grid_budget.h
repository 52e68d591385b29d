#pragma once
// The memory the grids of one map may take: six tile grids (two per tile-layer
// group), two collision grids and the sector grid. The readers check the sizes
// a file asks for against it before anything is allocated, so that a crafted
// size is refused instead of costing gigabytes.
#include <cstdint>

namespace kiv {

// All grids of one map together. A map as large as any editor makes (tens of
// millions of tiles) stays well within it.
inline constexpr std::int64_t kMaxMapGridBytes = std::int64_t{1} << 30;

// A map that stores no tile cells (either size negative, or no layers) has
// nothing in its file behind its sector grid: it gets this many cells (11 MB),
// more than a map without tiles can use.
inline constexpr std::int64_t kMaxSectorCellsWithoutTiles = 65536;

// Error -1 "Invalid map size.".
[[noreturn]] void RaiseInvalidMapSize();

// Raises "Invalid map size." when grids of these cell counts (each tile grid,
// each collision grid and the sector grid, all 0 or more) pass the budget.
void RequireMapGridBudget(std::int64_t tileGridCells, std::int64_t collisionGridCells,
                          std::int64_t sectorCells);

}  // namespace kiv
