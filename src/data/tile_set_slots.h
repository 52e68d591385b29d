#pragma once
// The tile-set slots of a map's tile-layer groups: a cell of a group names its
// tile set by slot (1 to 255, 0 none).
#include <cstdint>

namespace kiv {

// The slot of tileSet in group (0, 1 or 2) of the map; with add a tile set
// without a slot gets the next one. Returns 0 for a negative tile set, when
// there is no slot and add is off, or when the group already has 255 slots
// (the "Tile-Set Error" box is shown the first time in the run).
std::uint8_t MapTileSetSlot(std::int32_t map, std::int32_t group, std::int32_t tileSet, bool add);
// The same for a map record that is not (yet) in the maps table.
struct Map;
std::uint8_t MapTileSetSlot(Map& map, std::int32_t group, std::int32_t tileSet, bool add);

// Whether the slot-limit box has been shown in this run. Only tests clear it.
extern bool tileSetLimitShown;

}  // namespace kiv
