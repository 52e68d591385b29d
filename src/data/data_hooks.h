#pragma once
// Calls that the game-data readers make into subsystems above them (script
// engine, renderer, world, player shell). The upper subsystem installs them at
// start-up; until then each does the harmless default named beside it.
#include <cstdint>
#include <functional>

namespace kiv {

struct Script;
struct Trigger;

struct DataHooks {
  // Compiles a script's text into statements. Default: keeps the text and
  // leaves the script without statements.
  std::function<void(Script& script)> CompileScript;
  // Rebuilds a trigger's condition texts and tokens. Default: nothing.
  std::function<void(Trigger& trigger)> BuildTriggerConditions;
  // Looks a name up among the global variables, switches, collections and
  // tables; gives the token kind (13 to 16) and index. Default: not found.
  std::function<bool(std::int32_t symbol, std::uint8_t& kind, std::int32_t& index)> FindGlobalName;
  // The symbol of a global of token kind 13 to 16; -1 when there is none. Default: -1.
  std::function<std::int32_t(std::uint8_t kind, std::int32_t index)> GlobalNameSymbol;
  // The project setting that makes keyword names trimmed and case-blind. Default: false.
  std::function<bool()> LooseNameMatching;
  // Runs every trigger of an object whose event matches. Default: nothing.
  std::function<void(std::int32_t ownerKind, std::int32_t objectIndex, std::int32_t eventSymbol,
                     std::int32_t map)>
      ScriptRaiseObjectEvent;

  // Generates terrain, tile collision, floor heights and lighting. Default: nothing.
  std::function<void(std::int32_t map, bool prepare)> GenerateMapData;

  // The current map of the active player, -1 none. Default: -1.
  std::function<std::int32_t()> ActivePlayerMap;
  // Recomputes the maps shown on screen. Default: nothing.
  std::function<void(std::int32_t flag)> RefreshViewedMaps;
  // Restarts the main loop's tick base at the current tick count. Default: nothing.
  std::function<void()> RestartTickBase;
  // Lets the window system deliver its events once. Default: nothing.
  std::function<void()> YieldToWindowSystem;
  // True when the game is to end (the window was closed). Default: false.
  std::function<bool()> QuitRequested;

  DataHooks() { Reset(); }
  void Reset();
};

extern DataHooks dataHooks;

}  // namespace kiv
