#include "world/map_systems_setup.h"

#include "player/player_hooks.h"
#include "script/script_hooks.h"
#include "world/map_systems.h"

namespace kiv {

void InstallMapSystemsHooks() {
  playerHooks.UpdateMapSystems = [](std::int32_t map) { UpdateMapSystems(map, -1, -1, false); };
  scriptHooks.RelateContext = [](std::int32_t& map, std::int32_t& character) {
    map = mapSystems.relateContextMap;
    character = mapSystems.relateContextCharacter;
  };
}

}  // namespace kiv
