#pragma once
// The Bullet System of the world update: every projectile of a map once per
// tick, from the last to the first, with homing, flight, damage pulses, world
// hits and bounces, charges waiting for their trigger, falling, and the change
// of a spent projectile into its explosion.
#include <cstdint>

namespace kiv {

void RunBulletSystem(std::int32_t map);

// The vertical speed a projectile at rest is given so that it keeps falling:
// the smallest negative Single (bits 0x80000001).
float RestingVerticalSpeed();

}  // namespace kiv
