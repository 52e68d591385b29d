#pragma once
// What weapons, combat behaviour, damage and the world update share: giving
// a character an enemy and taking it away, alerting characters around a
// noise, what an item does to its target, effect animations on a character,
// and a velocity moved toward its goal.
#include <cstdint>

namespace kiv {

// AI states of the combat behaviour.
inline constexpr std::int32_t kAIIdle = 0;
inline constexpr std::int32_t kAIChasing = 1;
inline constexpr std::int32_t kAIInPosition = 2;
inline constexpr std::int32_t kAIStandAndFire = 3;
inline constexpr std::int32_t kAIReturning = 4;
// Command words the combat behaviour steers with.
inline constexpr std::int32_t kCommandFollow = 0x10003;    // move, face and follow
inline constexpr std::int32_t kCommandFaceTarget = 0x10002;  // face without moving
inline constexpr std::int32_t kCommandWalkHome = 0x40003;  // move, face and walk to (GotoX, GotoY)

// target -1 clears.
void SetCharacterTarget(std::int32_t map, std::int32_t character, std::int32_t target);
void ClearCharacterTarget(std::int32_t map, std::int32_t character);
void AlertCharactersInRange(std::int32_t map, std::int32_t source, float x, float y, float radius);
// parent: the item whose effect this follows (-1 none); attacker -1 none.
void ApplyItemEffect(std::int32_t map, std::int32_t item, std::int32_t target, std::int32_t parent,
                     std::int32_t attacker);
void AttachEffectAnimation(std::int32_t map, std::int32_t character, std::int32_t spriteSet, bool looping);
// maxBackward is given negative. Advances over the tick's milliseconds.
void ApproachSpeed(float input, float& velocity, float maxForward, float maxBackward, float accelForward,
                   float accelBackward, float decelForward, float decelBackward);

}  // namespace kiv
