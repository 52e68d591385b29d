#pragma once
// What map preparation needs of the world library, which is built above the
// drawing library: the collision entries of tile cells and the segment test
// that lets closed doors and the map's boundaries block light. Start-up
// installs them; the defaults build nothing and block nothing.
#include <cstdint>
#include <functional>

#include "mathkiv/placement.h"

namespace kiv {

struct MapDataHooks {
  // Rebuilds the collision entries of one tile cell, or of every cell when any index is negative.
  std::function<void(std::int32_t map, std::int32_t column, std::int32_t row, std::int32_t layer)>
      UpdateTileCollision;
  // True when a closed door or a boundary of the map lies on the segment at height z.
  std::function<bool(std::int32_t map, const LineSegment& segment, float z)> LightBlocked;

  MapDataHooks() { Reset(); }
  void Reset();
};

extern MapDataHooks mapDataHooks;

}  // namespace kiv
