// Map data generation of a 128 x 128-tile map of 4 layers with walls every 16
// tiles, pits with terraformed rims, 100 doors, 100 characters and 300 lights,
// and the same map without lights in the same run. Each step is timed inside
// the one call: terraformation (from the start to the tile collision), the
// tile collision, the characters' floor heights and the lighting (from the
// last floor height to the end); the counters give milliseconds per call and
// the lighting's share of the whole. Steps are timed on the thread's CPU
// clock, so that other work on a busy machine does not count.
#include <benchmark/benchmark.h>

#include <ctime>
#include <random>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "render/map_data.h"
#include "render/map_data_hooks.h"
#include "world/actor_shapes.h"
#include "world/light_trace.h"
#include "world/placement.h"
#include "world/tile_collision.h"

namespace kiv {
namespace {

// Seconds of CPU time of this thread.
double CpuNow() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

constexpr std::int32_t kSize = 128, kLastLayer = 3, kDoors = 100, kCharacters = 100;

struct StepTimes {
  double start = 0.0, tilesStart = 0.0, tilesEnd = 0.0, lastFloorEnd = 0.0;
  double floors = 0.0;
};
StepTimes times;

void InstallTimedHooks() {
  mapDataHooks.UpdateTileCollision = [](std::int32_t map, std::int32_t c, std::int32_t r, std::int32_t l) {
    times.tilesStart = CpuNow();
    UpdateTileCollision(map, c, r, l);
    times.tilesEnd = times.lastFloorEnd = CpuNow();
  };
  mapDataHooks.LightBlocked = [](std::int32_t map, const LineSegment& segment, float z) {
    return LightSegmentBlocked(map, segment, z);
  };
  dataHooks.UpdateCharacterFloorHeight = [](std::int32_t map, std::int32_t actor) {
    const double t = CpuNow();
    UpdateCharacterFloorHeight(map, actor);
    times.lastFloorEnd = CpuNow();
    times.floors += times.lastFloorEnd - t;
  };
}

TileSet GroundSet() {
  TileSet set;
  set.tiles.resize(2);
  set.tiles[1].valueD = 2.0f;  // a pit tile
  // Flat ground meeting a pit takes a rim piece.
  TerraformRule rim;
  rim.tileSet = 0;
  rim.byteM = 1;
  set.tiles[0].terraformRules = {rim};
  return set;
}

std::int32_t MakeMap(std::int32_t lights) {
  gameData.Reset();
  dataSettings.gridCellSize = 16;  // tile collision builds only with a path grid
  MathInit(16, 0);
  const std::int32_t map = gameData.maps.Append();
  Map& m = gameData.maps[map];
  m.width = m.height = kSize - 1;
  m.layerCount = kLastLayer;
  m.flags = {0, 0, 0, 0, 0, 0};
  m.ambientColor = 0xFF303040u;
  m.staticCollision.Make(kSize * 2, kSize * 2, kLastLayer + 2);
  m.workingCollision.Make(kSize * 2, kSize * 2, kLastLayer + 2);
  TileSet wall;
  wall.flags = 1;
  wall.tiles.emplace_back();
  gameData.tileSets = {GroundSet(), wall};
  TileLayerGroup& g = m.tileLayerGroups[0];
  for (TileLayerGroup& group : m.tileLayerGroups) {
    group.slotGrid.Make(kSize, kSize, kLastLayer + 1);
    group.tileGrid.Make(kSize, kSize, kLastLayer + 1);
  }
  g.slotTileSets = {0, 1};
  g.slotCount = 2;
  for (std::int32_t y = 0; y < kSize; ++y)
    for (std::int32_t x = 0; x < kSize; ++x) {
      const bool wallCell = x % 16 == 0 || y % 16 == 0;
      g.slotGrid.At(x, y, 0) = wallCell ? 2 : 1;
      if (wallCell) g.slotGrid.At(x, y, 1) = 2;
      // A 4 x 4 pit in the middle of every walled room.
      g.tileGrid.At(x, y, 0) = (x % 16 >= 6 && x % 16 <= 9 && y % 16 >= 6 && y % 16 <= 9) ? 1 : 0;
    }
  BuildSectorGrid(m);
  std::mt19937 random(17);
  const auto extent = static_cast<std::uint32_t>(kSize * 32 - 64);
  auto pos = [&] { return static_cast<float>(random() % extent) + 32.0f; };
  for (std::int32_t k = 0; k < kDoors; ++k) {
    Door d;
    d.x = pos();
    d.y = pos();
    d.doorSet = 0;
    d.collisionShape = BoxShapeOf(Box{0, 58, 32, 64, 0, 64});
    m.doors.push_back(d);
    SectorGridAddDoorAt(m, k, d.x, d.y, 0.0f, false);
  }
  for (std::int32_t k = 0; k < kCharacters; ++k) {
    Actor a;
    a.x = pos();
    a.y = pos();
    a.collisionShape = BoxShapeOf(Box{-8, -8, 8, 8, 0, 48});
    m.actors.push_back(a);
  }
  for (std::int32_t k = 0; k < lights; ++k) {
    Light l;
    l.enabled = 1;
    l.x = pos();
    l.y = pos();
    l.z = static_cast<float>(16 + random() % 80);
    l.radius = static_cast<std::int32_t>(64 + random() % 128);
    l.horizontalTo = 6.2831855f;
    if (k % 5 == 0) l.horizontalFrom = 5.0f, l.horizontalTo = 1.5f;  // a lamp facing one way
    l.red = static_cast<std::uint8_t>(random() % 256);
    l.green = static_cast<std::uint8_t>(random() % 256);
    l.blue = static_cast<std::uint8_t>(random() % 256);
    l.subtractive = k % 10 == 0 ? 1 : 0;
    l.edgeIntensity = 0.3f;
    l.nearestBlockedSquared = static_cast<float>(l.radius) * static_cast<float>(l.radius) + 1.0f;
    m.lights.push_back(l);
    SectorGridAddLight(m, k, l.x, l.y, l.z, l.radius, false);
  }
  return map;
}

void BM_GenerateMapData(benchmark::State& state) {
  const auto lights = static_cast<std::int32_t>(state.range(0));
  const std::int32_t map = MakeMap(lights);
  InstallTimedHooks();
  double terraform = 0.0, tiles = 0.0, floors = 0.0, lighting = 0.0, total = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    // As a fresh load: not prepared, no clear distances known yet.
    Map& m = gameData.maps[map];
    m.mapDataPrepared = false;
    for (Light& l : m.lights) {
      l.clearDistanceSquared = 0.0f;
      l.nearestBlockedSquared = static_cast<float>(l.radius) * static_cast<float>(l.radius) + 1.0f;
    }
    times = StepTimes{};
    state.ResumeTiming();
    times.start = CpuNow();
    GenerateMapData(map, false);
    const double end = CpuNow();
    terraform += times.tilesStart - times.start;
    tiles += times.tilesEnd - times.tilesStart;
    floors += times.floors;
    lighting += end - times.lastFloorEnd;
    total += end - times.start;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["terraform_ms"] = 1000.0 * terraform / n;
  state.counters["tiles_ms"] = 1000.0 * tiles / n;
  state.counters["floors_ms"] = 1000.0 * floors / n;
  state.counters["lighting_ms"] = 1000.0 * lighting / n;
  state.counters["total_ms"] = 1000.0 * total / n;
  state.counters["lighting_share"] = total > 0.0 ? lighting / total : 0.0;
}
BENCHMARK(BM_GenerateMapData)->Arg(300)->Arg(0)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace kiv
