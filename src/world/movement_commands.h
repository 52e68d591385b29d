#pragma once
// The per-tick movement decision of one character: when its last step is done
// and no wait runs, it takes the next command word (queue, AI command, default
// command, route), turns it into one step, tests the step and leaves it for
// the world update to carry out.
#include <cstdint>

namespace kiv {

// Bits of a movement command word; a negative word waits (word And
// 0x7FFFFFFF) ms.
inline constexpr std::int32_t kMoveStep = 0x1;
inline constexpr std::int32_t kMoveFace = 0x2;
inline constexpr std::int32_t kMoveAbsoluteMask = 0x3FC;
inline constexpr std::int32_t kMoveTurnLeft = 0x400;
inline constexpr std::int32_t kMoveTurnRight = 0x800;
inline constexpr std::int32_t kMoveStraight = 0x1000;
inline constexpr std::int32_t kMoveTurnBack = 0x2000;
inline constexpr std::int32_t kMoveRandom = 0x4000;
inline constexpr std::int32_t kMoveRandomOther = 0x8000;
inline constexpr std::int32_t kMoveFollow = 0x10000;
inline constexpr std::int32_t kMoveFlee = 0x20000;
inline constexpr std::int32_t kMoveToPoint = 0x40000;
inline constexpr std::int32_t kMoveForce = 0x80000;
inline constexpr std::int32_t kMoveInBounds = 0x100000;

// A follower this close to its leader on both axes stands still.
inline constexpr float kLeaderRadius = 48.0f;
// The wait after a path search found nothing.
inline constexpr std::int32_t kPathFailureWait = 500;

void UpdateCharacterMovement(std::int32_t map, std::int32_t character);

}  // namespace kiv
