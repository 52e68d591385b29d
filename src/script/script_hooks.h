#pragma once
// What the script engine core needs of the subsystems above and beside it:
// trigger dispatch, waits and timed changes, the command executors, the world
// records behind the frame keywords and error reports, and the clock. Each
// subsystem installs its part at start-up; until then every hook does the
// harmless default named beside it.
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

// The party state of a player that "main" reads.
struct PlayerControlState {
  std::int32_t currentMap = -1;
  std::int32_t controlledMember = -1;     // slot in the party, -1 none
  std::int32_t controlledCharacter = -1;  // the character of that slot in currentMap
};

// One entry of an input trigger's list: its type word (low five bits the type,
// 256 up, 512 down) and its value.
struct InputTriggerEntry {
  std::int32_t type = 0;
  std::int32_t value = 0;
};

struct ScriptHooks {
  // Millisecond tick count. Default: the platform clock.
  std::function<std::uint32_t()> TickCount;

  // Trigger dispatch: runs a script of an owner and returns its result. Default: Empty.
  std::function<Variant(const TriggerRun& run)> RunTrigger;
  // Saves the running frames as a waiting script; the request is entry 0 of the top frame. Default: nothing.
  std::function<void()> SuspendForWait;
  // Cancels a timed change of the target and, with a duration, starts one;
  // True when it took the assignment over. Default: False.
  std::function<bool(std::int32_t code, const ScriptValue& target, std::int32_t argumentUpper,
                     const Variant& value, std::int32_t duration)>
      StartTimedChange;

  // The four executors. Default: nothing.
  ScriptExecutor internalExecutor;
  ScriptExecutor actorExecutor;
  ScriptExecutor fieldExecutor;
  ScriptExecutor objectExecutor;

  // Gate count of a custom event: its own count when 1 or more, else the default
  // of its "GATES:" parameter, else 1. Default: 1.
  std::function<std::int32_t(std::int32_t customEvent)> CustomEventGateCount;

  // Project settings. Default: off.
  std::function<bool()> LooseTextCompare;
  std::function<bool()> MainAlwaysControlled;

  // World state behind the frame keywords. Defaults: no player state, no owner, no parent.
  std::function<std::int32_t()> CurrentPlayer;
  std::function<PlayerControlState(std::int32_t player)> PlayerControl;
  std::function<std::int32_t(std::int32_t map, std::int32_t character)> CharacterOwnerPlayer;
  std::function<std::int32_t(std::int32_t map, std::int32_t field)> FieldParentField;
  // Position of an actor of a map. Default: the origin.
  std::function<void(std::int32_t map, std::int32_t actor, float& x, float& y, float& z)> ActorPosition;
  // The character that counts as "relate" while the map systems act for it. Default: none (-1, -1).
  std::function<void(std::int32_t& map, std::int32_t& character)> RelateContext;

  // Names for error reports. Defaults: empty texts and lists.
  // The name of an object of a map (owner kinds 2 zone, 3 actor, 5 door, 8 spawn, 9 and 14 field),
  // or of an item (6), input set (10) or custom event (11), whose map is then -1.
  std::function<std::u16string(std::int32_t ownerKind, std::int32_t map, std::int32_t index)> OwnerName;
  // The event part of a trigger of a zone, actor or field.
  std::function<std::u16string(std::int32_t ownerKind, std::int32_t map, std::int32_t ownerIndex,
                               std::int32_t trigger)>
      TriggerEventText;
  std::function<std::vector<InputTriggerEntry>(std::int32_t inputSet, std::int32_t trigger)>
      InputTriggerEntries;

  // The controls table: names and keyboard bindings.
  std::function<std::int32_t()> ControlCount;
  std::function<std::u16string(std::int32_t control)> ControlName;
  std::function<bool(std::int32_t control, std::int32_t player, std::int32_t keyCode)> ControlHasKeyBinding;
  // The name of a key, mouse control or controller button (device 2, 4 or 8).
  std::function<std::u16string(std::int32_t value, std::int32_t device)> InputControlName;

  ScriptHooks() { Reset(); }
  void Reset();
};

extern ScriptHooks scriptHooks;

}  // namespace kiv
