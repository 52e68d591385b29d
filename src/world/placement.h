#pragma once
// A character's height above the floor, its place on the path-finding grid,
// and its move to another place of its map or to another map.
#include <cstdint>

namespace kiv {

inline constexpr float kUnknownFloor = -3.4028230e38f;

void UpdateCharacterFloorHeight(std::int32_t map, std::int32_t actor);

// CLng((v - origin) / cell) * cell + origin; false when the cell size is below 1.
bool SnapToPathGrid(double v, std::int32_t& snapped);

// Moves the character to the nearest free grid point (the point itself, then
// the ring around it, then the ring a tile wide); false, and the position
// unchanged, when none is free.
bool SnapCharacterToGrid(std::int32_t map, std::int32_t actor, std::int32_t ignoredActor);

// Moves a character within its map or to another map; returns its index in toMap.
std::int32_t SetCharacterPosition(std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty,
                                  bool skipMapTrigger);

}  // namespace kiv
