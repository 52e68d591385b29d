#pragma once
// The combat behaviour of AI characters and the aim of unmanned turrets, run
// by the movement update before it picks a command.
#include <cstdint>

namespace kiv {

void UpdateCombatBehaviour(std::int32_t map, std::int32_t character);
void UpdateTurretAim(std::int32_t map, std::int32_t turret);

}  // namespace kiv
