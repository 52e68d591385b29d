#pragma once
// Drawing one map or interface into the current scene: the view (the whole
// back buffer for an interface, the camera of a view field for a map), the
// transforms and shader constants, fog, the backdrop and tiles, and the order
// of the steps that draw the objects, fields and weather on top.
#include <array>
#include <cstdint>

#include "render/render_hooks.h"

namespace kiv {

// The part of the map that the last view drawn can see, in tiles.
struct MapTileWindow {
  std::int32_t firstColumn = 0;
  std::int32_t firstRow = 0;
  std::int32_t columnCount = 0;
  std::int32_t rowCount = 0;
  std::int32_t riseRows = 0;       // rows the camera height adds above the view (0 or less normally)
  std::int32_t rowCountBelow = 0;  // rowCount - Min(riseRows, 0)
};
extern MapTileWindow tileWindow;

// The scale of every view; 1.0 in the player.
extern float viewScale;

// The visible rectangle (map pixels: left, top, right, bottom) of a view of
// width x height pixels whose camera sits at (cameraX, cameraY, cameraZ), and
// its tile window. A "45" view inside a view field also takes in the rows
// that raised layers lean into it from below.
struct VisibleArea {
  std::array<std::int32_t, 4> rect{};
  MapTileWindow window;
};
VisibleArea ComputeVisibleArea(std::int32_t width, std::int32_t height, std::int32_t cameraX, std::int32_t cameraY,
                               std::int32_t cameraZ, float scale, bool fortyFiveView, std::int32_t lastLayer);

// Draws tile group `group` of the step's map through its view and the
// current tile window; the shadow pass lays the tiles' shadows on the ground.
void DrawMapTileGroup(const MapDrawStep& step, std::int32_t group, bool shadowPass);

// Draws map (-1: nothing) with its view at screen pixel (x, y). An interface
// drawn for itself passes parent map and view field -1 and size -1, -1 (the
// whole back buffer); a map shown in a view field passes the field's map and
// index and the field's rectangle.
void DrawMap(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t parentMap, std::int32_t viewField,
             std::int32_t width, std::int32_t height);

}  // namespace kiv
