#pragma once
// What the script engine core needs of the subsystems above it: trigger
// dispatch, waits and timed changes, the command executors, the current player
// and relate context of the world, and the clock. Each subsystem installs its
// part at start-up; until then every hook does the harmless default named
// beside it. What the game data, state and media libraries below hold is read
// directly.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/variant.h"
#include "data/script_record.h"
#include "script/script_value.h"

namespace kiv {

// The arguments of one run of the trigger dispatcher.
struct TriggerRun {
  std::int32_t ownerKind = 0;
  std::int32_t ownerIndex = -1;
  std::int32_t subIndex = -1;
  std::int32_t callerValue = -1;
  std::int32_t map = -1;
  std::int32_t relateActor = -1;
  std::int32_t relateValue2 = -1;
  std::int32_t relateDoor = -1;
  std::int32_t relateTurret = -1;
  std::int32_t relateItem = -1;
  std::int32_t suspendRoot = -1;
  bool nested = true;
  std::int32_t player = 0;
};

// An executor of script commands and properties (one per object family).
// mode 0 reads, calls or evaluates a function; mode -1 assigns value.
using ScriptExecutor =
    std::function<void(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper,
                       ScriptValue& result, std::int16_t mode, const Variant& value, bool lastToken)>;

struct ScriptHooks {
  // Millisecond tick count. Default: the platform clock.
  std::function<std::uint32_t()> TickCount;

  // Trigger dispatch: runs a script of an owner and returns its result. Default: Empty.
  std::function<Variant(const TriggerRun& run)> RunTrigger;

  // The four executors. Default: nothing.
  ScriptExecutor internalExecutor;
  ScriptExecutor actorExecutor;
  ScriptExecutor fieldExecutor;
  ScriptExecutor objectExecutor;

  // The player whose party "main" and the waits address. Default: 0.
  std::function<std::int32_t()> CurrentPlayer;
  // The character that counts as "relate" while the map systems act for it. Default: none (-1, -1).
  std::function<void(std::int32_t& map, std::int32_t& character)> RelateContext;

  // The shown interface after (before, when backwards) the map in drawing
  // order; from -1 backwards, the top one; -1 none. Default: -1.
  std::function<std::int32_t(std::int32_t map, bool backwards)> FindNextMapInOrder;
  // Whether the interface takes the player's input. Default: True.
  std::function<bool(std::int32_t map)> IsMapInputActive;
  // True while the loading screen runs one world tick, when no map may be
  // loaded. Default: False.
  std::function<bool()> LoadingTickRunning;

  ScriptHooks() { Reset(); }
  void Reset();
};

extern ScriptHooks scriptHooks;

}  // namespace kiv
