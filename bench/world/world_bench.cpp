// Move and segment tests on a 128 x 128 x 4 map with walls, object tiles,
// 2,000 characters and 500 doors and zones.
// - TestActorMove with the collision broad phase, its boxes trusted between
//   noted moves as in the Character System's pass; the same outside the pass,
//   where the objects are all tested as before but tile entries are rejected
//   by their boxes first; and the old loop over every object of every list
//   with no box rejection (useBroadPhase off), the baseline.
// - Tile tests through the sector grid against tests of every tile entry of
//   the map: the grid emptied, the bench tests every entry itself.
// Also a whole-map tile collision build of a 256 x 256 map.
#include <benchmark/benchmark.h>

#include <random>
#include <utility>

#include "data/broad_phase.h"
#include "data/game_data.h"
#include "data/sector_grid.h"
#include "mathkiv/collision.h"
#include "mathkiv/math_init.h"
#include "world/actor_shapes.h"
#include "world/hit_lists.h"
#include "world/move_tests.h"
#include "world/tile_collision.h"

namespace kiv {
namespace {


std::int32_t MakeWorld(std::int32_t size, std::int32_t lastLayer, bool objects) {
  gameData.Reset();
  dataSettings.gridCellSize = 16;
  MathInit(16, 0);
  const std::int32_t map = gameData.maps.Append();
  Map& m = gameData.maps[map];
  m.width = size - 1;
  m.height = size - 1;
  m.layerCount = lastLayer;
  m.flags = {0, 0, 0, 0, 0, 0};
  m.staticCollision.Make(size * 2, size * 2, lastLayer + 2);
  m.workingCollision.Make(size * 2, size * 2, lastLayer + 2);
  for (TileLayerGroup& g : m.tileLayerGroups) {
    g.slotGrid.Make(size, size, lastLayer + 1);
    g.tileGrid.Make(size, size, lastLayer + 1);
    g.slotTileSets = {0, 1, 2};
    g.slotCount = 3;
  }
  TileSet floor, wall, object;
  floor.tiles.emplace_back();
  wall.flags = 1;
  wall.tiles.emplace_back();
  object.tiles.emplace_back();
  object.tiles[0].collision = BoxShapeOf(Box{8, 8, 24, 24, 0, 24});
  object.tiles[0].scatterX = 6;
  gameData.tileSets = {floor, wall, object};
  std::mt19937 random(7);
  for (std::int32_t y = 0; y < size; ++y)
    for (std::int32_t x = 0; x < size; ++x) {
      m.tileLayerGroups[0].slotGrid.At(x, y, 0) = (x % 16 == 0 || y % 16 == 0) ? 2 : 1;
      if (objects && random() % 8 == 0) m.tileLayerGroups[1].slotGrid.At(x, y, 0) = 3;
    }
  BuildSectorGrid(m);
  return map;
}

void Populate(std::int32_t map) {
  Map& m = gameData.maps[map];
  std::mt19937 random(11);
  const float extent = static_cast<float>((m.width + 1) * 32);
  auto pos = [&] { return static_cast<float>(random() % static_cast<std::uint32_t>(extent - 64)) + 32.0f; };
  for (int k = 0; k < 2000; ++k) {
    Actor a;
    a.x = pos();
    a.y = pos();
    a.collisionShape = BoxShapeOf(Box{-8, -8, 8, 8, 0, 48});
    a.team = k % 4;
    m.actors.push_back(a);
  }
  for (int k = 0; k < 500; ++k) {
    Door d;
    d.x = pos();
    d.y = pos();
    d.doorSet = 0;
    d.collisionShape = BoxShapeOf(Box{0, 58, 32, 64, 0, 64});
    m.doors.push_back(d);
    SectorGridAddDoorAt(m, k, d.x, d.y, 0.0f, false);
    Zone z;
    const auto zx = static_cast<std::int32_t>(pos()), zy = static_cast<std::int32_t>(pos());
    z.shape = BoxShapeOf(Box{zx, zy, zx + 40, zy + 40, 0, 64});
    z.byte2 = static_cast<std::uint8_t>(k % 2);  // blocking
    m.zones.push_back(z);
  }
}

std::int32_t benchMap = -1;

// How the objects' boxes are used.
enum BroadMode : std::int64_t { kOldLoop = 0, kNotedMoves = 1, kOutsideThePass = 2 };

void UseBroadMode(std::int64_t mode) {
  useBroadPhase = mode != kOldLoop;
  SetBroadPhaseMovesNoted(gameData.maps[benchMap], mode == kNotedMoves);
}

void SetUpMoveWorld() {
  if (benchMap >= 0) return;
  benchMap = MakeWorld(128, 3, true);
  UpdateTileCollision(benchMap, -1, -1, -1);
  Populate(benchMap);
  UseBroadMode(kNotedMoves);
}

// mode: a BroadMode; everyEntry: the tile entries are all tested by the loop.
void RunMoves(benchmark::State& state, std::int64_t mode, bool everyEntry) {
  UseBroadMode(mode);
  Map& m = gameData.maps[benchMap];
  SectorGrid kept;
  if (everyEntry) std::swap(kept, m.sectorGrid);
  const CollisionShape shape = BoxShapeOf(Box{-8, -8, 8, 8, 0, 48});
  std::mt19937 random(3);
  for (auto _ : state) {
    const float x = static_cast<float>(random() % 4000) + 48.0f;
    const float y = static_cast<float>(random() % 4000) + 48.0f;
    const ShapePlacement at{x, y, 2.0f};
    hitLists.Reset();
    // Character 0 moves: it meets characters and doors too.
    bool blocked = TestActorMove(benchMap, shape, at, 0, -1, -1, true, false);
    if (everyEntry)
      for (const TileCollisionEntry& e : m.tileCollisionEntries)
        if (e.inUse && e.groundOnly == 0 && IntersectCollisionCollision(shape, at, e.shape, TileEntryPlacement(e)))
          blocked = true;
    benchmark::DoNotOptimize(blocked);
  }
  if (everyEntry) std::swap(kept, m.sectorGrid);
  UseBroadMode(kNotedMoves);
  state.SetItemsProcessed(state.iterations());
}

void BM_TestActorMove(benchmark::State& state) {
  SetUpMoveWorld();
  RunMoves(state, state.range(0), false);
}

void BM_TestActorMoveAllEntries(benchmark::State& state) {
  SetUpMoveWorld();
  RunMoves(state, kNotedMoves, true);
}

void BM_TraceSegmentSectors(benchmark::State& state) {
  SetUpMoveWorld();
  std::mt19937 random(5);
  for (auto _ : state) {
    const auto x = static_cast<std::int32_t>(random() % 4000) + 48;
    const auto y = static_cast<std::int32_t>(random() % 4000) + 48;
    SegmentTrace trace;
    trace.height = 10.0f;
    benchmark::DoNotOptimize(TraceSegment(benchMap, LineSegment{x, y, x + 200, y + 90}, trace));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_TraceSegmentAllEntries(benchmark::State& state) {
  SetUpMoveWorld();
  const Map& m = gameData.maps[benchMap];
  std::mt19937 random(5);
  for (auto _ : state) {
    const auto x = static_cast<std::int32_t>(random() % 4000) + 48;
    const auto y = static_cast<std::int32_t>(random() % 4000) + 48;
    const LineSegment segment{x, y, x + 200, y + 90};
    SegmentTrace trace;
    trace.height = 10.0f;
    trace.tileSwitch = -2;
    bool hit = TraceSegment(benchMap, segment, trace);
    for (const TileCollisionEntry& e : m.tileCollisionEntries)
      if (e.inUse && IntersectCollisionLine(e.shape, TileEntryPlacement(e), segment, 10.0f)) hit = true;
    benchmark::DoNotOptimize(hit);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_WholeMapTileCollision256(benchmark::State& state) {
  const std::int32_t map = MakeWorld(256, 3, true);
  for (auto _ : state) UpdateTileCollision(map, -1, -1, -1);
  benchMap = -1;
}

// Argument: 1 noted moves, 2 outside the Character System's pass, 0 the old loop.
BENCHMARK(BM_TestActorMove)->Arg(kNotedMoves)->Arg(kOutsideThePass)->Arg(kOldLoop);
BENCHMARK(BM_TestActorMoveAllEntries);
BENCHMARK(BM_TraceSegmentSectors);
BENCHMARK(BM_TraceSegmentAllEntries);
BENCHMARK(BM_WholeMapTileCollision256)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kiv
