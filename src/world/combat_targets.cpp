#include "world/combat_targets.h"

namespace kiv {

void SetCharacterTarget(std::int32_t, std::int32_t, std::int32_t) {}
void ClearCharacterTarget(std::int32_t, std::int32_t) {}
void AlertCharactersInRange(std::int32_t, std::int32_t, float, float, float) {}
void ApplyItemEffect(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void AttachEffectAnimation(std::int32_t, std::int32_t, std::int32_t, bool) {}
void ApproachSpeed(float, float&, float, float, float, float, float, float) {}

}  // namespace kiv
