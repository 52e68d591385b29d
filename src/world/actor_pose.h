#pragma once
// In which of the eight directions an actor is drawn, and which pose of its
// body's sprite set it shows with the time into that pose's animation. Pure
// queries over the actor and the sprite-set table.
#include <cstdint>

#include "data/actor_record.h"

namespace kiv {

// Tag value that accepts any frame.
inline constexpr std::int32_t kAnyTag = 0x7FFFFDFF;

// Pose numbers of a sprite set.
inline constexpr std::int32_t kPoseDefault = 0;
inline constexpr std::int32_t kPoseIdle = 9;
inline constexpr std::int32_t kPoseRise = 10;
inline constexpr std::int32_t kPoseFall = 11;
inline constexpr std::int32_t kPoseHurt = 12;
inline constexpr std::int32_t kPoseDead = 13;
inline constexpr std::int32_t kPoseState1 = 14;
inline constexpr std::int32_t kFirstCustomPose = 15;

std::int32_t ActorDrawDirection(const Actor& actor);

// True, with chosenPose set to pose, when the pose can be shown in the
// direction with the tag (kAnyTag: any frames). A frame carries a tag when one
// of its parts draws a layer of that slot; the direction's four slot entries
// that parts use carry their values too.
bool TryPose(std::int32_t pose, std::int32_t spriteSet, std::int32_t tag, std::int32_t direction,
             std::int32_t& chosenPose);

// The pose the actor shows and the ms into its animation (never negative).
void SelectActorPose(std::int32_t map, const Actor& actor, std::int32_t spriteSet, std::int32_t tag,
                     std::int32_t direction, std::int32_t& pose, std::int32_t& poseTime);

}  // namespace kiv
