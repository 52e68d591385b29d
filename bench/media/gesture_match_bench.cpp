// One drawn stroke matched against 100 gesture templates, as a trigger
// condition pass over many gesture conditions would do. The "per_match"
// counter is the time of one template match.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "media/gestures.h"

namespace {

// A wobbly curve of `count` points; `seed` varies its turns.
kiv::Stroke MakeCurve(int seed, int count) {
  kiv::Stroke stroke;
  float x = 0.0f;
  float y = 0.0f;
  for (int i = 0; i < count; ++i) {
    const double angle = 0.3 * seed + 0.15 * i * (1 + seed % 5) + std::sin(i * 0.7 + seed);
    x += static_cast<float>(8.0 * std::cos(angle));
    y += static_cast<float>(8.0 * std::sin(angle));
    stroke.points.push_back({x, y});
  }
  return stroke;
}

void BM_MatchAgainst100Templates(benchmark::State& state) {
  const float minimumFraction = static_cast<float>(state.range(0)) / 100.0f;
  std::vector<kiv::Stroke> templates;
  for (int t = 0; t < 100; ++t) templates.push_back(MakeCurve(t, 32));
  const kiv::Stroke drawn = MakeCurve(17, 45);
  kiv::GestureMatchResult result;
  for (auto _ : state) {
    for (const kiv::Stroke& templateStroke : templates) {
      kiv::GestureMatch(templateStroke, drawn, minimumFraction, result);
      benchmark::DoNotOptimize(result.score);
    }
  }
  state.counters["per_match"] =
      benchmark::Counter(100, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
// Minimum fraction 1 (the full template only), 0.8 and 0.5 (more prefixes).
BENCHMARK(BM_MatchAgainst100Templates)->Arg(100)->Arg(80)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace
