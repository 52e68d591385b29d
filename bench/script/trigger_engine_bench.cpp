// 1,000 scripts waiting on timers (each resumes every 1 to 50 ticks and waits
// again) and 1,000 running timed changes of global variables, advanced by the
// Call Back and Lerp systems for 600 ticks of 16 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/script_link.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_engine_setup.h"
#include "script/script_globals.h"
#include "script/script_hooks.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "script/trigger_dispatch.h"
#include "script/trigger_engine_setup.h"
#include "script/waits.h"
#include "script/world_systems.h"

namespace {

constexpr int kScripts = 1000;
constexpr int kChanges = 1000;
constexpr int kTicks = 600;
constexpr std::int32_t kTick = 16;

using namespace kiv;

// Pause(ms) waits; any other name is a global variable.
void Executor(std::int32_t code, ScriptValue&, std::int32_t, ScriptValue& result, std::int16_t mode,
              const Variant& value, bool) {
  static const std::int32_t pause = SymbolIntern(u"Pause");
  if (code == pause) {
    result = ScriptValue{kValueControl,
                         ScriptMakeWaitRequest(1, VarToLong(ScriptGetArgument(0)), -1, 0, -1, Variant::Long(-1), -1, -1, 0), 0};
    return;
  }
  const std::int32_t first = scriptGlobals.variables.empty() ? 0 : scriptGlobals.variables[0].symbol;
  const std::int32_t index = code - first;  // the globals have consecutive symbols
  if (index < 0 || index >= static_cast<std::int32_t>(scriptGlobals.variables.size())) return;
  ScriptVariable& variable = scriptGlobals.variables[static_cast<std::size_t>(index)];
  if (mode == -1) {
    variable.value = value;
  } else {
    result.value = variable.value;
  }
}

void SetUpWorld() {
  SymbolTableReset();
  RegisterScriptIdentifiers();
  scriptTable.Reset();
  gameData.Reset();
  ResetScriptEngine();
  scriptHooks.Reset();
  InstallScriptDataHooks();
  InstallTriggerEngine();
  ResetTriggerEngine();
  scriptHooks.internalExecutor = Executor;
  gameData.maps.Append();
  for (int i = 0; i < kScripts; ++i) {
    Trigger trigger;
    trigger.event = 600;
    trigger.script.text = u":top\r\nPause(" + Utf8ToUtf16(std::to_string(kTick * (1 + i % 50))) + u")\r\nGOTO top";
    CompileScript(trigger.script);
    LinkScript(trigger.script, true);
    RegisterScript(trigger.script);
    Actor actor;
    actor.triggers.push_back(std::move(trigger));
    gameData.maps[0].actors.push_back(std::move(actor));
  }
  for (int i = 0; i < kChanges; ++i) {
    const std::int32_t symbol = SymbolIntern(u"G" + Utf8ToUtf16(std::to_string(i)));
    scriptGlobals.variables.push_back(ScriptVariable{symbol, Variant::Long(0)});
    TimedChange change;
    change.code = symbol;
    change.start = Variant::Long(0);
    change.end = Variant::Long(1000 + i);
    change.duration = kTick * kTicks * 2;  // still running after the last tick
    timedChanges.push_back(std::move(change));
  }
  for (int i = 0; i < kScripts; ++i) {
    TriggerRun run;
    run.ownerKind = kOwnerActor;
    run.ownerIndex = i;
    run.subIndex = 0;
    run.map = 0;
    ScriptRunTrigger(run);
  }
}

void BM_WaitsAndTimedChangesPerTick(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    SetUpWorld();
    state.ResumeTiming();
    for (int tick = 0; tick < kTicks; ++tick) {
      RunCallBackSystem(kTick, kTick);
      RunLerpSystem(kTick);
    }
    state.PauseTiming();
    if (waitingScripts.size() != static_cast<std::size_t>(kScripts) ||
        timedChanges.size() != static_cast<std::size_t>(kChanges)) {
      state.SkipWithError("the world lost waits or timed changes");
    }
    state.ResumeTiming();
  }
  state.counters["time_per_tick"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kTicks,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WaitsAndTimedChangesPerTick)->Unit(benchmark::kMillisecond);

}  // namespace
