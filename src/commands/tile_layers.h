#pragma once
// Changing the tiles of a map while the game runs: a tile set throughout one
// tile-layer group, one tile throughout it, or the tile of one cell. Each
// changed cell is terraformed again (ground group only) and its tile collision
// rebuilt, so the change is seen and solid at once. The two flag bits of each
// changed tile byte stay.
#include <cstdint>

namespace kiv {

// Groups: 0 ground or wall, 1 lower object, 2 upper object. Cells are visited
// by x, then y, then layer.
void SwitchTileSetInLayer(std::int32_t map, std::int32_t group, std::int32_t fromSet, std::int32_t toSet);
void SwitchTileInLayer(std::int32_t map, std::int32_t group, std::int32_t fromSet, std::uint8_t fromTile,
                       std::int32_t toSet, std::uint8_t toTile);
// A cell outside the map's grid is error 9. A tile set of -1 empties the cell.
void SetTileInLayer(std::int32_t map, std::int32_t group, std::int32_t tileSet, std::uint8_t tile, std::int32_t x,
                    std::int32_t y, std::int32_t layer);

}  // namespace kiv
