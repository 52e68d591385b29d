#pragma once
// A per-cell random value for map tiles: the same cell and salt always give the
// same value, so drawn variation (offsets, tints, flips) and the collision that
// must match it stay put from frame to frame and from run to run.
#include <cstdint>

namespace kiv {

// A value in [0, 1) that depends only on the arguments, evenly spread over the
// range. It keeps no state and leaves the game's shared generator untouched.
float TileRandom(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t salt);

}  // namespace kiv
