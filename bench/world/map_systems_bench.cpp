// An interface of 300 fields updated by the map systems for 600 ticks of
// 16 ms: 100 fields bind their value and maximum to live scripts, and a list
// field spawns 50 items whose texts change every tenth tick. The second
// benchmark runs the same scripts alone through the trigger dispatcher, so
// that the ratio of the two is the field system's own cost.
#include <benchmark/benchmark.h>

#include <string>

#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/script_link.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_engine_setup.h"
#include "script/script_hooks.h"
#include "script/script_stack_access.h"
#include "script/trigger_dispatch.h"
#include "script/trigger_engine_setup.h"
#include "world/map_system_fields.h"
#include "world/map_systems.h"

namespace {

using namespace kiv;

constexpr int kFields = 300;
constexpr int kLiveFields = 100;
constexpr int kItems = 50;
constexpr int kTicks = 600;
constexpr std::int32_t kTick = 16;

std::int32_t tickNumber = 0;
std::int32_t changeEvery = 10;  // ticks between changes of the list's texts; 0 never
std::int32_t returnSymbol = 0, itemsSymbol = 0, tickSymbol = 0;

Variant ReturnRequest(Variant value) {
  return Variant::Array(kVarVariant, {Variant::Long(2), std::move(value)});
}

// Return(v) returns v, Tick reads the tick number, Items() returns the list's
// texts, which change every tenth tick.
void Executor(std::int32_t code, ScriptValue&, std::int32_t, ScriptValue& result, std::int16_t, const Variant&,
              bool) {
  if (code == returnSymbol) {
    result = ScriptValue{kValueControl, ReturnRequest(ScriptGetArgument(0)), 0};
  } else if (code == tickSymbol) {
    result.value = Variant::Long(tickNumber);
  } else if (code == itemsSymbol) {
    std::vector<Variant> texts;
    const std::string version = std::to_string(changeEvery > 0 ? tickNumber / changeEvery : 0);
    for (int i = 0; i < kItems; ++i) texts.push_back(Variant::Text(Utf8ToUtf16("Item " + std::to_string(i) + " v" + version)));
    result = ScriptValue{kValueControl, ReturnRequest(Variant::Array(kVarVariant, std::move(texts))), 0};
  }
}

Script Compiled(const std::u16string& text) {
  Script script;
  script.text = text;
  CompileScript(script);
  LinkScript(script, true);
  RegisterScript(script);
  return script;
}

void SetUpInterface() {
  SymbolTableReset();
  RegisterScriptIdentifiers();
  scriptTable.Reset();
  gameData.Reset();
  ResetScriptEngine();
  scriptHooks.Reset();
  InstallScriptDataHooks();
  InstallTriggerEngine();
  ResetTriggerEngine();
  returnSymbol = SymbolIntern(u"Return");
  itemsSymbol = SymbolIntern(u"Items");
  tickSymbol = SymbolIntern(u"Tick");
  scriptHooks.internalExecutor = Executor;
  shell.Reset();
  shell.frameElapsed = kTick;
  tickNumber = 0;
  const std::int32_t map = gameData.maps.Append();
  Map& m = gameData.maps[map];
  m.isInterface = true;
  for (int i = 0; i < kFields; ++i) {
    Field f;
    f.name = Utf8ToUtf16("Field " + std::to_string(i));
    f.face = 2;
    f.x = static_cast<float>(10 * (i % 20));
    f.y = static_cast<float>(10 * (i / 20));
    FieldLiveUpdate(f) = 0;
    if (i < kLiveFields) {
      FieldLiveUpdate(f) = 1;
      f.scripts[kValueScriptValue] = Compiled(u"Return(Tick + " + Utf8ToUtf16(std::to_string(i)) + u")");
      f.scripts[kValueScriptMaxValue] = Compiled(u"Return(1000)");
    }
    m.fields.push_back(std::move(f));
  }
  Field& list = m.fields.back();
  FieldLiveUpdate(list) = 1;
  FieldItemWidth(list) = 100;
  FieldItemHeight(list) = 20;
  FieldItemColumns(list) = 1;
  list.scripts[kValueScriptListItems] = Compiled(u"Items()");
}

// Argument: ticks between changes of the list's texts (0 never, which leaves
// the cost of respawning the items out).
void BM_FieldSystem(benchmark::State& state) {
  changeEvery = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    SetUpInterface();
    state.ResumeTiming();
    for (tickNumber = 0; tickNumber < kTicks; ++tickNumber) UpdateMapSystems(0, -1, -1, false);
  }
  state.counters["time_per_tick"] =
      benchmark::Counter(static_cast<double>(kTicks) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
  state.counters["fields_at_end"] = static_cast<double>(gameData.maps[0].fields.size());
}

// The same value, maximum and list scripts run alone, once per tick each.
void BM_ScriptsAlone(benchmark::State& state) {
  changeEvery = 10;
  for (auto _ : state) {
    state.PauseTiming();
    SetUpInterface();
    const std::int32_t list = kFields - 1;
    state.ResumeTiming();
    for (tickNumber = 0; tickNumber < kTicks; ++tickNumber) {
      TriggerRun run;
      run.ownerKind = kOwnerFieldValue;
      run.map = 0;
      for (std::int32_t f = 0; f < kLiveFields; ++f) {
        run.ownerIndex = f;
        for (std::int32_t slot : {0, 1}) {
          run.subIndex = slot;
          benchmark::DoNotOptimize(ScriptRunTrigger(run));
        }
      }
      run.ownerIndex = list;
      run.subIndex = static_cast<std::int32_t>(kValueScriptListItems);
      benchmark::DoNotOptimize(ScriptRunTrigger(run));
    }
  }
  state.counters["time_per_tick"] =
      benchmark::Counter(static_cast<double>(kTicks) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

BENCHMARK(BM_FieldSystem)->Arg(10)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptsAlone)->Unit(benchmark::kMillisecond);

}  // namespace
