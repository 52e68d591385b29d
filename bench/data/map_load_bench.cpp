// Reading a 256 x 256-tile map with three layers in each of its three tile-layer
// groups from the package held in memory.
#include <benchmark/benchmark.h>

#include "core/data_buffer.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/script_record.h"
#include "support/hashed_header.h"

namespace kiv {
namespace {

constexpr std::int32_t kTiles = 256;
constexpr std::int32_t kLayers = 3;

void WriteEmptyScript(ByteList& b, std::int32_t& o) {
  BufferWriteString(b, u"", o);
  BufferWriteLong(b, 100018, o);
  BufferWriteString(b, u"", o);
  BufferWriteString(b, u"", o);
  BufferWriteIdentifier(b, Identifier(), o);
  BufferWriteLong(b, -1, o);  // node pages
  BufferWriteByte(b, 0, o);   // run once
  BufferWriteLong(b, -1, o);  // locals
  BufferWriteLong(b, -1, o);  // statics
  BufferWriteLong(b, 4, o);   // block length
  BufferWriteLong(b, -1, o);  // no statements
}

// A current-format map file: header, properties and an empty body.
ByteList MakeMapFile() {
  ByteList b;
  std::int32_t o = 0;
  BufferWriteIdentifier(b, Identifier(), o);
  BufferWriteString(b, u"", o);
  BufferWriteString(b, u"Bench", o);
  BufferWriteLong(b, 0, o);
  BufferWriteLong(b, -1, o);
  BufferWriteLong(b, -1, o);
  BufferWriteLong(b, kTiles - 1, o);
  BufferWriteLong(b, kTiles - 1, o);
  BufferWriteLong(b, kLayers - 1, o);
  const ByteList grid(static_cast<std::size_t>(kTiles) * kTiles * kLayers, 1);
  for (int group = 0; group < 3; ++group) {
    BufferWriteByte(b, 1, o);
    Identifier id;
    IdFill(id, static_cast<std::uint8_t>(group + 1));
    BufferWriteIdentifier(b, id, o);
    BufferWriteBytes(b, grid.data(), static_cast<std::int32_t>(grid.size()), o);
    BufferWriteBytes(b, grid.data(), static_cast<std::int32_t>(grid.size()), o);
  }
  // Properties of format 100790, all zero but their lists.
  const ByteList zeros(512, 0);
  BufferWriteBytes(b, zeros.data(),
                   1 + 2 + 8 + 4 + 4 + 1 + 16 + 8 + 48 + 12 + 4 + 4 + 16 + 16 + 3 + 12 + 2 + 1, o);
  BufferWriteLong(b, 0, o);  // V
  BufferWriteLong(b, 0, o);  // W
  BufferWriteBytes(b, zeros.data(), 8 + 4 + 16 + 8, o);
  BufferWriteLong(b, -1, o);  // background sprites 1
  BufferWriteLong(b, -1, o);  // background sprites 2
  BufferWriteLong(b, 0, o);   // map mode
  BufferWriteBytes(b, zeros.data(), 6, o);
  for (int i = 0; i < 4; ++i) BufferWriteString(b, u"", o);
  BufferWriteLong(b, -1, o);  // screen layouts
  BufferWriteBytes(b, zeros.data(), 12, o);
  for (int i = 0; i < 6; ++i) WriteEmptyScript(b, o);
  for (int i = 0; i < 10; ++i) BufferWriteLong(b, -1, o);  // the body's object lists
  b.resize(static_cast<std::size_t>(o));

  return test::WithHashedHeader(b);
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
