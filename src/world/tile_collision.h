#pragma once
// Tile collision: a map's tiles become bytes of its static collision grid
// (ground heights in layer 0, solid parts of tile layer d in layer d + 1) and
// TileCollisionEntry records kept in the sector grid, so that move and line
// tests look only at the entries near them.
#include <cstdint>

#include "data/map_record.h"
#include "mathkiv/placement.h"

namespace kiv {

inline constexpr float kNoHeight = 3.4028230e38f;

// True when the shape has any box, polygon or extra entry.
bool ShapeHasParts(const CollisionShape& shape);

// Rebuilds one tile cell, or the whole map when any coordinate is negative.
void UpdateTileCollision(std::int32_t map, std::int32_t tileX, std::int32_t tileY, std::int32_t layer);

// The placement of an entry with its origin as pivot: the entry turns about
// the centre of its tile, as GetCollisionRect's tile-entry mode places it.
ShapePlacement TileEntryPlacement(const TileCollisionEntry& entry);

// Height of the ground at a pixel inside tile (cx, cy) from the tile's four
// corner heights; fx and fy are the fractions across the tile.
float BilinearHeight(const Map& map, std::int32_t cx, std::int32_t cy, float fx, float fy);

// The inclusive range of valid sectors (column, row, level) of the map.
bool ValidSector(const Map& map, std::int32_t sx, std::int32_t sy, std::int32_t sz);

}  // namespace kiv
