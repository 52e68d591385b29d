#include "script/trigger_engine_setup.h"

#include "data/data_hooks.h"
#include "script/call_frame.h"
#include "script/condition_compiler.h"
#include "script/script_hooks.h"
#include "script/script_state_hooks.h"
#include "script/timed_changes.h"
#include "script/trigger_dispatch.h"
#include "script/waits.h"
#include "state/state_hooks.h"

namespace kiv {

namespace {
constexpr std::int32_t kLoadEventSlot = 9;
}  // namespace

void InstallTriggerEngine() {
  scriptHooks.RunTrigger = [](const TriggerRun& run) { return ScriptRunTrigger(run); };
  dataHooks.BuildTriggerConditions = [](Trigger& trigger) { BuildTriggerConditions(trigger); };
  dataHooks.ScriptRaiseObjectEvent = [](std::int32_t ownerKind, std::int32_t object, std::int32_t eventSymbol,
                                        std::int32_t map) {
    ScriptRaiseObjectEvent(ownerKind, object, eventSymbol, map);
  };
  // A game reset (a new game, or a load that failed half way) drops the waits and timed changes.
  dataHooks.ResetScriptRunState = [] { ResetTriggerEngine(); };
  // A loaded save runs system script 9, the load event.
  stateHooks.RunLoadEvent = [] {
    TriggerRun run;
    run.ownerKind = kOwnerSystem;
    run.ownerIndex = kLoadEventSlot;
    run.suspendRoot = -1;
    ScriptRunTrigger(run);
  };
  InstallScriptStateHooks();
}

void ResetTriggerEngine() {
  ClearWaitingScripts();
  timedChanges.clear();
  gestureResults = {};
}

}  // namespace kiv
