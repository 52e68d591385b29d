// ChangeTile over every cell of a 128 x 128 floor layer from a script loop
// (the map resolved by name, the tile set by name, the object executor's frame
// and the cell's refresh). Baseline, in the same run: direct writes of the
// same slot and tile bytes into the group's grids followed by the same
// TerraformArea and UpdateTileCollision calls, so the ratio is what the
// script adds over the refresh every change needs.
#include <benchmark/benchmark.h>

#include "../world/walled_map.h"
#include "commands/object_executor.h"
#include "render/terraformation.h"
#include "script/script_value_ops.h"
#include "script_bench.h"

namespace {

using namespace kiv;
using bench::CompileBenchScript;
using bench::RunBenchScript;

constexpr std::int32_t kSize = 128;

std::int32_t SetUp() {
  static const std::int32_t loop = [] {
    bench::ResetScriptBench();
    const std::int32_t map = bench::MakeWalledMap(kSize);
    gameData.maps[map].fileName = u"Field";
    gameData.tileSets[0].name = u"Floor";
    gameData.tileSets[1].name = u"Wall";
    InstallObjectExecutor();
    return CompileBenchScript(
        u"LOCAL x\r\nLOCAL y\r\nSET y = 0\r\n:rows\r\nSET x = 0\r\n:cells\r\n"
        u"Map(\"Field\").ChangeTile(\"floor\", \"Floor\", 0, x * 32, y * 32, 0)\r\n"
        u"SET x = x + 1\r\nIF x < 128\r\nGOTO cells\r\nENDIF\r\n"
        u"SET y = y + 1\r\nIF y < 128\r\nGOTO rows\r\nENDIF\r\nReturn(y)");
  }();
  return loop;
}

void BM_ScriptChangeTileEveryCell(benchmark::State& state) {
  const std::int32_t loop = SetUp();
  Variant last;
  for (auto _ : state) last = RunBenchScript(loop, 0);
  if (VarToLong(last) != kSize) state.SkipWithError("the script loop did not run to its end");
}

void BM_DirectWritesAndRefreshEveryCell(benchmark::State& state) {
  SetUp();
  for (auto _ : state) {
    TileLayerGroup& floor = gameData.maps[0].tileLayerGroups[0];
    for (std::int32_t y = 0; y < kSize; ++y)
      for (std::int32_t x = 0; x < kSize; ++x) {
        floor.slotGrid.At(x, y, 0) = 1;
        std::uint8_t& tile = floor.tileGrid.At(x, y, 0);
        tile = static_cast<std::uint8_t>(tile & 0xC0);
        TerraformArea(0, x, y, 0);
        UpdateTileCollision(0, x, y, 0);
      }
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_ScriptChangeTileEveryCell)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectWritesAndRefreshEveryCell)->Unit(benchmark::kMillisecond);
