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
  MessageBoxSystem = [] {};
  ActionRects = [] {};
  HISystem = [] {};
  ClearCharacterTickFlags = [] {};
  MessageSystem = [] {};
  CloudSystem = [](std::int32_t) {};
  RainSystem = [](std::int32_t) {};
  UpdateMapSystems = [](std::int32_t) {};
  LightSystem = [](std::int32_t) {};
  SpeakerSystem = [](std::int32_t) {};
  DoorSystem = [](std::int32_t) {};
  BulletSystem = [](std::int32_t) {};
  PickUpSystem = [](std::int32_t) {};
  CharacterSystem = [](std::int32_t) {};
  RemoveMarkedObjects = [](std::int32_t) {};
  RelightLight = [](std::int32_t, std::int32_t) {};
  FieldViewMap = [](std::int32_t, std::int32_t) -> std::int32_t { return -1; };
  FieldViewFocus = [](std::int32_t, std::int32_t, float& x, float& y, float& z) { x = y = z = 0.0f; };
  SetFieldScreenView = [](std::int32_t, std::int32_t, std::int32_t) {};
  DrawMap = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {};
  DrawMessageBoxes = [] {};
  DrawCursor = [] {};
}

}  // namespace kiv
