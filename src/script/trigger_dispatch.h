#pragma once
// Trigger dispatch: every script run starts here. Finds the script of an
// owner's event slot, tests its fast conditions, pushes a call frame (or
// restores one that a wait saved), runs the interpreter, keeps the statics and
// the id list in the script's template and pops the frame.
#include <array>
#include <cstdint>

#include "core/variant.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"

namespace kiv {

// Results of the last gesture condition: accuracy, completion, angle, scale.
enum GestureResultSlot : std::size_t {
  kGestureAccuracySlot = 0,
  kGestureCompletionSlot = 1,
  kGestureAngleSlot = 2,
  kGestureScaleSlot = 3,
};
extern std::array<float, 4> gestureResults;

// The registered script of an owner's slot, -1 when the slot holds no code.
// Raises 9 for an owner or slot that does not exist.
std::int32_t FindTriggerScript(std::int32_t ownerKind, std::int32_t ownerIndex, std::int32_t subIndex,
                               std::int32_t map);

// Runs the script of the slot and returns its result: Empty when nothing ran
// (no code, an exclusive script already running, a failed condition), Null
// when it suspended for a wait, an Error value when it failed (already logged).
Variant ScriptRunTrigger(const TriggerRun& run);

// Runs, in list order, every trigger of a zone (2), actor (3) or field (9) of
// the map whose event is the code; stops when a script removed the object.
void ScriptRaiseObjectEvent(std::int32_t ownerKind, std::int32_t object, std::int32_t eventCode, std::int32_t map,
                            std::int32_t relateActor = -1, std::int32_t relateValue2 = -1,
                            std::int32_t relateDoor = -1, std::int32_t relateTurret = -1,
                            std::int32_t relateItem = -1);

// True when the first event script of the map is on the call stack.
bool ScriptIsMapTriggerRunning(std::int32_t map);

}  // namespace kiv
