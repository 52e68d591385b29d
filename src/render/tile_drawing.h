#pragma once
// Drawing one tile-layer group of a map: every visible cell becomes textured
// 3-D quads (or a model) in the shared 3-D batch, with per-corner light
// colours, per-cell variation, quarter transitions on the ground and flat
// translucent shadows in the shadow pass.
#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace kiv {

// The part of the map that the view shows, as map drawing sets it up.
struct TileViewWindow {
  std::int32_t firstColumn = 0;
  std::int32_t firstRow = 0;
  std::int32_t firstLayer = 0;
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;
  std::int32_t viewWidth = 0;  // pixels
  std::int32_t viewHeight = 0;
};

struct TileLayerArgs {
  std::int32_t map = 0;
  std::int32_t group = 0;  // 0 ground and walls, 1 lower objects, 2 upper objects
  bool shadowPass = false;
  gfx::Matrix world;       // the view field's world matrix
  std::int32_t is3D = 0;   // 1: the free 3-D view
  bool wholeMap = false;   // false: only the cells near the view
  TileViewWindow window;
};

inline constexpr std::uint32_t kTileShadowColor = 0x20000000;

void DrawTileLayer(const TileLayerArgs& args);

// The corner values of one quarter (0 top-left, 1 top-right, 2 bottom-left,
// 3 bottom-right) of a quad with corners a (top-left), b (top-right), c
// (bottom-left), d (bottom-right). The quad's centre is the mean of b and c.
// Another quarter number leaves the outputs as they were.
void QuarterCorners(std::int32_t quarter, float a, float b, float c, float d, float& outA, float& outB,
                    float& outC, float& outD);
void QuarterColors(std::int32_t quarter, std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                   std::uint32_t& outA, std::uint32_t& outB, std::uint32_t& outC, std::uint32_t& outD);

}  // namespace kiv
