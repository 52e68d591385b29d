#pragma once
// Spherical interpolation of rotations, as the animation of sprite parts
// uses it between two key frames.
#include "core/geometry.h"

namespace kiv {

// The rotation a fraction t of the way from a to b along the shorter arc (b is
// taken negated when the two point apart). Nearly equal rotations are blended
// linearly, since the arc is too short to divide by its sine. The result is
// not normalised, so unit inputs give unit outputs only up to rounding.
Quaternion InterpolateRotation(const Quaternion& a, const Quaternion& b, float t);

}  // namespace kiv
