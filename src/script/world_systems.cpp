#include "script/world_systems.h"

#include <algorithm>
#include <string>

#include "core/error.h"
#include "core/log.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "media/input_binding.h"
#include "script/call_frame.h"
#include "script/script_dispatch.h"
#include "script/timed_changes.h"
#include "script/trigger_description.h"
#include "script/trigger_dispatch.h"
#include "script/trigger_hooks.h"
#include "script/waits.h"

namespace kiv {

namespace {

constexpr std::int32_t kControlMode = 1;
constexpr std::int32_t kWentDown = 1;
constexpr std::int32_t kWaitFlags[] = {kWaitNoLoadOrSave, kWaitMusicEnded, kWaitShopClosed, kWaitInnClosed,
                                       kWaitNoInterface};

bool IsInterfaceMap(std::int32_t map) {
  return map >= -1 && map <= gameData.maps.LastIndex() && gameData.maps[map].isInterface;
}

bool ControlsMet(const WaitingScript& wait) {
  for (const std::int32_t control : wait.controls) {
    const bool down = InputTestBinding(wait.player, kControlMode, control, kWentDown, 0);
    if (wait.controlCombination == 0 && down) return true;
    if (wait.controlCombination != 0 && !down) return false;
  }
  return wait.controlCombination != 0;
}

// Counts the wait's conditions down and tests them; true when it is to resume.
bool ReadyToResume(WaitingScript& wait, std::int32_t gameTimeStep, std::int32_t tickElapsed) {
  std::int32_t conditions = 0;
  std::int32_t met = 0;
  const auto count = [&conditions, &met](bool isMet) {
    ++conditions;
    if (isMet) ++met;
  };
  if (wait.timeLeft != 0) {
    wait.timeLeft -= IsInterfaceMap(wait.map) ? tickElapsed : gameTimeStep;
    if (wait.timeLeft < 1) wait.timeLeft = -1;
    count(wait.timeLeft == -1);
  }
  if (!wait.controls.empty()) count(ControlsMet(wait));
  if (wait.actor >= 0) count(triggerHooks.ActorStopped(wait.map, wait.actor));
  if (wait.fieldText >= 0) count(triggerHooks.FieldTextShown(wait.map, wait.fieldText));
  if (wait.fieldTarget >= 0) count(triggerHooks.FieldAtTarget(wait.map, wait.fieldTarget));
  for (const std::int32_t flag : kWaitFlags) {
    if ((wait.flags & flag) != 0) count(triggerHooks.WaitFlagMet(flag));
  }
  if (wait.released == 1) return true;
  return wait.combination == 0 ? met >= 1 : met == conditions;
}

// An error that escapes the test or the resumption of a wait reaches no frame
// that would report it: it is logged here, as one block.
void LogWaitError(const std::u16string& owner, const std::exception& error) {
  ErrorLogAppend(CaughtErrorLine(error) + "\r\n  in waiting script of " + Utf16ToAnsi(owner));
}

// Takes the wait out of the list and runs its frames on from where they
// stopped. When the dispatcher fails to restore them (the owner of the first
// frame is gone from its table), the error is logged and the scripts of the
// frames no longer count as running.
void Resume(std::size_t index) {
  std::vector<CallFrame> frames = std::move(waitingScripts[index].frames);
  waitingScripts.erase(waitingScripts.begin() + static_cast<std::ptrdiff_t>(index));
  if (frames.empty()) return;
  TriggerRun run = SavedFrameRun(frames[0]);
  run.suspendRoot = -1;
  run.nested = true;
  const std::int32_t top = scriptEngine.callTop;
  scriptEngine.resumeTop = static_cast<std::int32_t>(frames.size()) - 1;
  scriptEngine.resumeFrames = std::move(frames);
  try {
    ScriptRunTrigger(run);
  } catch (const std::exception& error) {
    scriptEngine.callTop = top;
    scriptEngine.applyingTimedChange = false;
    LogWaitError(DescribeTriggerRun(run), error);
  }
  // A resumption that could not restore all its frames leaves nothing behind
  // for the next run to mistake for its own.
  if (scriptEngine.resumeTop != -1) {
    for (const CallFrame& frame : scriptEngine.resumeFrames) ClearRunningFlag(frame.scriptIndex);
    scriptEngine.resumeTop = -1;
    scriptEngine.resumeFrames.clear();
  }
}

// Tests a wait; a wait whose test fails (a control outside the controls
// table, a map or actor that no longer exists) is logged and dropped.
// True when the wait is to resume.
bool TestOrDrop(std::size_t index, std::int32_t gameTimeStep, std::int32_t tickElapsed, bool& dropped) {
  WaitingScript& wait = waitingScripts[index];
  try {
    return ReadyToResume(wait, gameTimeStep, tickElapsed);
  } catch (const std::exception& error) {
    LogWaitError(wait.frames.empty() ? std::u16string() : DescribeTrigger(wait.frames[0]), error);
    RemoveWaitingScript(static_cast<std::int32_t>(index));
    dropped = true;
    return false;
  }
}

void LogTimedChangeError(std::int32_t code, const std::exception& error) {
  std::string name;
  if (code >= 0 && code < SymbolCount()) name = Utf16ToAnsi(SymbolName(code));
  ErrorLogAppend(CaughtErrorLine(error) + "\r\n  in timed change of " + name);
}

}  // namespace

void RunCallBackSystem(std::int32_t gameTimeStep, std::int32_t tickElapsed) {
  // Resumed frames are restored from the bottom of the call stack up.
  if (triggerHooks.SystemMenuOpen() || scriptEngine.callTop != -1) return;
  std::int32_t i = static_cast<std::int32_t>(waitingScripts.size()) - 1;
  while (i >= 0) {
    const std::size_t index = static_cast<std::size_t>(i);
    bool removed = false;
    if (waitingScripts[index].paused == 0 && TestOrDrop(index, gameTimeStep, tickElapsed, removed)) {
      Resume(index);
      removed = true;
    }
    // A resumed script may have removed or added waits: go on with the entry
    // below, or the last one when the list became shorter than that.
    i = removed ? std::min(i - 1, static_cast<std::int32_t>(waitingScripts.size()) - 1) : i - 1;
  }
}

void RunLerpSystem(std::int32_t tickElapsed) {
  if (triggerHooks.SystemMenuOpen()) return;
  const std::int32_t savedTop = scriptEngine.callTop;
  const std::int32_t scratch = savedTop + 1;
  if (scratch >= kCallStackSize) return;
  for (std::int32_t i = static_cast<std::int32_t>(timedChanges.size()) - 1; i >= 0;
       i = std::min(i - 1, static_cast<std::int32_t>(timedChanges.size()) - 1)) {
    TimedChange& change = timedChanges[static_cast<std::size_t>(i)];
    if (change.paused != 0) continue;
    const std::int32_t code = change.code;
    try {
      change.elapsed = change.duration > 0
                           ? static_cast<std::int32_t>(std::min<std::int64_t>(
                                 static_cast<std::int64_t>(change.elapsed) + tickElapsed, change.duration))
                           : change.duration;
      const bool finished = change.elapsed == change.duration;
      const float fraction =
          change.duration != 0 ? static_cast<float>(change.elapsed) / static_cast<float>(change.duration) : 1.0f;
      const Variant value = TimedChangeValue(change, fraction);

      // A fresh frame: no locals or statics of an earlier script can take the
      // assignment of a global of the same name.
      CallFrame& frame = scriptEngine.callStack[static_cast<std::size_t>(scratch)];
      std::vector<ScriptValue> storage = std::move(frame.valueStack);
      frame = CallFrame();
      storage.assign(change.arguments.begin(), change.arguments.end());
      frame.valueStack = std::move(storage);
      frame.valueStackTop = static_cast<std::int32_t>(change.arguments.size()) - 1;
      ScriptValue target = change.target;
      const std::int32_t argumentUpper = change.argumentUpper;
      scriptEngine.callTop = scratch;
      scriptEngine.applyingTimedChange = true;
      ScriptValue result;
      ScriptCallCommand(code, target, argumentUpper, result, kModeAssign, value, true);
      scriptEngine.callTop = savedTop;
      scriptEngine.applyingTimedChange = false;
      // The assignment may have cancelled or added timed changes.
      if (finished && i < static_cast<std::int32_t>(timedChanges.size()) &&
          timedChanges[static_cast<std::size_t>(i)].code == code) {
        timedChanges.erase(timedChanges.begin() + i);
      }
    } catch (const std::exception& error) {
      scriptEngine.callTop = savedTop;
      scriptEngine.applyingTimedChange = false;
      LogTimedChangeError(code, error);
      if (i < static_cast<std::int32_t>(timedChanges.size()) &&
          timedChanges[static_cast<std::size_t>(i)].code == code) {
        timedChanges.erase(timedChanges.begin() + i);
      }
    }
  }
  scriptEngine.callTop = savedTop;
}

}  // namespace kiv
