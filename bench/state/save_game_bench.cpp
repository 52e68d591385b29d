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
#include "generated_game.h"
#include "state/save_game.h"
#include "state/state_block.h"
#include "support/sample_game.h"
#include "support/state_block_writer.h"

namespace kiv {
namespace {

constexpr std::int32_t kSets = 200;
constexpr std::int32_t kMaps = 50;
constexpr std::size_t kObjects = 10000;

std::size_t CountObjects() {
  std::size_t count = 0;
  for (std::int32_t m = -1; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    count += map.doors.size() + map.zones.size() + map.boundaries.size() + map.actors.size() +
             map.pickUps.size() + map.lights.size() + map.speakers.size() + map.projectiles.size() +
             map.spawns.size() + map.fields.size() + map.positionedTexts.size();
  }
  return count;
}

// The generated game started, its maps loaded, then actors, pick-ups and
// lights copied along a row until the maps hold kObjects objects.
void StartGame() {
  static const ByteList bytes = [] {
    test::PackageWriter writer = test::GeneratedGamePackage(kSets, kMaps);
    writer.AddCompressed("INTRO.kst",
                         test::ProjectStateBytes(kCurrentFormatVersion, test::StateBlockFixture{}));
    return writer.Build();
  }();
  bench::OpenGeneratedGame(bytes);
  LoadProjectState();
  LoadGameData();
  bench::ReachGeneratedMaps(kMaps);
  for (std::size_t n = CountObjects(), step = 0; n < kObjects; ++n, ++step) {
    Map& map = gameData.maps[static_cast<std::int32_t>(step % kMaps)];
    const float x = 32.0f * static_cast<float>(step / kMaps % 32);
    switch (step / kMaps % 3) {
      case 0:
        map.actors.push_back(map.actors.front());
        map.actors.back().x = x;
        break;
      case 1:
        map.pickUps.push_back(map.pickUps.front());
        map.pickUps.back().x = x;
        break;
      default:
        map.lights.push_back(map.lights.front());
        map.lights.back().x = x;
        break;
    }
  }
}

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
