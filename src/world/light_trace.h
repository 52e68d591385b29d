#pragma once
// The segment test of the light maps: only closed doors and the map's
// boundaries stop light.
#include <cstdint>

#include "mathkiv/placement.h"

namespace kiv {

bool LightSegmentBlocked(std::int32_t map, const LineSegment& segment, float z);

}  // namespace kiv
