#pragma once
// Call frames and the call stack of the script engine, and the engine's
// run-time globals.
#include <array>
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "data/script_record.h"
#include "script/script_value.h"

namespace kiv {

// Owners of a script run.
enum TriggerOwnerKind : std::int32_t {
  kOwnerSystem = 0,
  kOwnerMap = 1,
  kOwnerZone = 2,
  kOwnerActor = 3,
  kOwnerDoor = 5,
  kOwnerItem = 6,
  kOwnerSpawn = 8,
  kOwnerField = 9,
  kOwnerInput = 10,
  kOwnerCustomEvent = 11,
  kOwnerSpriteTexture = 13,
  kOwnerFieldValue = 14,
};

struct CallFrame {
  std::int32_t ownerKind = 0;
  std::int32_t ownerIndex = -1;
  std::int32_t subIndex = -1;  // trigger or event slot within the owner
  std::int32_t scriptIndex = -1;
  std::int32_t statementIndex = -1;
  std::int32_t tokenPosition = 0;
  std::uint8_t assignment = 0;  // 1 once the SET marker of the statement was met
  std::int32_t callerValue = -1;
  std::vector<ScriptVariable> statics;
  std::vector<ScriptVariable> locals;
  std::vector<ScriptVariable> parameters;
  Variant idList;
  std::int32_t ownerMap = -1;
  std::int32_t relateActor = -1;  // -3: the script relates to the item in relateItem
  std::int32_t relateValue2 = -1;
  std::int32_t relateDoor = -1;
  std::int32_t relateTurret = -1;
  std::int32_t relateItem = -1;
  std::int32_t player = 0;
  std::int32_t thisZone = -1;
  std::int32_t thisActor = -1;
  std::int32_t thisDoor = -1;
  std::int32_t thisSpawn = -1;
  std::int32_t thisItem = -1;
  std::int32_t thisField = -1;
  std::int32_t suspendRoot = -1;
  std::vector<ScriptValue> valueStack;
  std::int32_t valueStackTop = -1;
  std::int32_t stackBase = 0;  // first entry of the operation being applied
};

inline constexpr std::int32_t kCallStackSize = 128;
// The deepest frame index that may run a script; the frame above it fails at once.
inline constexpr std::int32_t kCallStackRunLimit = 126;

struct ScriptEngineState {
  std::array<CallFrame, kCallStackSize> callStack;
  std::int32_t callTop = -1;         // -1: no script runs
  std::int32_t pendingDuration = 0;  // ms, set by LERP
  bool scriptAbort = false;
  bool applyingTimedChange = false;
  std::vector<CallFrame> resumeFrames;  // set by the wait poll before it resumes a script
  std::int32_t resumeTop = -1;
  std::uint32_t tickStamp = 0;      // the last time the interpreter let the window system run
  std::int32_t yieldCountdown = 0;  // statements since the clock was last read

  void Reset();
};
extern ScriptEngineState scriptEngine;

// The running frame; error 9 when no script runs.
CallFrame& TopFrame();

// Pushes a frame for a run of the script (variables copied from its template,
// the other fields as given in frame) and returns it; error 9 when the stack is full.
CallFrame& PushCallFrame(const CallFrame& frame, const Script& script);
// Pops the top frame. When the stack becomes empty the abort flag is cleared.
void PopCallFrame();

// The registered script of an index; error 9 outside the table. Inline: the
// interpreter looks its script up again on every statement.
[[noreturn]] void RaiseNoScript(std::int32_t index);
inline Script& ScriptAt(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(scriptTable.scripts.size())) RaiseNoScript(index);
  return scriptTable.scripts[static_cast<std::size_t>(index)];
}

}  // namespace kiv
