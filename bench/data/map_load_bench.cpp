// Reading a 256 x 256-tile map with three layers in each of its three tile-layer
// groups from the package held in memory.
#include <benchmark/benchmark.h>

#include "core/package.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/script_record.h"
#include "support/map_writer.h"

namespace kiv {
namespace {

constexpr std::int32_t kTiles = 256;
constexpr std::int32_t kLayers = 3;

// A current-format map file: header, properties and an empty body, each
// tile-layer group with one slot that every cell uses.
ByteList MakeMapFile() {
  test::MapFixture map;
  map.displayName = u"Bench";
  map.width = kTiles - 1;
  map.height = kTiles - 1;
  map.layerCount = kLayers - 1;
  const ByteList grid(static_cast<std::size_t>(kTiles) * kTiles * kLayers, 1);
  for (std::size_t g = 0; g < map.groups.size(); ++g) {
    Identifier id;
    IdFill(id, static_cast<std::uint8_t>(g + 1));
    map.groups[g] = test::TileGroupFixture{{id}, grid, grid};
  }
  return test::MapFileBytes(map);
}

void BM_LoadMapFromPackage(benchmark::State& state) {
  package.Reset();
  package.packageEntries.push_back({"Bench.kmp", MakeMapFile(), 0});
  SymbolTableReset();
  RegisterScriptIdentifiers();
  dataSettings.gridCellSize = 8;
  for (auto _ : state) {
    gameData.Reset();
    scriptTable.Reset();
    LoadMapFromPackage(u"Bench", false, -1, false);
    benchmark::DoNotOptimize(gameData.maps[0].tileLayerGroups[2].tileGrid.cells.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(package.packageEntries[0].bytes.size()));
}
BENCHMARK(BM_LoadMapFromPackage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
