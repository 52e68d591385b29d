#pragma once
// Collision shapes of doors and of a character's front probe, and the
// footprint box of an object with the sizes taken from it.
#include <cstdint>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "data/actor_record.h"

namespace kiv {

// A shape of one box (identity rotation).
CollisionShape BoxShapeOf(const Box& box);

// A door leaf on its 32-pixel tile for an open style and an open amount
// (-1..1). Styles above 20 take the closed leaf of style 0.
void DoorShapeForStyle(std::uint8_t openStyle, float openAmount, CollisionShape& shape);
void BuildDoorCollisionShape(std::int32_t map, std::int32_t door, float openAmount, CollisionShape& shape);

// The object's shape placed so (rotation about the position) and boxed.
void ActorCollisionRectAt(const Actor& actor, float x, float y, float z, float rotationX, float rotationY,
                          float rotationZ, float scaleX, float scaleY, float scaleZ, Box& box);
// At the object's own placement: rotation x 0, its rotation y and heading, its scale.
void ActorCollisionRect(const Actor& actor, Box& box);
// The footprint of grid walking at (x, y, z): the shape boxed with its tilt
// and scale but not turned by the heading. Path planning and the step test
// both use it, so every planned step fits the test that takes it; a turned
// footprint would widen on diagonals (24 x 24 becomes about 34 x 34) and
// refuse steps that were planned beside an obstacle.
void WalkingFootprintAt(const Actor& actor, float x, float y, float z, Box& box);
// Height of the shape's box at the origin, unturned and unscaled.
std::int32_t ActorShapeHeight(const Actor& actor);
// Half the larger side of that box.
std::int32_t FootprintHalfSize(const Actor& actor);

// Rebuilds the front probe one footprint ahead along the heading, and whether
// the character could climb what blocks it (not a character, and free 48 px up).
void ResetActorCollision(std::int32_t map, std::int32_t actor);

}  // namespace kiv
