#include "player/character_system_install.h"

#include "player/action_rects.h"
#include "player/character_system.h"
#include "player/marked_removal.h"
#include "player/player_hooks.h"

namespace kiv {

void InstallCharacterSystem() {
  playerHooks.ActionRects = [] { RunActionRects(); };
  playerHooks.HISystem = [] { RunHISystem(); };
  playerHooks.ClearCharacterTickFlags = [] { ClearCharacterTickFlags(); };
  playerHooks.CharacterSystem = [](std::int32_t map) { RunCharacterSystem(map); };
  playerHooks.RemoveMarkedObjects = [](std::int32_t map) { RemoveMarkedObjects(map); };
}

}  // namespace kiv
