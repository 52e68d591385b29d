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

#include "script_bench.h"

namespace {

using namespace kiv;
using bench::CompileBenchScript;
using bench::RunBenchScript;

constexpr int kCount = 100000;

std::vector<double> RandomNumbers() {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> spread(-1e6, 1e6);
  std::vector<double> numbers(kCount);
  for (double& n : numbers) n = spread(random);
  return numbers;
}

struct World {
  std::int32_t add = -1;
  std::int32_t sort = -1;
  std::vector<Variant> unsorted;
};

World& SetUpWorld() {
  static World world = [] {
    bench::ResetScriptBench();
    std::vector<Variant> source;
    for (const double n : RandomNumbers()) source.push_back(Variant::Double(n));
    scriptGlobals.collections.push_back({SymbolIntern(u"source"), std::move(source)});
    scriptGlobals.collections.push_back({SymbolIntern(u"bag"), {}});
    World built;
    built.add = CompileBenchScript(
        u"LOCAL i\r\nSET i = 0\r\nCollection.Clear(bag)\r\n:top\r\nSET i = i + 1\r\n"
        u"Collection.Add(bag, Collection.Item(source, i))\r\nIF i < 100000\r\nGOTO top\r\nENDIF");
    built.sort = CompileBenchScript(u"Collection.Sort(bag, 0, 1)");
    RunBenchScript(built.add);
    built.unsorted = scriptGlobals.collections[1].elements;
    return built;
  }();
  return world;
}

void BM_ScriptAddsNumbers(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) RunBenchScript(world.add);
  if (scriptGlobals.collections[1].elements.size() != kCount) state.SkipWithError("the script added too few");
}

void BM_ScriptSortsNumbers(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) {
    state.PauseTiming();
    scriptGlobals.collections[1].elements = world.unsorted;
    state.ResumeTiming();
    RunBenchScript(world.sort);
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
