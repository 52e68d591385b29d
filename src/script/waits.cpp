#include "script/waits.h"

#include <string>

#include "core/error.h"
#include "core/number_text.h"
#include "script/script_hooks.h"
#include "script/script_value_ops.h"

namespace kiv {

std::vector<WaitingScript> waitingScripts;

Variant ScriptMakeWaitRequest(std::int32_t combination, std::int32_t time, std::int32_t actor, std::int32_t flags,
                              std::int32_t map, const Variant& controls, std::int32_t fieldText,
                              std::int32_t fieldTarget, std::int32_t player) {
  if (player == -1) player = scriptHooks.CurrentPlayer();
  return Variant::Array(kVarVariant, {Variant::Long(0), Variant::Long(combination), Variant::Long(time),
                                      Variant::Long(actor), Variant::Long(flags), Variant::Long(map), controls,
                                      Variant::Long(fieldText), Variant::Long(fieldTarget), Variant::Long(player)});
}

void ScriptSuspendForWait() {
  const CallFrame& top = TopFrame();
  if (top.valueStack.empty() || !top.valueStack[0].value.IsArray() ||
      top.valueStack[0].value.Elements().size() < kWaitRequestSize) {
    RaiseError(kErrTypeMismatch, "Type mismatch");
  }
  const std::vector<Variant>& request = top.valueStack[0].value.Elements();
  WaitingScript wait;
  wait.combination = static_cast<std::uint8_t>(VarToLong(request[kWaitRequestCombination]));
  wait.timeLeft = VarToLong(request[kWaitRequestTime]);
  wait.actor = VarToLong(request[kWaitRequestActor]);
  wait.map = VarToLong(request[kWaitRequestMap]);
  wait.flags = VarToLong(request[kWaitRequestFlags]);
  wait.fieldText = VarToLong(request[kWaitRequestFieldText]);
  wait.fieldTarget = VarToLong(request[kWaitRequestFieldTarget]);
  wait.player = VarToLong(request[kWaitRequestPlayer]);
  const Variant& controls = request[kWaitRequestControls];
  if (controls.IsArray()) {
    const std::vector<Variant>& elements = controls.Elements();
    if (!elements.empty()) {
      wait.controlCombination = static_cast<std::uint8_t>(VarToLong(elements[0]));
      for (std::size_t i = 1; i < elements.size(); ++i) wait.controls.push_back(VarToLong(elements[i]));
    }
  } else if (IsNumericValue(controls) && ToNumber(controls) >= 0) {
    wait.controls.push_back(VarToLong(controls));
  }

  std::int32_t root = scriptEngine.callTop;
  while (root > 0 && scriptEngine.callStack[static_cast<std::size_t>(root)].suspendRoot == 0) --root;
  for (std::int32_t i = root; i <= scriptEngine.callTop; ++i) {
    wait.frames.push_back(scriptEngine.callStack[static_cast<std::size_t>(i)]);
  }
  waitingScripts.push_back(std::move(wait));
}

TriggerRun SavedFrameRun(const CallFrame& saved) {
  TriggerRun run;
  run.ownerKind = saved.ownerKind;
  run.ownerIndex = saved.ownerIndex;
  run.subIndex = saved.subIndex;
  run.callerValue = saved.callerValue;
  run.map = saved.ownerMap;
  run.relateActor = saved.relateActor;
  run.relateValue2 = saved.relateValue2;
  run.relateDoor = saved.relateDoor;
  run.relateTurret = saved.relateTurret;
  run.relateItem = saved.relateItem;
  run.player = saved.player;
  return run;
}

void ClearRunningFlag(std::int32_t scriptIndex) {
  if (scriptIndex >= 0 && scriptIndex < static_cast<std::int32_t>(scriptTable.scripts.size())) {
    scriptTable.scripts[static_cast<std::size_t>(scriptIndex)].hasRun = 0;
  }
}

namespace {

void ReleaseFrames(const WaitingScript& wait) {
  for (const CallFrame& frame : wait.frames) ClearRunningFlag(frame.scriptIndex);
}

}  // namespace

void RemoveWaitingScript(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(waitingScripts.size())) {
    RaiseError(kErrIndex, "Waiting script " + std::to_string(index) + " does not exist.");
  }
  ReleaseFrames(waitingScripts[static_cast<std::size_t>(index)]);
  waitingScripts.erase(waitingScripts.begin() + index);
}

void ClearWaitingScripts() {
  for (const WaitingScript& wait : waitingScripts) ReleaseFrames(wait);
  waitingScripts.clear();
}

void CancelWaitsOfMap(std::int32_t map, bool spareNewest) {
  std::int32_t i = static_cast<std::int32_t>(waitingScripts.size()) - (spareNewest ? 2 : 1);
  for (; i >= 0; --i) {
    const WaitingScript& wait = waitingScripts[static_cast<std::size_t>(i)];
    bool onMap = wait.map == map;
    for (const CallFrame& frame : wait.frames) onMap = onMap || frame.ownerMap == map;
    if (onMap) RemoveWaitingScript(i);
  }
}

}  // namespace kiv
