// Reading a sprite set of 16 poses x 8 directions, each direction one layer
// animated through 8 frames of 4 parts, from the package held in memory:
// the reader, the built frames and the summary.
#include <benchmark/benchmark.h>

#include "core/data_buffer.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "data/sprite_set.h"
#include "support/hashed_header.h"

namespace kiv {
namespace {

constexpr std::int32_t kPoses = 16;
constexpr std::int32_t kDirections = 8;
constexpr std::int32_t kFrames = 8;
constexpr std::int32_t kParts = 4;

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

void WriteLayer(ByteList& b, std::int32_t& o) {
  BufferWriteLong(b, 0, o);    // one frame entry
  BufferWriteLong(b, 120, o);  // its display time
  BufferWriteLong(b, -1, o);   // no images
  BufferWriteLong(b, 0, o);    // one frame group with one frame
  BufferWriteLong(b, 0, o);
  for (int i = 0; i < 11; ++i) BufferWriteLong(b, i, o);
  BufferWriteLong(b, 64, o);  // cell size
  BufferWriteLong(b, 96, o);
  for (int i = 0; i < 10; ++i) WriteEmptyScript(b, o);
  BufferWriteString(b, u"Body", o);
  BufferWriteLong(b, 0, o);  // slot
  BufferWriteLong(b, 1, o);  // value
  const ByteList zeros(160, 0);
  BufferWriteBytes(b, zeros.data(), 32 + 48 + 16 + 16, o);
  BufferWriteLong(b, 0, o);  // flags
  BufferWriteBytes(b, zeros.data(), 24 + 8 + 1 + 4, o);
}

void WriteDirection(ByteList& b, std::int32_t& o) {
  BufferWriteByte(b, 0, o);  // collision: mode, no boxes, polygons or extras
  BufferWriteLong(b, -1, o);
  BufferWriteLong(b, -1, o);
  BufferWriteLong(b, -1, o);
  BufferWriteLong(b, 100, o);  // frame duration
  BufferWriteByte(b, 0, o);
  BufferWriteLong(b, 0, o);  // one layer
  WriteLayer(b, o);
  BufferWriteLong(b, -1, o);  // no slot entries
  BufferWriteLong(b, kFrames - 1, o);
  for (std::int32_t f = 0; f < kFrames; ++f) {
    BufferWriteLong(b, kParts - 1, o);
    for (std::int32_t p = 0; p < kParts; ++p) {
      for (std::int32_t v :
           {p, 15, p == 0 ? 0 : 2, 0, f * 3 + p, -f, p, static_cast<std::int32_t>(0xFF808080)})
        BufferWriteLong(b, v, o);
      for (float v :
           {1.0f + 0.1f * static_cast<float>(f), 1.0f, 1.0f, 0.0f, 0.0f, 0.1f * static_cast<float>(f), 1.0f})
        BufferWriteSingle(b, v, o);
    }
  }
}

ByteList MakeSpriteSetFile() {
  ByteList b;
  std::int32_t o = 0;
  BufferWriteIdentifier(b, Identifier(), o);
  BufferWriteLong(b, 0, o);
  BufferWriteByte(b, 0, o);  // byte N
  BufferWriteString(b, u"Bench", o);
  BufferWriteString(b, u"Bench", o);
  BufferWriteByte(b, 0, o);  // image C
  BufferWriteByte(b, 0, o);  // flags
  BufferWriteString(b, u"Character", o);
  BufferWriteByte(b, 0, o);  // image
  BufferWriteString(b, u"Character", o);
  BufferWriteString(b, u"", o);
  BufferWriteLong(b, -1, o);  // sprite flags
  BufferWriteLong(b, 7, o);   // link value count
  BufferWriteLong(b, -1, o);  // links
  BufferWriteLong(b, -1, o);  // template flags
  const ByteList zeros(64, 0);
  BufferWriteBytes(b, zeros.data(), 24 + 24 + 4, o);
  BufferWriteByte(b, 0, o);  // images A and B
  BufferWriteByte(b, 0, o);
  BufferWriteLong(b, 0, o);                 // slot
  BufferWriteBytes(b, zeros.data(), 4, o);  // colour
  BufferWriteLong(b, -1, o);                // colour bytes
  BufferWriteLong(b, kPoses - 15, o);
  BufferWriteLong(b, 14, o);
  for (std::int32_t e = 0; e < kPoses; ++e) {
    if (e >= 15) BufferWriteString(b, u"Own", o);
    for (std::int32_t d = 0; d < kDirections; ++d) WriteDirection(b, o);
  }
  b.resize(static_cast<std::size_t>(o));

  return test::WithHashedHeader(b);
}

void BM_ReadSpriteSet(benchmark::State& state) {
  package.Reset();
  package.packageEntries.push_back({"0.ksp", MakeSpriteSetFile(), 0});
  SymbolTableReset();
  RegisterScriptIdentifiers();
  for (auto _ : state) {
    gameData.Reset();
    scriptTable.Reset();
    gameData.spriteSets.resize(1);
    ReadSpriteSet(PackageGetEntryBytes("0.ksp", -1), 0);
    benchmark::DoNotOptimize(gameData.spriteSets[0].poses[15].directions[7].builtFrames.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(package.packageEntries[0].bytes.size()));
}
BENCHMARK(BM_ReadSpriteSet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
