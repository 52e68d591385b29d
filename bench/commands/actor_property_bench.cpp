// A script reads and assigns Char("Guard 250").X 100,000 times on a map of
// 500 characters ("SET Char(...).X = Char(...).X + 1", so the name is resolved
// twice per pass). Baselines, in the same run:
// - a C++ loop that resolves the name twice per pass with
//   ScriptResolveCharacter and reads and writes the actor's x: the resolution
//   without the interpreter, the dispatch and the executor's tail;
// - the same script loop assigning a global variable instead: the
//   interpreter's share without any actor property.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/actor_executor.h"
#include "core/text_encoding.h"
#include "script/script_actor_resolvers.h"
#include "script/script_value_ops.h"
#include "script_bench.h"

namespace {

using namespace kiv;
using bench::CompileBenchScript;
using bench::RunBenchScript;

constexpr int kPasses = 100000;
constexpr int kCharacters = 500;

struct World {
  std::int32_t actorLoop = -1;
  std::int32_t globalLoop = -1;
  std::size_t guard = 0;
};

World& SetUpWorld() {
  static World world = [] {
    bench::ResetScriptBench();
    InstallActorProperties();
    gameData.maps.Append();
    Map& town = gameData.maps[0];
    town.fileName = u"Town";
    for (int n = 1; n <= kCharacters; ++n) {
      Actor guard;
      guard.name = u"Character Guard " + Utf8ToUtf16(std::to_string(n));
      town.actors.push_back(std::move(guard));
    }
    scriptGlobals.variables.push_back({SymbolIntern(u"g"), Variant::Long(0)});
    World built;
    built.guard = 249;
    built.actorLoop = CompileBenchScript(
        u"LOCAL i\r\nSET i = 0\r\n:top\r\nSET i = i + 1\r\n"
        u"SET Char(\"Guard 250\").X = Char(\"Guard 250\").X + 1\r\nIF i < 100000\r\nGOTO top\r\nENDIF");
    built.globalLoop = CompileBenchScript(
        u"LOCAL i\r\nSET i = 0\r\n:top\r\nSET i = i + 1\r\nSET g = g + 1\r\nIF i < 100000\r\nGOTO "
        u"top\r\nENDIF");
    return built;
  }();
  return world;
}

void BM_ScriptReadsAndAssignsCharX(benchmark::State& state) {
  World& world = SetUpWorld();
  Actor& guard = gameData.maps[0].actors[world.guard];
  guard.x = 0;
  std::int64_t runs = 0;
  for (auto _ : state) {
    RunBenchScript(world.actorLoop, 0);
    ++runs;
  }
  if (gameData.maps[0].actors[world.guard].x != static_cast<float>(runs * kPasses)) {
    state.SkipWithError("the script did not count x up");
  }
}

void BM_CppResolvesTwiceAndReadsAndWritesX(benchmark::State& state) {
  SetUpWorld();
  CallFrame frame;
  frame.ownerMap = 0;
  kiv::Script empty;
  PushCallFrame(frame, empty);
  for (auto _ : state) {
    for (int pass = 0; pass < kPasses; ++pass) {
      const ScriptValue read = ScriptResolveCharacter(u"Guard 250", -1, true, false);
      const float x = gameData.maps[read.mapIndex].actors[static_cast<std::size_t>(VarToLong(read.value))].x;
      const ScriptValue written = ScriptResolveCharacter(u"Guard 250", -1, true, false);
      gameData.maps[written.mapIndex].actors[static_cast<std::size_t>(VarToLong(written.value))].x = x + 1;
    }
    benchmark::ClobberMemory();
  }
  PopCallFrame();
}

void BM_ScriptAssignsAGlobalVariable(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) RunBenchScript(world.globalLoop, 0);
}

}  // namespace

BENCHMARK(BM_ScriptReadsAndAssignsCharX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CppResolvesTwiceAndReadsAndWritesX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptAssignsAGlobalVariable)->Unit(benchmark::kMillisecond);
