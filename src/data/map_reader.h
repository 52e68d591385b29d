#pragma once
// The sections of a map or interface file after its resource header: the
// header (size, tile layers), the properties and the body. Saves read the same
// sections with the saved-state flag set.
#include <cstdint>

#include "core/byte_list.h"
#include "data/map_record.h"

namespace kiv {

// Reads the header section into map: identifiers, names, size, the collision
// grids (sized by dataSettings.gridCellSize, which must be above 0) and the
// three tile-layer groups with their slots resolved against tileSets.
void ReadMapHeader(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map);

// Reads the properties section into map.
void ReadMapProperties(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                       bool savedState);

// Reads the body: the object lists. Only maps without objects are read so far;
// a map with objects is refused.
void ReadMapBody(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, bool isSave);

// The index of the first tile set or sound set with the identifier; when none
// has it, -1 for an all-zero identifier and -2 otherwise.
std::int32_t FindTileSetIndex(const Identifier& id);
std::int32_t FindSoundSetIndex(const Identifier& id);

}  // namespace kiv
