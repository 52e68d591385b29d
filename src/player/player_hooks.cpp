#include "player/player_hooks.h"

namespace kiv {

PlayerHooks playerHooks;

void PlayerHooks::Reset() {
  WorldUpdate = [] {};
  DrawFrame = [] {};
  InitResources = [](std::int32_t) -> std::int32_t { return 0; };
  UnloadResources = [](std::int32_t) {};
  ShowLoadingProgress = [](const std::string&, float) {};
  RefreshViewedMaps = [](bool) {};
  RestartGame = [] {};
  ShutdownGraphics = [] {};
  InitMessageBoxes = [](bool) {};
  UpdatePointer = [](std::int32_t, std::int32_t) {};
  SetCharacterPosition = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {};
}

}  // namespace kiv
