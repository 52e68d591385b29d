// A script reads Player(1).Control("Action") 100,000 times (a constructor, the
// control looked up by name, the party executor's control case). Baselines, in
// the same run:
// - the same script loop assigning a global variable instead: the
//   interpreter's share, so the ratio is what the two dispatches and the
//   look-up by name add;
// - 100,000 direct InputTestBinding calls for that control: the binding test
//   alone, without interpreter or look-up.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/object_executor.h"
#include "media/controls_table.h"
#include "media/input_binding.h"
#include "script/script_value_ops.h"
#include "script_bench.h"

namespace {

using namespace kiv;
using bench::CompileBenchScript;
using bench::RunBenchScript;

constexpr int kPasses = 100000;
constexpr std::int32_t kBindingControl = 1;

struct Loops {
  std::int32_t controlLoop = -1;
  std::int32_t globalLoop = -1;
};

Loops& SetUp() {
  static Loops loops = [] {
    bench::ResetScriptBench();
    InstallObjectExecutor();
    gameData.maps.Append();
    gameData.maps[0].fileName = u"Town";
    projectState.players.assign(1, Player());
    projectState.players[0].mapIndex = 0;
    // A few controls before the one asked for, as a game has them.
    controls.assign(12, Control());
    for (std::size_t k = 0; k < controls.size(); ++k) {
      controls[k].name = controls[k].displayName =
          u"Control " + std::u16string(1, static_cast<char16_t>(u'A' + k));
    }
    controls[10].name = controls[10].displayName = u"Action";
    controls[10].slots[0].bindings = {{2, 87}};
    scriptGlobals.variables.push_back({SymbolIntern(u"g"), Variant::Long(0)});
    Loops built;
    built.controlLoop = CompileBenchScript(
        u"LOCAL i\r\nSET i = 0\r\n:top\r\nSET i = i + 1\r\nSET g = Player(1).Control(\"Action\")\r\n"
        u"IF i < 100000\r\nGOTO top\r\nENDIF\r\nReturn(i)");
    built.globalLoop = CompileBenchScript(
        u"LOCAL i\r\nSET i = 0\r\n:top\r\nSET i = i + 1\r\nSET g = i\r\nIF i < 100000\r\nGOTO "
        u"top\r\nENDIF\r\nReturn(i)");
    return built;
  }();
  return loops;
}

void CheckRan(benchmark::State& state, const Variant& result) {
  if (VarToLong(result) != kPasses) state.SkipWithError("the script loop did not run to its end");
}

void BM_ScriptReadsPlayerControl(benchmark::State& state) {
  Loops& loops = SetUp();
  Variant last;
  for (auto _ : state) last = RunBenchScript(loops.controlLoop, 0);
  CheckRan(state, last);
}

void BM_ScriptAssignsAGlobalVariable(benchmark::State& state) {
  Loops& loops = SetUp();
  Variant last;
  for (auto _ : state) last = RunBenchScript(loops.globalLoop, 0);
  CheckRan(state, last);
}

void BM_DirectInputTestBinding(benchmark::State& state) {
  SetUp();
  for (auto _ : state) {
    int held = 0;
    for (int pass = 0; pass < kPasses; ++pass) held += InputTestBinding(0, kBindingControl, 10, 0, 0) ? 1 : 0;
    benchmark::DoNotOptimize(held);
  }
}

}  // namespace

BENCHMARK(BM_ScriptReadsPlayerControl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptAssignsAGlobalVariable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectInputTestBinding)->Unit(benchmark::kMillisecond);
