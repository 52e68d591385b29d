#include "render/map_data_hooks.h"

namespace kiv {

MapDataHooks mapDataHooks;

void MapDataHooks::Reset() {
  UpdateTileCollision = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {};
  LightBlocked = [](std::int32_t, const LineSegment&, float) { return false; };
}

}  // namespace kiv
