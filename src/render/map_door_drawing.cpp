// Doors of a map, lit by the light grid at their foot; in a pick pass they
// paint colour 0 and so hide what lies behind them from the pointer.
#include <algorithm>
#include <cstdint>

#include "core/math_util.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "mathkiv/colors.h"
#include "media/device_reset.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "platform/gfx/d3d_types.h"
#include "render/door_drawing.h"
#include "render/map_object_drawing.h"

namespace kiv {

namespace {

constexpr float kMarginLeft = 32, kMarginUp = 64, kMarginRight = 64, kMarginDown = 128;
constexpr float kDoorRise = 64;  // a door stands on the row below its position
constexpr std::int32_t kDoorWidth = 32;
constexpr float kDoorHeight = 64;
constexpr float kCellsAcross = 8, kCellsDown = 4;

}  // namespace

std::uint32_t DoorLightColor(const Map& map, float x, float y, float z) {
  const CornerColorGrid& grid = map.lightGrid;
  if (grid.columns < 1 || grid.rows < 1 || grid.layers < 1) return 0xFFFFFFFFu;
  // A door on the last rows or outside the map takes the nearest corner of the grid.
  const std::int32_t column = std::clamp(RoundToLong(x) / 32, 0, grid.columns - 1);
  const std::int32_t row = std::clamp(RoundToLong(y) / 32 + 2, 0, grid.rows - 1);
  const std::int32_t layer = std::clamp(RoundToLong(z) / 32, 0, grid.layers - 1);
  return grid.At(column, row, layer);
}

void DrawDoors(const MapDrawStep& step) {
  const std::int32_t map = step.map;
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  const Map& record = gameData.maps[map];
  DrawDevice& device = CurrentDrawDevice();
  if (renderHooks.PickPassMode() != 0)
    device.SetRenderState(gfx::kRsTextureFactor, ColorForFormat(graphics.pickTargetFormat, 0));
  device.SetDepthLayer(0);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
  const auto doorSets = static_cast<std::int32_t>(gameData.doorSets.size());
  for (const Door& door : record.doors) {
    if (DoorNoDraw(door) || door.doorSet < 0 || door.doorSet >= doorSets) continue;
    if (OutsideVisibleRect(door.x, door.y, kMarginLeft, kMarginUp, kMarginRight, kMarginDown, step.visibleRect))
      continue;
    const float u1 = static_cast<float>(DoorTileX(door)) / kCellsAcross;
    const float v1 = static_cast<float>(DoorTileY(door)) / kCellsDown;
    const float u2 = static_cast<float>(DoorTileX(door) + 1) / kCellsAcross;
    const float v2 = static_cast<float>(DoorTileY(door) + 1) / kCellsDown;
    const std::uint32_t own = DoorColour(door);
    std::uint32_t colour = own, light = own;
    if (door.fullBright == 0) {
      const std::uint32_t l = DoorLightColor(record, door.x, door.y, door.z);
      colour = ColorModulate(own, l);
      light = (l & 0x00FFFFFFu) | (own & 0xFF000000u);
    }
    DrawDoor(door.doorSet, door.x, door.y + kDoorRise, door.z, u1, v1, u2, v2, colour, light, DoorSpecular(door),
             door.openStyle, door.openAmount, door.mirrorU != 0, door.mirrorV != 0, false, kDoorWidth, kDoorHeight);
  }
  device.SetDepthLayer(0);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
}

}  // namespace kiv
