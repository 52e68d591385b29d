#include "world/combat_behaviour.h"

namespace kiv {

// Characters fight and turrets aim once combat is built; until then neither
// changes anything, and characters move by their commands alone.
void UpdateCombatBehaviour(std::int32_t, std::int32_t) {}
void UpdateTurretAim(std::int32_t, std::int32_t) {}

}  // namespace kiv
