#pragma once
// Completing a sprite set after reading (mirror masks, summary) and starting
// the animation state of an object that shows one.
#include <cstdint>

#include "data/sprite_records.h"

namespace kiv {

// Sets bit d of the pose's mirror mask for each direction d that has no
// layers while its left-right mirror has some.
void MarkMirroredDirections(SpritePose& pose);

// Collects the distinct slot numbers the set uses (layers, used slot entries,
// then the set's own slot) and its largest layer value.
void SummarizeSpriteSet(SpriteSet& set);

// The pose and direction an object shows first: the first direction with a
// layer, scanning 4, 5, 6, 7, 0, 1, 2, 3 in each pose; with set flag 4 only
// direction 4 counts. Pose 0, direction 4 when none has a layer. An index
// outside the sprite sets raises error 9.
void FindSpriteDirection(std::int32_t spriteSet, std::int32_t& pose, std::int32_t& direction);

// Gives every part of built frame 0 a fresh emitter, with a random emission
// limit for layer parts, and marks the instance started.
void InitSpriteFrameDelays(SpriteInstance& instance, const SpriteDirection& direction);

// Restarts an instance for a sprite set; a set below 0 leaves it untouched.
void SetObjectSprite(SpriteInstance& instance, std::int32_t spriteSet);

}  // namespace kiv
