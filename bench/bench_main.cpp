// The main of every benchmark program: Google Benchmark's own, except that a
// benchmark that sets neither runs 0.2 s of warm-up iterations first and
// times at least 0.5 s, so that no figure is one iteration that paid the
// set-up. The command line's --benchmark_min_warmup_time and
// --benchmark_min_time, and a benchmark's own MinWarmUpTime, MinTime or
// Iterations, take precedence.
#include <benchmark/benchmark.h>

#include <string_view>
#include <vector>

int main(int argc, char** argv) {
  bool warmUpGiven = false;
  bool minTimeGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg.starts_with("--benchmark_min_warmup_time")) warmUpGiven = true;
    if (arg.starts_with("--benchmark_min_time")) minTimeGiven = true;
  }
  static char warmUp[] = "--benchmark_min_warmup_time=0.2";
  static char minTime[] = "--benchmark_min_time=0.5";
  std::vector<char*> args(argv, argv + argc);
  if (!warmUpGiven) args.insert(args.begin() + 1, warmUp);
  if (!minTimeGiven) args.insert(args.begin() + 1, minTime);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
