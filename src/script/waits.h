#pragma once
// Waits: a script stops in the middle of a statement until something happens
// in the world. A waiting command returns a wait request; the interpreter
// hands it to ScriptSuspendForWait, which saves the running frames as a
// waiting script; the Call Back system resumes them later.
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"

namespace kiv {

// Wait flags.
inline constexpr std::int32_t kWaitNoLoadOrSave = 1;
inline constexpr std::int32_t kWaitMusicEnded = 4;
inline constexpr std::int32_t kWaitShopClosed = 8;
inline constexpr std::int32_t kWaitInnClosed = 16;
inline constexpr std::int32_t kWaitNoInterface = 32;

// Elements of a wait request (a Variant array 0..9).
enum WaitRequestElement : std::size_t {
  kWaitRequestCode = 0,  // 0: suspend
  kWaitRequestCombination = 1,
  kWaitRequestTime = 2,
  kWaitRequestActor = 3,
  kWaitRequestFlags = 4,
  kWaitRequestMap = 5,
  kWaitRequestControls = 6,
  kWaitRequestFieldText = 7,
  kWaitRequestFieldTarget = 8,
  kWaitRequestPlayer = 9,
  kWaitRequestSize = 10,
};

struct WaitingScript {
  std::uint8_t combination = 1;  // 0 any condition, 1 all conditions
  std::int32_t timeLeft = 0;     // ms; 0 none; -1 once it ran out
  std::uint8_t controlCombination = 0;
  std::vector<std::int32_t> controls;
  std::int32_t actor = -1;        // must finish moving
  std::int32_t fieldText = -1;    // must show its whole text
  std::int32_t fieldTarget = -1;  // must reach its target
  std::int32_t map = -1;          // of the actor and the fields
  std::int32_t flags = 0;
  std::int32_t player = 0;  // whose controls are tested
  std::vector<CallFrame> frames;  // from the suspend root to the frame that waited
  std::uint8_t paused = 0;
  std::uint8_t released = 0;  // 1: resumes at the next poll whatever its conditions
};

// In the order of suspension.
extern std::vector<WaitingScript> waitingScripts;

// The request a waiting command returns; a player of -1 is the current player.
// controls: a negative number for none, a control index, or an array whose
// element 0 is the control combination and whose further elements are controls.
Variant ScriptMakeWaitRequest(std::int32_t combination, std::int32_t time, std::int32_t actor, std::int32_t flags,
                              std::int32_t map, const Variant& controls, std::int32_t fieldText,
                              std::int32_t fieldTarget, std::int32_t player);

// Saves the frames from the suspend root to the top as a waiting script; the
// request is value-stack entry 0 of the top frame. Raises 13 for a malformed request.
void ScriptSuspendForWait();

// The run that restores a frame a wait saved: its owner, event slot, caller
// value, map, related objects and player. The caller sets suspendRoot and nested.
TriggerRun SavedFrameRun(const CallFrame& saved);

// The running flag of a registered script drops to 0 (an index outside the table is ignored).
void ClearRunningFlag(std::int32_t scriptIndex);

// Drops waiting scripts. The scripts of their frames no longer count as
// running, so an exclusive script among them can run again.
void RemoveWaitingScript(std::int32_t index);
void ClearWaitingScripts();
// A map reload drops every wait with a frame running on the map or whose own
// map it is; with spareNewest the newest waiting script is kept.
void CancelWaitsOfMap(std::int32_t map, bool spareNewest);

}  // namespace kiv
