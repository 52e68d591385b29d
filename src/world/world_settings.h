#pragma once
// The project settings that the collision code reads.
#include <cstdint>

namespace kiv {

// Pixels between path-finding grid points, and the grid's origin.
std::int32_t PathCellSize();
std::int32_t PathGridOrigin();
// Option flags of the project: walls eight layers tall, and blocking zones
// left out of the zone hits.
bool TallWalls();
bool QuietBlockingZones();

}  // namespace kiv
