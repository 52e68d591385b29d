#pragma once
// What trigger dispatch, waits and the wait poll need of the game state's
// system scripts, the player shell and the world, which are built above the
// script engine. Each owner installs its part at start-up; until then each hook
// does the harmless default named beside it.
#include <cstdint>
#include <functional>

#include "data/script_record.h"

namespace kiv {

struct TriggerHooks {
  // The registered script that the sprite drawing asks to run (owner kind 13). Default: -1.
  std::function<std::int32_t()> SpriteTextureScript;
  // Milliseconds the current tick advances the game (interval conditions). Default: 0.
  std::function<std::int32_t()> TickElapsed;
  // True while a system menu is in charge (message-box state not 0). Default: false.
  std::function<bool()> SystemMenuOpen;
  // Turns the audio library's update threads off again when the map-data
  // generator turned them on during play. Called when the call stack empties. Default: nothing.
  std::function<void()> EndMapDataAudio;

  // Wait conditions of the poll. Defaults: met.
  // The actor of the map has no walking path and less than 1 unit of movement left.
  std::function<bool(std::int32_t map, std::int32_t actor)> ActorStopped;
  // The field of the map shows its whole text.
  std::function<bool(std::int32_t map, std::int32_t field)> FieldTextShown;
  // The field of the map is not moving or stands at its target.
  std::function<bool(std::int32_t map, std::int32_t field)> FieldAtTarget;
  // One wait flag: 1 no system menu, 4 music ended, 8 shop done, 16 inn done, 32 no interface.
  std::function<bool(std::int32_t flag)> WaitFlagMet;

  TriggerHooks() { Reset(); }
  void Reset();
};

extern TriggerHooks triggerHooks;

}  // namespace kiv
