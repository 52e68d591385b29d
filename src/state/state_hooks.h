#pragma once
// What loading and saving a game needs from the libraries above the game
// state: the script engine's global lists, waiting scripts and timed changes,
// and the shell's loading screen, resources, map preparation and clock.
#include <cstdint>
#include <functional>
#include <string>

#include "core/byte_list.h"

namespace kiv {

struct StateHooks {
  // The global variables, switches, collections and tables of the state block,
  // read at the stream's version (the project form empties the tables below
  // 100665) or written in the current layout. Default: read and drop, write empty lists.
  std::function<void(const ByteList& buffer, std::int32_t& offset, std::int32_t version)> ReadGlobalLists;
  std::function<void(ByteList& buffer, std::int32_t& offset)> WriteGlobalLists;
  // The waiting scripts, then the timed changes, at the end of a save.
  // Default: write two empty lists; reading accepts only empty lists.
  std::function<void(const ByteList& buffer, std::int32_t& offset, std::int32_t version)> ReadScriptRunState;
  std::function<void(ByteList& buffer, std::int32_t& offset)> WriteScriptRunState;

  // Returns the game data to its state at game start. Default: the game-data
  // reset, then the project state read again from "INTRO.kst".
  std::function<void(std::int32_t mode)> ReloadGameData;
  // Loads the resources of the groups in mask (0xC000: statistic and equipment icons).
  std::function<void(std::uint32_t mask)> InitResources;
  // Draws the loading screen with text, the progress advanced by step (0 with
  // a text starts it again).
  std::function<void(const std::string& text, float step)> ShowLoadingProgress;
  std::function<void(std::int32_t map, std::int32_t mode)> GenerateMapData;
  std::function<void(std::int32_t mode)> RefreshViewedMaps;
  // Runs the load event (system owner, event 9).
  std::function<void()> RunLoadEvent;
  // Makes the main loop's tick base the current time.
  std::function<void()> ResetTickBase;

  StateHooks() { Reset(); }
  void Reset();
};
extern StateHooks stateHooks;

}  // namespace kiv
