// Text.Replace and Text.Search run by a script on a 100 KB text (51,200
// UTF-16 characters with a match every 512), against a hand-written
// case-insensitive search and replace over the same UTF-16 text. The script
// figures include the interpreter, reading the text from a global variable
// (a copy), the letter-case folding of both texts and the result written
// back; the hand-written baseline folds the letters with the same
// ToLowerText and builds the same result string, but has no script values.
// A last figure gives the heap bytes that one Structure.Evaluate of a
// one-line text leaves behind (each evaluation keeps its compiled script).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "script/script_text.h"
#include "script_bench.h"

namespace {

using namespace kiv;
using bench::CompileBenchScript;
using bench::RunBenchScript;

constexpr std::size_t kCharacters = 51200;  // 100 KB of UTF-16

std::u16string BigText() {
  std::u16string text;
  text.reserve(kCharacters);
  while (text.size() < kCharacters) {
    std::u16string block(506, u'x');
    block += u"NeeDle";
    text += block;
  }
  text.resize(kCharacters);
  return text;
}

struct World {
  std::int32_t replace = -1;
  std::int32_t search = -1;
  std::int32_t evaluate = -1;
  std::u16string text;
};

World& SetUpWorld() {
  static World world = [] {
    bench::ResetScriptBench();
    World built;
    built.text = BigText();
    scriptGlobals.variables.push_back({SymbolIntern(u"big"), Variant::Text(built.text)});
    built.replace = CompileBenchScript(u"Return(Text.Replace(big, \"needle\", \"pin\"))");
    // A part that is nowhere: the search scans the whole text.
    built.search = CompileBenchScript(u"Return(Text.Search(big, \"NEEDLEX\", 1, 0))");
    built.evaluate = CompileBenchScript(u"Return(Structure.Evaluate(\"Return(1 + 1)\"))");
    return built;
  }();
  return world;
}

std::u16string HandReplace(const std::u16string& text, const std::u16string& find,
                           const std::u16string& with) {
  const std::u16string lowerText = ToLowerText(text);
  const std::u16string lowerFind = ToLowerText(find);
  std::u16string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  for (std::size_t at = lowerText.find(lowerFind); at != std::u16string::npos;
       at = lowerText.find(lowerFind, at + find.size())) {
    out.append(text, copied, at - copied);
    out += with;
    copied = at + find.size();
  }
  out.append(text, copied);
  return out;
}

void BM_ScriptTextReplace(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) benchmark::DoNotOptimize(RunBenchScript(world.replace));
}
BENCHMARK(BM_ScriptTextReplace)->Unit(benchmark::kMicrosecond);

void BM_HandTextReplace(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) benchmark::DoNotOptimize(HandReplace(world.text, u"needle", u"pin"));
}
BENCHMARK(BM_HandTextReplace)->Unit(benchmark::kMicrosecond);

void BM_ScriptTextSearch(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) benchmark::DoNotOptimize(RunBenchScript(world.search));
}
BENCHMARK(BM_ScriptTextSearch)->Unit(benchmark::kMicrosecond);

void BM_HandTextSearch(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) {
    const std::u16string text = ToLowerText(world.text);
    benchmark::DoNotOptimize(text.find(ToLowerText(u"NEEDLEX"), 0));
  }
}
BENCHMARK(BM_HandTextSearch)->Unit(benchmark::kMicrosecond);

// Heap bytes that 10,000 evaluations leave, per evaluation.
void BM_EvaluateMemory(benchmark::State& state) {
  World& world = SetUpWorld();
  constexpr int kEvaluations = 10000;
  double perEvaluation = 0;
  for (auto _ : state) {
    const std::size_t scripts = scriptTable.scripts.size();
    scriptTable.scripts.reserve(scripts + kEvaluations);  // the table's own growth is not counted
    const auto before = mallinfo2().uordblks;
    for (int i = 0; i < kEvaluations; ++i) benchmark::DoNotOptimize(RunBenchScript(world.evaluate));
    const auto after = mallinfo2().uordblks;
    perEvaluation = static_cast<double>(after - before) / kEvaluations +
                    static_cast<double>(sizeof(kiv::Script));  // the record's place in the table
    scriptTable.scripts.resize(scripts);
  }
  state.counters["bytes_per_evaluation"] = perEvaluation;
}
BENCHMARK(BM_EvaluateMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
