// A script adds 100,000 random numbers to a user collection (read one by one
// from a second collection, as the script language has no random numbers of
// its own yet) and sorts it numerically with Collection.Sort. The baseline is
// std::sort of the same doubles in a std::vector: no values of the script
// language, no number conversions, no interpreter. The sort figures include
// only the sort statement; restoring the unsorted list is outside the timing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "commands/internal_executor.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/script_link.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_engine_setup.h"
#include "script/script_globals.h"
#include "script/script_hooks.h"
#include "script/script_interpreter.h"
#include "state/project_settings_block.h"

namespace {

using namespace kiv;

constexpr int kCount = 100000;

std::vector<double> RandomNumbers() {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> spread(-1e6, 1e6);
  std::vector<double> numbers(kCount);
  for (double& n : numbers) n = spread(random);
  return numbers;
}

std::int32_t Compile(const std::u16string& text) {
  kiv::Script script;
  script.text = text;
  CompileScript(script);
  LinkScript(script, true);
  return RegisterScript(script);
}

Variant Run(std::int32_t index) {
  PushCallFrame(CallFrame(), scriptTable.scripts[static_cast<std::size_t>(index)]);
  const Variant result = ScriptExecute(index, 0, true);
  PopCallFrame();
  return result;
}

struct World {
  std::int32_t add = -1;
  std::int32_t sort = -1;
  std::vector<Variant> unsorted;
};

World& SetUpWorld() {
  static World world = [] {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    ResetScriptEngine();
    scriptHooks.Reset();
    dataHooks.Reset();
    storedProjectSettings.Reset();
    InstallInternalCommands();
    scriptGlobals.Reset();
    std::vector<Variant> source;
    for (const double n : RandomNumbers()) source.push_back(Variant::Double(n));
    scriptGlobals.collections.push_back({SymbolIntern(u"source"), std::move(source)});
    scriptGlobals.collections.push_back({SymbolIntern(u"bag"), {}});
    World built;
    built.add = Compile(
        u"LOCAL i\r\nSET i = 0\r\nCollection.Clear(bag)\r\n:top\r\nSET i = i + 1\r\n"
        u"Collection.Add(bag, Collection.Item(source, i))\r\nIF i < 100000\r\nGOTO top\r\nENDIF");
    built.sort = Compile(u"Collection.Sort(bag, 0, 1)");
    Run(built.add);
    built.unsorted = scriptGlobals.collections[1].elements;
    return built;
  }();
  return world;
}

void BM_ScriptAddsNumbers(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) Run(world.add);
  if (scriptGlobals.collections[1].elements.size() != kCount) state.SkipWithError("the script added too few");
}

void BM_ScriptSortsNumbers(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) {
    state.PauseTiming();
    scriptGlobals.collections[1].elements = world.unsorted;
    state.ResumeTiming();
    Run(world.sort);
  }
  const std::vector<Variant>& sorted = scriptGlobals.collections[1].elements;
  if (!std::is_sorted(sorted.begin(), sorted.end(),
                      [](const Variant& a, const Variant& b) { return a.AsDouble() < b.AsDouble(); })) {
    state.SkipWithError("not sorted");
  }
}

void BM_StdSortOfTheSameDoubles(benchmark::State& state) {
  const std::vector<double> numbers = RandomNumbers();
  std::vector<double> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = numbers;
    state.ResumeTiming();
    std::sort(work.begin(), work.end());
    benchmark::DoNotOptimize(work.data());
  }
}

}  // namespace

BENCHMARK(BM_ScriptAddsNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptSortsNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSortOfTheSameDoubles)->Unit(benchmark::kMillisecond);
