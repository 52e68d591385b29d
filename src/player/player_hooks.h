#pragma once
// The steps of the shell that libraries above it (drawing, world, commands)
// provide. Each starts as a harmless default; the start-up function of
// src/runtime installs them, and its list of hooks still awaiting a provider
// names the rest.
#include <cstdint>
#include <functional>
#include <string>

namespace kiv {

struct PlayerHooks {
  std::function<void()> WorldUpdate;
  std::function<void()> DrawFrame;
  std::function<std::int32_t(std::int32_t groups)> InitResources;
  std::function<void(std::int32_t groups)> UnloadResources;
  std::function<void(const std::string& text, float progress)> ShowLoadingProgress;
  std::function<void(bool force)> RefreshViewedMaps;
  std::function<void()> RestartGame;
  std::function<void()> ShutdownGraphics;
  std::function<void(bool reset)> InitMessageBoxes;
  std::function<void(std::int32_t player, std::int32_t mode)> UpdatePointer;
  // Moves a character from one map's list to another's.
  std::function<void(std::int32_t character, std::int32_t fromMap, std::int32_t toMap, std::int32_t a,
                     std::int32_t b)>
      SetCharacterPosition;

  // The systems of the world update that later libraries provide, each run
  // where the world update's order puts it. Defaults do nothing.
  std::function<void()> MessageBoxSystem;  // the built-in boxes and the slot menu
  std::function<void()> ActionRects;       // the main character's action target
  std::function<void()> HISystem;          // stops or drives the controlled character
  std::function<void()> ClearCharacterTickFlags;
  std::function<void()> MessageSystem;  // ages and removes notices
  // Per map of the pass: map index.
  std::function<void(std::int32_t map)> CloudSystem;
  std::function<void(std::int32_t map)> RainSystem;
  std::function<void(std::int32_t map)> UpdateMapSystems;
  std::function<void(std::int32_t map)> LightSystem;
  std::function<void(std::int32_t map)> SpeakerSystem;
  std::function<void(std::int32_t map)> DoorSystem;
  std::function<void(std::int32_t map)> BulletSystem;
  std::function<void(std::int32_t map)> PickUpSystem;
  std::function<void(std::int32_t map)> CharacterSystem;
  std::function<void(std::int32_t map)> RemoveMarkedObjects;
  // Recomputes the lighting that one light of a map gives (its level changed).
  std::function<void(std::int32_t map, std::int32_t light)> RelightLight;

  // Interfaces and views. FieldViewMap: the map a view field shows, -1 none.
  std::function<std::int32_t(std::int32_t interfaceMap, std::int32_t field)> FieldViewMap;
  // The point a view field looks at.
  std::function<void(std::int32_t interfaceMap, std::int32_t field, float& x, float& y, float& z)> FieldViewFocus;
  std::function<void(std::int32_t interfaceMap, std::int32_t field, std::int32_t view)> SetFieldScreenView;
  // Draws a map or interface: offsets, parent map and field, size (-1 none).
  std::function<void(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t parentMap,
                     std::int32_t parentField, std::int32_t width, std::int32_t height)>
      DrawMap;
  std::function<void()> DrawMessageBoxes;
  // Draws player input state 0's cursor sprite at the pointer with playTime as its clock.
  std::function<void()> DrawCursor;

  PlayerHooks() { Reset(); }
  // Every step back to its harmless default: nothing done, InitResources 0.
  void Reset();
};
extern PlayerHooks playerHooks;

}  // namespace kiv
