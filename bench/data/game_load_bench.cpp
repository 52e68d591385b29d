// Loading a whole generated game (200 sets of every kind and 50 maps of 32 x 32
// tiles with actors, pick-ups and lights) from the package held in memory, as
// the start of a game does: sets, interfaces, maps reached by reference,
// linking. A second benchmark measures inflating the same entries alone, the
// share of the load that zlib takes.
#include <benchmark/benchmark.h>

#include <zlib.h>

#include "core/package.h"
#include "data/game_data.h"
#include "data/game_loading.h"
#include "generated_game.h"
#include "support/sample_game.h"

namespace kiv {
namespace {

constexpr std::int32_t kSets = 200;
constexpr std::int32_t kMaps = 50;

const ByteList& GamePackage() {
  static const ByteList bytes = test::GeneratedGamePackage(kSets, kMaps).Build();
  return bytes;
}

void LoadWholeGame() {
  bench::OpenGeneratedGame(GamePackage());
  dataSettings.gridCellSize = 8;
  LoadGameData();
  bench::ReachGeneratedMaps(kMaps);
}

void BM_LoadGeneratedGame(benchmark::State& state) {
  GamePackage();  // built once, outside the timing
  for (auto _ : state) {
    LoadWholeGame();
    benchmark::DoNotOptimize(gameData.maps.LastIndex());
  }
  state.counters["maps"] = static_cast<double>(gameData.maps.LastIndex() + 1);
}
BENCHMARK(BM_LoadGeneratedGame)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

// What PackageParse inflates for the same package: every compressed entry.
void BM_InflateGeneratedGame(benchmark::State& state) {
  const std::vector<PackageEntry> entries =
      PackageParse(GamePackage().data(), GamePackage().size(), kPackageOldNameLength);
  std::vector<ByteList> stored;
  for (const PackageEntry& entry : entries) {
    if (!entry.compressed) continue;
    ByteList packed(static_cast<std::size_t>(entry.storedSize));
    std::copy_n(GamePackage().begin() + entry.position, packed.size(), packed.begin());
    stored.push_back(std::move(packed));
  }
  ByteList out(1 << 24);
  for (auto _ : state) {
    for (const ByteList& packed : stored) {
      uLongf size = static_cast<uLongf>(out.size());
      uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size()));
      benchmark::DoNotOptimize(size);
    }
  }
}
BENCHMARK(BM_InflateGeneratedGame)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
