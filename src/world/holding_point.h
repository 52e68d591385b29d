#pragma once
// Where a character's projectiles leave from: a holding point of its body
// sprite, measured on a pose without drawing, relative to its position.
#include <array>
#include <cstdint>

namespace kiv {

// The offset (x, y, z) of the launch point for an item fired by a character,
// before the character's scale is applied.
std::array<std::int32_t, 3> LaunchHoldingPoint(std::int32_t map, std::int32_t shooter, std::int32_t item);

// Measures the holding points of one pose of a sprite set in a direction at
// a time into its animation; slot -1 takes the first one met. False when the
// pose has none in that slot. yaw turns the frame as drawing turns a set
// whose frames follow the heading.
bool MeasureHoldingPoint(std::int32_t spriteSet, std::int32_t pose, std::int32_t direction, std::int32_t time,
                         std::int32_t slot, std::array<std::int32_t, 3>& point, float yaw = 0.0f);

}  // namespace kiv
