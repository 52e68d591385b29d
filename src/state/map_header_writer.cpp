#include <algorithm>

#include "core/data_buffer.h"
#include "data/lists.h"
#include "state/map_section_writers.h"
#include "state/save_references.h"

namespace kiv {

namespace {

// Writes count cells of the grid in its storage order. A grid that holds fewer
// cells than the map's size asks for (one never made) is padded with zeros so
// that the section keeps the length the reader expects.
void WriteGridCells(ByteList& buffer, std::int32_t& offset, const ByteGrid3& grid, std::int64_t count) {
  const auto held = static_cast<std::int64_t>(grid.cells.size());
  const std::int64_t copied = std::min(held, count);
  if (copied > 0) BufferWriteBytes(buffer, grid.cells.data(), static_cast<std::int32_t>(copied), offset);
  for (std::int64_t i = copied; i < count; ++i) BufferWriteByte(buffer, 0, offset);
}

void WriteTileLayerGroup(ByteList& buffer, std::int32_t& offset, const TileLayerGroup& group,
                         std::int64_t cells) {
  BufferWriteByte(buffer, group.slotCount, offset);
  for (std::size_t slot = 0; slot < group.slotCount; ++slot) {
    const std::int32_t index = slot < group.slotTileSets.size() ? group.slotTileSets[slot] : -1;
    const Identifier kept = slot < group.slotIds.size() ? group.slotIds[slot] : Identifier();
    WriteReference(buffer, offset, SaveTable::kTileSet, index, kept);
  }
  WriteGridCells(buffer, offset, group.slotGrid, cells);
  WriteGridCells(buffer, offset, group.tileGrid, cells);
}

}  // namespace

void WriteMapHeader(Map& map, ByteList& buffer, std::int32_t& offset) {
  BufferWriteIdentifier(buffer, map.id, offset);
  BufferWriteString(buffer, map.linkedMap.name, offset);
  BufferWriteString(buffer, map.displayName, offset);
  map.displayNameWorking = map.displayName;
  BufferWriteLong(buffer, map.headerValue, offset);
  WritePropertyList(buffer, offset, map.properties);

  std::vector<ScriptVariable> actorVariables;
  for (const Actor& actor : map.actors)
    actorVariables.insert(actorVariables.end(), actor.variables.begin(), actor.variables.end());
  WritePropertyList(buffer, offset, actorVariables);

  BufferWriteLong(buffer, map.width, offset);
  BufferWriteLong(buffer, map.height, offset);
  BufferWriteLong(buffer, map.layerCount, offset);
  if (map.width < 0 || map.height < 0) return;

  const std::int64_t cells = (static_cast<std::int64_t>(map.width) + 1) * (static_cast<std::int64_t>(map.height) + 1) *
                             (static_cast<std::int64_t>(map.layerCount) + 1);
  for (const TileLayerGroup& group : map.tileLayerGroups) WriteTileLayerGroup(buffer, offset, group, cells);
}

}  // namespace kiv
