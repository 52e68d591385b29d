#include "world/damage.h"

namespace kiv {

void DamageCharacter(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

bool ApplyAreaDamage(std::int32_t, const CollisionShape&, float, float, float, float, float, float, std::int32_t,
                     std::int32_t, std::int32_t, std::int32_t, bool) {
  return false;
}

}  // namespace kiv
