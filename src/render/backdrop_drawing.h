#pragma once
// A map's backdrop (a vertical colour gradient and sprite layers that scroll
// with the camera by a parallax share, move on their own and may repeat) and
// the projectiles in flight.
#include <array>
#include <cstdint>

#include "render/map_view.h"

namespace kiv {

inline constexpr std::int32_t kBackdropBackground = 0;
inline constexpr std::int32_t kBackdropForeground = 1;

// which 0 draws the gradient and background layers, 1 the foreground layers;
// (x, y, width, height) is the view's screen rectangle in pixels.
void DrawMapBackdrop(std::int32_t map, std::int32_t which, float x, float y, float width, float height,
                     const MapView& view);

// On an interface only the projectiles whose layer (Int of z) is layer, placed
// in the screen rectangle; on a map those that reach the visible world
// rectangle viewRect (left, top, right, bottom). drawMode is the view's
// sprite drawing mode.
void DrawProjectiles(std::int32_t map, std::int32_t layer, float x, float y, float width, float height,
                     const MapView& view, std::int32_t drawMode, const std::array<double, 4>& viewRect);

// Where the copy (i, j) of a layer lies inside the wrapped span: the Int of
// the unwrapped position, wrapped into 0 .. (Ceiling(extent / frame) + 2) x frame.
std::int32_t BackdropCopyPosition(double half, std::int32_t index, std::int32_t frame, float speed,
                                  std::int32_t elapsed, float parallax, float camera, float extent);

}  // namespace kiv
