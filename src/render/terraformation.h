#pragma once
// Automatic tiling of a map's ground tiles and the floor height grid of its
// pits. Every ground cell gets 16 piece bytes (side 0..3, quarter 0..3) in the
// ground group's terraform grid: 0 the plain tile, 255 a wall face hidden by
// a joining wall, else piece kind x 16 + rule position + 1. Quarters are 0
// top-left, 1 top-right, 2 bottom-left, 3 bottom-right; wall sides 0..3 look
// south, west, north and east.
#include <cstdint>

namespace kiv {

// The floor height of a map without pits and without a flat floor: the bits
// 0xFF7FFFFD, -3.4028230607370965e38.
inline constexpr std::uint32_t kNoFloorHeightBits = 0xFF7FFFFDu;

// Pieces and floor heights of one map, or of every map for -1. Maps with a
// negative last column or row are left alone.
void GenerateTerraformation(std::int32_t map);

// The pieces of the cells x-1..x+1, y-1..y+1, layer-1..layer+1 within the
// map, after a script changed a tile; the height grid stays as it is.
void TerraformArea(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t layer);

// The 16 piece bytes of one cell. An empty cell, a cell of no tile set or of
// a tile the set does not have keeps its bytes.
void TerraformCell(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t layer);

}  // namespace kiv
