// Writing and reading the save of a generated game of 50 maps holding 10,000
// objects: each save streams the maps through the compressor at level 9; each
// load checks the whole file, resets the game and reads every map back.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/zlib_file.h"
#include "data/game_data.h"
#include "data/game_loading.h"
#include "save_bench_game.h"
#include "state/save_game.h"
#include "state/state_block.h"
#include "support/sample_game.h"
#include "support/state_block_writer.h"

namespace kiv {
namespace {

using bench::CountObjects;

void StartGame() { bench::StartSaveBenchGame(); }

std::string SavePath() {
  return (std::filesystem::temp_directory_path() / ("kiv-save-bench-" + std::to_string(::getpid()) + ".kSV"))
      .string();
}

void BM_SaveGame(benchmark::State& state) {
  StartGame();
  const std::string path = SavePath();
  for (auto _ : state) SaveGame(path);
  state.counters["objects"] = static_cast<double>(CountObjects());
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
  state.counters["stream_bytes"] = static_cast<double>(ReadCompressedFile(path).size());
  std::remove(path.c_str());
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);

void BM_LoadGame(benchmark::State& state) {
  StartGame();
  const std::string path = SavePath();
  SaveGame(path);
  for (auto _ : state) {
    if (LoadGame(path) != 0) state.SkipWithError("the save did not load");
  }
  state.counters["objects"] = static_cast<double>(CountObjects());
  state.counters["maps"] = static_cast<double>(gameData.maps.LastIndex() + 1);
  std::remove(path.c_str());
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
