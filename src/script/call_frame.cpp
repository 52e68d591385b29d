#include "script/call_frame.h"

#include <string>
#include <utility>

#include "core/error.h"
#include "state/game_state.h"

namespace kiv {

ScriptEngineState scriptEngine;

void ScriptEngineState::Reset() {
  for (CallFrame& frame : callStack) frame = CallFrame();
  callTop = -1;
  pendingDuration = 0;
  scriptAbort = false;
  applyingTimedChange = false;
  resumeFrames.clear();
  resumeTop = -1;
  tickStamp = 0;
  yieldCountdown = 0;
  gameState.paused = 0;
}

CallFrame& TopFrame() {
  if (scriptEngine.callTop < 0 || scriptEngine.callTop >= kCallStackSize) {
    RaiseError(kErrIndex, "No script is running.");
  }
  return scriptEngine.callStack[static_cast<std::size_t>(scriptEngine.callTop)];
}

CallFrame& PushCallFrame(const CallFrame& frame, const Script& script) {
  if (scriptEngine.callTop + 1 >= kCallStackSize) RaiseError(kErrIndex, "Subscript out of range");
  CallFrame& target = scriptEngine.callStack[static_cast<std::size_t>(++scriptEngine.callTop)];
  // The value stack keeps its storage from earlier runs at this depth.
  std::vector<ScriptValue> stack = std::move(target.valueStack);
  target = frame;
  target.valueStack = std::move(stack);
  target.statics = script.frameTemplate.statics;
  target.locals = script.frameTemplate.locals;
  target.parameters = script.frameTemplate.parameters;
  target.idList = script.frameTemplate.idList;
  target.scriptIndex = -1;
  target.statementIndex = -1;
  target.tokenPosition = 0;
  target.assignment = 0;
  target.valueStackTop = -1;
  target.stackBase = 0;
  return target;
}

void PopCallFrame() {
  if (scriptEngine.callTop < 0) return;
  --scriptEngine.callTop;
  if (scriptEngine.callTop < 0) scriptEngine.scriptAbort = false;
}

void RaiseNoScript(std::int32_t index) {
  RaiseError(kErrIndex, "Script " + std::to_string(index) + " does not exist.");
}

}  // namespace kiv
