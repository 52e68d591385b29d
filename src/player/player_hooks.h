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
  PlayerHooks() { Reset(); }
  // Every step back to its harmless default: nothing done, InitResources 0.
  void Reset();
};
extern PlayerHooks playerHooks;

}  // namespace kiv
