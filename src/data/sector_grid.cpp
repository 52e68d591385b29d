#include "data/sector_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/error.h"
#include "core/math_util.h"
#include "data/broad_phase.h"

namespace kiv {

namespace {

// The last cell index that covers (lastIndex + 1) units of 32.
std::int32_t LastSector(std::int32_t lastIndex) {
  const std::int64_t last = ((static_cast<std::int64_t>(lastIndex) + 1) * 32 - 1) / kSectorSize;
  return static_cast<std::int32_t>(std::max<std::int64_t>(last, 0));
}

// Int() of a position. NaN lies nowhere: it gives a value outside every grid.
std::int32_t FloorToInt(float value) {
  if (std::isnan(value)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(
      std::clamp(std::floor(static_cast<double>(value)), -2147483648.0, 2147483647.0));
}

[[noreturn]] void RaiseOutsideGrid() { RaiseError(kErrIndex, "Subscript out of range"); }

}  // namespace

SectorCell& SectorGrid::At(std::int32_t column, std::int32_t row, std::int32_t level) {
  if (column < 0 || column >= columns || row < 0 || row >= rows || level < 0 || level >= levels)
    RaiseOutsideGrid();
  return cells[(static_cast<std::size_t>(level) * static_cast<std::size_t>(rows) +
                static_cast<std::size_t>(row)) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column)];
}

std::int64_t SectorGridCells(std::int32_t width, std::int32_t height, std::int32_t layerCount) {
  // At most 2^29 a side, so the area cannot wrap; the volume can.
  const std::int64_t area = (static_cast<std::int64_t>(LastSector(width)) + 1) * (LastSector(height) + 1);
  const std::int64_t levels = static_cast<std::int64_t>(LastSector(layerCount)) + 1;
  if (levels > std::numeric_limits<std::int64_t>::max() / area)
    return std::numeric_limits<std::int64_t>::max();
  return area * levels;
}

void BuildSectorGrid(Map& map) {
  if (!map.sectorGridBuilt) {
    SectorGrid& grid = map.sectorGrid;
    // A count beyond what a vector can hold fails the allocation (error 7
    // where loads report errors) rather than wrapping into a smaller grid.
    const std::int64_t cells = SectorGridCells(map.width, map.height, map.layerCount);
    grid.cells.assign(static_cast<std::size_t>(cells), SectorCell());
    grid.columns = LastSector(map.width) + 1;
    grid.rows = LastSector(map.height) + 1;
    grid.levels = LastSector(map.layerCount) + 1;
  }
  // Cell lists grow on demand, so a built grid needs no re-sizing.
  MarkBroadPhaseDirty(map);
  map.sectorGridBuilt = true;
}

void SectorListAddRemove(std::vector<std::int32_t>& list, std::int32_t value, bool remove) {
  const auto found = std::find(list.rbegin(), list.rend(), value);
  if (remove) {
    if (found != list.rend()) list.erase(std::next(found).base());
  } else if (found == list.rend()) {
    list.push_back(value);
  }
}

void SectorGridAddLight(Map& map, std::int32_t light, float x, float y, float z, std::int32_t radius,
                        bool remove) {
  SectorGrid& grid = map.sectorGrid;
  if (grid.cells.empty()) return;
  auto range = [radius](float centre, std::int32_t last, std::int32_t& from, std::int32_t& to) {
    from = std::clamp(RoundToLong(static_cast<double>(centre) - radius) / kSectorSize, 0, last);
    to = std::clamp(RoundToLong(static_cast<double>(centre) + radius) / kSectorSize, 0, last);
  };
  std::int32_t c0, c1, r0, r1, l0, l1;
  range(x, grid.columns - 1, c0, c1);
  range(y, grid.rows - 1, r0, r1);
  range(z, grid.levels - 1, l0, l1);
  for (std::int32_t c = c0; c <= c1; ++c) {
    for (std::int32_t r = r0; r <= r1; ++r) {
      for (std::int32_t l = l0; l <= l1; ++l) SectorListAddRemove(grid.At(c, r, l).lights, light, remove);
    }
  }
}

void SectorGridAddDoorAt(Map& map, std::int32_t door, float x, float y, float z, bool remove) {
  SectorGrid& grid = map.sectorGrid;
  const std::int32_t pixelY = FloorToInt(y);
  const std::int32_t column = FloorToInt(x) / kSectorSize;
  std::int32_t row = static_cast<std::int32_t>((static_cast<std::int64_t>(pixelY) + 32) / kSectorSize);
  // A NaN height places the door at height 0, as rounding does elsewhere.
  const std::int32_t level = FloorToInt(std::isnan(z) ? 0.0f : z) / kSectorSize;
  // The row is taken 32 units below the door; on the bottom tile row of a map
  // whose height is a multiple of 4 tiles that passes the last row.
  const std::int64_t mapPixelHeight = (static_cast<std::int64_t>(map.height) + 1) * 32;
  if (row == grid.rows && pixelY >= 0 && pixelY < mapPixelHeight) row = grid.rows - 1;
  SectorListAddRemove(grid.At(column, row, level).doors, door, remove);
}

}  // namespace kiv
