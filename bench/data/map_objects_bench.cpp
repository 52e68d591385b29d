// Reading a 256 x 256-tile map holding 2,000 actors, 500 doors and zones and
// 1,000 pick-ups and lights from the package held in memory.
#include <benchmark/benchmark.h>

#include "core/data_buffer.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/object_defaults.h"
#include "data/script_record.h"
#include "support/map_writer.h"
#include "support/resource_header_writer.h"
#include "support/sprite_set_writer.h"

namespace kiv {
namespace {

constexpr std::int32_t kTiles = 256;
constexpr std::int32_t kLayers = 3;
constexpr int kActors = 2000;
constexpr int kDoorsAndZones = 500;
constexpr int kPickUpsAndLights = 1000;

void WriteEmptyScript(ByteList& b, std::int32_t& o) { test::WriteScriptFixture(b, o, test::LongEmptyScript()); }

void Zeros(ByteList& b, std::int32_t& o, std::int32_t count) {
  const ByteList zeros(static_cast<std::size_t>(count), 0);
  BufferWriteBytes(b, zeros.data(), count, o);
}

// A position spread over the map, inside it.
float Spread(int i, int salt) { return static_cast<float>((i * 7919 + salt * 104729) % 8000 + 64); }

void WriteActor(ByteList& b, std::int32_t& o, int i) {
  BufferWriteString(b, u"Actor", o);
  BufferWriteString(b, u"An actor", o);
  BufferWriteByte(b, 0, o);   // face
  BufferWriteLong(b, 7, o);   // last colour
  BufferWriteLong(b, 1, o);   // last part
  for (const char16_t* slot : {u"Body", u"Hat"}) {
    BufferWriteString(b, slot, o);
    Identifier set;
    IdFill(set, 0x31);
    BufferWriteIdentifier(b, set, o);
    for (int c = 0; c < 8; ++c) BufferWriteLong(b, -1, o);
  }
  Zeros(b, o, 4 + 4 + 4 + 2);  // specular, auto move, heading, design bytes
  BufferWriteLong(b, -1, o);   // statistics
  BufferWriteSingle(b, Spread(i, 1), o);
  BufferWriteSingle(b, Spread(i, 2), o);
  BufferWriteSingle(b, 0.0f, o);
  Zeros(b, o, 1 + 4 + 4 + 4 + 4 + 4);  // shadow, shadow colour, design, speed, AI flags, design
  BufferWriteLong(b, -1, o);            // items
  BufferWriteLong(b, -1, o);            // equipment
  BufferWriteLong(b, -1, o);            // route
  Zeros(b, o, 3 + 1 + 16 + 4 + 8 + 4 + 16);  // state bytes, solid, team, experience, money, points, reference
  Zeros(b, o, 36 + 1 + 16 + 1 + 12);         // vehicle and turret blocks
  BufferWriteSingle(b, 1.0f, o);
  BufferWriteSingle(b, 1.0f, o);
  BufferWriteSingle(b, 1.0f, o);
  BufferWriteLong(b, -1, o);  // attached sprites
  Zeros(b, o, 16);            // template
  BufferWriteString(b, u"", o);
  Zeros(b, o, 32 + 4);        // further references, tint
  BufferWriteLong(b, -1, o);  // triggers
  BufferWriteLong(b, -1, o);  // variables
  BufferWriteByte(b, 0, o);
}

void WriteDoor(ByteList& b, std::int32_t& o, int i) {
  BufferWriteString(b, u"Door", o);
  BufferWriteString(b, u"A door", o);
  Zeros(b, o, 1 + 4 + 4 + 1 + 1 + 4 + 1);
  BufferWriteSingle(b, Spread(i, 3), o);
  BufferWriteSingle(b, Spread(i, 4), o);
  BufferWriteSingle(b, 0.0f, o);
  Zeros(b, o, 1 + 4 + 4 + 16 + 1 + 1);
  BufferWriteString(b, u"Elsewhere", o);
  Zeros(b, o, 8 + 4);
  for (int s = 0; s < 10; ++s) WriteEmptyScript(b, o);
  Zeros(b, o, 2);
  BufferWriteString(b, u"", o);
  Zeros(b, o, 16 + 4);
}

void WriteZone(ByteList& b, std::int32_t& o, int i) {
  BufferWriteString(b, u"Zone", o);
  BufferWriteString(b, u"A zone", o);
  for (std::int32_t v : {i, i, i + 64, i + 64, 0, 64}) BufferWriteLong(b, v, o);
  BufferWriteByte(b, 0, o);
  BufferWriteString(b, u"", o);
  Zeros(b, o, 8 + 4 + 1);
  BufferWriteLong(b, -1, o);  // template flags
  BufferWriteLong(b, -1, o);  // triggers
}

void WritePickUp(ByteList& b, std::int32_t& o, int i) {
  BufferWriteSingle(b, Spread(i, 5), o);
  BufferWriteSingle(b, Spread(i, 6), o);
  BufferWriteSingle(b, 0.0f, o);
  Zeros(b, o, 1 + 8 + 4 + 1 + 8 + 16 + 16 + 8 + 4 + 8 + 4 + 4);
}

void WriteLight(ByteList& b, std::int32_t& o, int i) {
  BufferWriteString(b, u"Light", o);
  BufferWriteString(b, u"A light", o);
  BufferWriteByte(b, 1, o);
  BufferWriteSingle(b, Spread(i, 7), o);
  BufferWriteSingle(b, Spread(i, 8), o);
  BufferWriteSingle(b, 0.0f, o);
  BufferWriteLong(b, 200, o);
  Zeros(b, o, 8 + 8 + 4 + 3 + 1 + 128 + 4);
}

// A current-format map file with its objects: the fixture's header and
// properties with empty grids, then the object sections.
ByteList MakeMapFile() {
  test::MapFixture map;
  map.displayName = u"Bench";
  map.width = kTiles - 1;
  map.height = kTiles - 1;
  map.layerCount = kLayers - 1;
  const ByteList grid(static_cast<std::size_t>(kTiles) * kTiles * kLayers, 0);
  for (test::TileGroupFixture& group : map.groups) group = test::TileGroupFixture{{}, grid, grid};
  ByteList b = test::MapHeaderAndPropertiesBytes(map);
  auto o = static_cast<std::int32_t>(b.size());

  BufferWriteLong(b, kDoorsAndZones - 1, o);
  for (int i = 0; i < kDoorsAndZones; ++i) WriteDoor(b, o, i);
  BufferWriteLong(b, kDoorsAndZones - 1, o);
  for (int i = 0; i < kDoorsAndZones; ++i) WriteZone(b, o, i);
  BufferWriteLong(b, -1, o);  // boundaries
  BufferWriteLong(b, kActors - 1, o);
  for (int i = 0; i < kActors; ++i) WriteActor(b, o, i);
  BufferWriteLong(b, kPickUpsAndLights - 1, o);
  for (int i = 0; i < kPickUpsAndLights; ++i) WritePickUp(b, o, i);
  BufferWriteLong(b, kPickUpsAndLights - 1, o);
  for (int i = 0; i < kPickUpsAndLights; ++i) WriteLight(b, o, i);
  for (int i = 0; i < 4; ++i) BufferWriteLong(b, -1, o);  // speakers, spawns, fields, texts
  b.resize(static_cast<std::size_t>(o));

  return test::MakeResourceFile(map.version, b);
}

void BM_LoadMapWithObjects(benchmark::State& state) {
  package.Reset();
  package.packageEntries.push_back({"Bench.kmp", MakeMapFile(), 0});
  SymbolTableReset();
  RegisterScriptIdentifiers();
  BuildObjectDefaults();
  dataSettings.gridCellSize = 8;
  for (auto _ : state) {
    gameData.Reset();
    scriptTable.Reset();
    LoadMapFromPackage(u"Bench", false, -1, false);
    if (gameData.maps[0].actors.size() != kActors) state.SkipWithError("actors missing");
    benchmark::DoNotOptimize(gameData.maps[0].lights.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(package.packageEntries[0].bytes.size()));
}
BENCHMARK(BM_LoadMapWithObjects)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
