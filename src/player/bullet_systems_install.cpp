#include "player/bullet_systems_install.h"

#include "player/bullet_system.h"
#include "player/pick_up_system.h"
#include "player/player_hooks.h"

namespace kiv {

void InstallBulletSystems() {
  playerHooks.BulletSystem = [](std::int32_t map) { RunBulletSystem(map); };
  playerHooks.PickUpSystem = [](std::int32_t map) { RunPickUpSystem(map); };
}

}  // namespace kiv
