#pragma once
// The sector grid of a map: cubic cells of 128 world units (a tile is 32), each
// listing the objects that lie in or reach into it, so that queries by position
// look only at nearby objects.
#include <cstdint>
#include <vector>

#include "data/map_record.h"

namespace kiv {

inline constexpr std::int32_t kSectorSize = 128;

// The number of cells of the sector grid of a map of these last indexes; sizes
// whose count passes the 64-bit range give the largest 64-bit value.
std::int64_t SectorGridCells(std::int32_t width, std::int32_t height, std::int32_t layerCount);

// Creates the grid once (columns, rows and levels cover the map's tiles and
// layers); a built grid keeps its entries.
void BuildSectorGrid(Map& map);

// Adds value when absent, or with remove takes it out; a list grows as needed.
void SectorListAddRemove(std::vector<std::int32_t>& list, std::int32_t value, bool remove);

// Enters (or takes out) a light in every cell its radius reaches, clamped into the grid.
void SectorGridAddLight(Map& map, std::int32_t light, float x, float y, float z, std::int32_t radius,
                        bool remove);

// Enters (or takes out) a door in the cell of its position, taken 32 units below
// it. A door on the bottom tile row whose shifted row falls one past the grid
// goes into the last row; a door outside the map (or at an undefined x or y)
// raises error 9, and an undefined (NaN) height counts as 0.
void SectorGridAddDoorAt(Map& map, std::int32_t door, float x, float y, float z, bool remove);

}  // namespace kiv
