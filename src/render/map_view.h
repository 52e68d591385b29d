#pragma once
// The view record that map drawing builds for one view and hands to the
// drawing of sprites: viewport, matrices, camera and the kind of view.
#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace kiv {

struct MapView {
  gfx::Viewport viewport;
  gfx::Matrix world;
  gfx::Matrix view;
  gfx::Matrix projection;
  gfx::Vector3 eye;          // camera position
  gfx::Vector3 up{0, 0, 1};  // camera up vector
  std::int32_t screenView = 0;  // 0 the 45-degree view, 2 views without a map
  bool perspective = false;     // the view field's perspective projection
  std::int32_t viewMode = 0;    // the map's view mode; 1 and 5 take the camera's up for billboards
};

}  // namespace kiv
