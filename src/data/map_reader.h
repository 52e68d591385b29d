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
// three tile-layer groups with their slots resolved against tileSets. Sizes
// whose grids the file does not hold or that pass the grid budget of a map
// (data/map_grid_budget.h) raise -1 "Invalid map size." before any grid is made.
void ReadMapHeader(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map);

// Reads the properties section into map.
void ReadMapProperties(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                       bool savedState);

// Reads the object lists of the body into map (mapIndex is the index it has or
// will have in the maps table), converting the sections of old formats, and
// chooses an interface's screen layout. isSave reads the save-only sections.
void ReadMapBodySections(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                         std::int32_t mapIndex, bool isSave);
// What follows every read of a body, on the map in the table: linking, the
// selected field kept within the fields, door openings and, outside saves, the
// map's references to other maps.
void FinishMapBody(std::int32_t mapIndex, bool isSave);
// Both, for a map already in the table.
void ReadMapBody(const ByteList& buffer, std::int32_t& offset, std::int32_t version, std::int32_t mapIndex,
                 bool isSave);

}  // namespace kiv
