#pragma once
// What objects showing a sprite set without a pose of their own read of it:
// the size, timing and shape of the set's first usable pose and direction
// (the one FindSpriteDirection gives).
#include <cstdint>

#include "core/record_codecs.h"

namespace kiv {

// Length in milliseconds of one pass of a direction's animation: (last frame
// + 1) x frame duration, read from the mirror direction when the pose draws
// this one as its mirror. A set, pose or direction outside its table raises
// error 9.
std::int32_t SpriteDirectionDuration(std::int32_t spriteSet, std::int32_t pose, std::int32_t direction);

// SpriteDirectionDuration of the first usable direction; 0 for a set below 0
// or one without poses; error 9 for a set beyond the table.
std::int32_t SpriteSetDuration(std::int32_t spriteSet);

// Width, height, frame duration and radius of the first usable direction.
// Error 9 for a set outside the table; 0 for a set without poses.
std::int32_t SpriteSetSizeX(std::int32_t spriteSet);
std::int32_t SpriteSetSizeY(std::int32_t spriteSet);
std::int32_t SpriteSetFrameDuration(std::int32_t spriteSet);
float SpriteSetRadius(std::int32_t spriteSet);
// The trail length per unit of speed of a projectile: the direction's one
// Single, its radius (the farthest bound from the origin).
float SpriteSetTrailFactor(std::int32_t spriteSet);

// A copy of the first usable direction's collision shape; an empty shape for
// a set without poses, error 9 for a set outside the table.
CollisionShape SpriteSetCollisionShape(std::int32_t spriteSet);

}  // namespace kiv
