#include "kivplay_dump_maps.h"

#include <fmt/format.h>

#include <string>

#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/map_record.h"

namespace kiv {

namespace {

nlohmann::json captured = nlohmann::json::array();

// The corner's colour as 0xAARRGGBB, null when the light map has no such corner.
nlohmann::json CornerColour(const Map& map, std::int32_t i, std::int32_t j, std::int32_t k) {
  const CornerColorGrid& grid = map.lightGrid;
  if (i < 0 || j < 0 || k < 0 || i >= grid.columns || j >= grid.rows || k >= grid.layers) return nullptr;
  return fmt::format("0x{:08X}", grid.At(i, j, k));
}

nlohmann::json MapEntry(std::int32_t index, const Map& map) {
  const std::int32_t midColumn = (map.width + 1) / 2, midRow = (map.height + 1) / 2;
  return {
      {"index", index},
      {"name", Utf16ToUtf8(map.fileName)},
      {"interface", map.isInterface},
      {"heldById", map.keptById},  // only its identifier is known: not loaded
      {"dataGenerated", map.mapDataPrepared},
      {"lights", map.lights.size()},
      {"ambient", fmt::format("0x{:08X}", map.ambientColor)},
      {"corners",
       {{"origin", CornerColour(map, 0, 0, 0)},
        {"middle", CornerColour(map, midColumn, midRow, 0)},
        {"far", CornerColour(map, map.width + 1, map.height + 1, map.layerCount + 1)}}},
  };
}

}  // namespace

void CaptureMapData() {
  captured = nlohmann::json::array();
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) captured.push_back(MapEntry(m, gameData.maps[m]));
}

nlohmann::json CapturedMapData() { return captured; }

}  // namespace kiv
