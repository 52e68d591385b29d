#pragma once
// The camera of a view field: which map it shows, the point it follows (with
// pans and shakes), the scroll of the view over that map, the 3-D audio
// listener, and the viewport and matrices that map drawing uses.
#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace kiv {

struct Field;

// What SetupFieldCamera gives its caller. The viewport is cut to the back
// buffer and may come out empty (width or height below 1).
struct FieldCamera {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  float minZ = 0.0f, maxZ = 1.0f;
  gfx::Matrix world, view, projection;
  gfx::Vector3 eye;
  gfx::Vector3 up;
  float range = 0.0f;  // perspective views only
};

// The map position of the top-left corner of the last view set up, and the
// same in whole pixels (halves to even).
struct ViewScroll {
  float scrollX = 0.0f, scrollY = 0.0f, scrollZ = 0.0f;
  std::int32_t scrollPixelX = 0, scrollPixelY = 0, scrollPixelZ = 0;
  void Reset() { *this = ViewScroll(); }
};
extern ViewScroll viewScroll;

// Screen views: 0 "45", 1 "top", 2 "front", 3 "side"; 4 (the free 3-D view's
// name) is taken as 0; any other value changes nothing.
void SetFieldScreenView(Field& field, std::int32_t view);

// The map the view shows: its own map, else the current map of the player it
// follows when that player exists, else -1.
std::int32_t FieldViewMap(const Field& field);

// The point the view looks at; returns FieldViewMap and leaves x, y, z alone
// when that is -1. Without a followed character the point is the map's
// centre at the height passed in. A running pan moves the point.
std::int32_t FieldViewFocus(Field& field, float& x, float& y, float& z);

// The scroll of a view of the given size (-1, -1: the back buffer) over the
// map, and the audio listener at the centre of the screen.
void UpdateViewScroll(Field& field, std::int32_t map, std::int32_t width, std::int32_t height);

// The complete camera of the view whose rectangle starts at screen pixel
// (x, y); width and height -1, -1 become the back buffer's size. The field
// keeps a copy of the viewport and the matrices.
void SetupFieldCamera(Field& field, std::int32_t x, std::int32_t y, std::int32_t& width, std::int32_t& height,
                      FieldCamera& camera);

}  // namespace kiv
