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
// Option flag 11: path-finding ignores heights (every height it hands on is 0).
bool FlatMovement();

}  // namespace kiv
