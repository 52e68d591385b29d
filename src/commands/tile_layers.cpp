#include "commands/tile_layers.h"

#include "core/error.h"
#include "data/game_data.h"
#include "data/tile_set_slots.h"
#include "render/terraformation.h"
#include "world/tile_collision.h"

namespace kiv {

namespace {

constexpr std::uint8_t kTileNumberBits = 63;
constexpr std::uint8_t kTileFlagBits = 192;

TileLayerGroup& Group(std::int32_t map, std::int32_t group) {
  if (group < 0 || group >= kTileLayerGroupCount) RaiseError(kErrIndex, "Subscript out of range");
  return gameData.maps[map].tileLayerGroups[static_cast<std::size_t>(group)];
}

void RefreshCell(std::int32_t map, std::int32_t group, std::int32_t x, std::int32_t y, std::int32_t layer) {
  if (group == 0) TerraformArea(map, x, y, layer);
  UpdateTileCollision(map, x, y, layer);
}

// The slot a tile set is to be written with; false when the group's slot table
// is full, where the cells keep what they show rather than losing their tiles.
bool TargetSlot(std::int32_t map, std::int32_t group, std::int32_t tileSet, std::uint8_t& slot) {
  slot = MapTileSetSlot(map, group, tileSet, true);
  return slot != 0 || tileSet < 0;
}

// Runs change(x, y, layer) on every cell of the group's slot grid whose slot
// is `slot`, by x, then y, then layer; the change says whether it changed the cell.
template <typename Change>
void ForCellsOfSlot(std::int32_t map, std::int32_t group, std::uint8_t slot, Change change) {
  const Map& record = gameData.maps[map];
  const std::int32_t width = record.width;
  const std::int32_t height = record.height;
  const std::int32_t layers = record.layerCount;
  for (std::int32_t x = 0; x <= width; ++x) {
    for (std::int32_t y = 0; y <= height; ++y) {
      for (std::int32_t layer = 0; layer <= layers; ++layer) {
        TileLayerGroup& cells = Group(map, group);
        if (x >= cells.slotGrid.columns || y >= cells.slotGrid.rows || layer >= cells.slotGrid.layers) continue;
        if (cells.slotGrid.At(x, y, layer) != slot) continue;
        if (change(cells, x, y, layer)) RefreshCell(map, group, x, y, layer);
      }
    }
  }
}

}  // namespace

void SwitchTileSetInLayer(std::int32_t map, std::int32_t group, std::int32_t fromSet, std::int32_t toSet) {
  if (fromSet == toSet) return;
  const std::uint8_t from = MapTileSetSlot(map, group, fromSet, false);
  if (from == 0) return;
  const std::uint8_t to = MapTileSetSlot(map, group, toSet, false);
  if (to != 0) {
    ForCellsOfSlot(map, group, from, [to](TileLayerGroup& cells, std::int32_t x, std::int32_t y, std::int32_t layer) {
      cells.slotGrid.At(x, y, layer) = to;
      return true;
    });
    return;
  }
  // The target set takes over the old slot: the slot count stays as it was.
  TileLayerGroup& cells = Group(map, group);
  const auto entry = static_cast<std::size_t>(from - 1);
  if (entry < cells.slotTileSets.size()) cells.slotTileSets[entry] = toSet;
  if (entry < cells.slotIds.size() && toSet >= 0 && static_cast<std::size_t>(toSet) < gameData.tileSets.size()) {
    cells.slotIds[entry] = gameData.tileSets[static_cast<std::size_t>(toSet)].id;
  }
  ForCellsOfSlot(map, group, from, [](TileLayerGroup&, std::int32_t, std::int32_t, std::int32_t) { return true; });
}

void SwitchTileInLayer(std::int32_t map, std::int32_t group, std::int32_t fromSet, std::uint8_t fromTile,
                       std::int32_t toSet, std::uint8_t toTile) {
  if (fromSet == toSet && fromTile == toTile) return;
  const std::uint8_t from = MapTileSetSlot(map, group, fromSet, false);
  if (from == 0) return;
  std::uint8_t to = 0;
  if (!TargetSlot(map, group, toSet, to)) return;
  ForCellsOfSlot(map, group, from,
                 [=](TileLayerGroup& cells, std::int32_t x, std::int32_t y, std::int32_t layer) {
                   std::uint8_t& tileByte = cells.tileGrid.At(x, y, layer);
                   if ((tileByte & kTileNumberBits) != fromTile) return false;
                   cells.slotGrid.At(x, y, layer) = to;
                   tileByte = static_cast<std::uint8_t>(toTile | (tileByte & kTileFlagBits));
                   return true;
                 });
}

void SetTileInLayer(std::int32_t map, std::int32_t group, std::int32_t tileSet, std::uint8_t tile, std::int32_t x,
                    std::int32_t y, std::int32_t layer) {
  {
    const TileLayerGroup& cells = Group(map, group);
    if (x < 0 || y < 0 || layer < 0 || x >= cells.slotGrid.columns || y >= cells.slotGrid.rows ||
        layer >= cells.slotGrid.layers || x >= cells.tileGrid.columns || y >= cells.tileGrid.rows ||
        layer >= cells.tileGrid.layers) {
      RaiseError(kErrIndex, "Subscript out of range");
    }
  }
  std::uint8_t slot = 0;
  if (!TargetSlot(map, group, tileSet, slot)) return;
  TileLayerGroup& cells = Group(map, group);
  cells.slotGrid.At(x, y, layer) = slot;
  std::uint8_t& tileByte = cells.tileGrid.At(x, y, layer);
  tileByte = static_cast<std::uint8_t>((tileByte & kTileFlagBits) | tile);
  RefreshCell(map, group, x, y, layer);
}

}  // namespace kiv
