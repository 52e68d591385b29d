// Path search across a 256 x 256 grid with obstacles, and shape-against-shape
// tests per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "mathkiv/collision.h"
#include "mathkiv/collision_grid.h"
#include "mathkiv/math_init.h"
#include "mathkiv/path_search.h"

namespace {

using namespace kiv;

constexpr std::int32_t kCell = 16;
constexpr std::int32_t kSize = 256;

// Layer 1 holds scattered blocks (about a fifth of the points) and walls
// with gaps, so the route has to wind.
std::vector<std::uint8_t> MakeGrid() {
  std::vector<std::uint8_t> cells(static_cast<std::size_t>(kSize * kSize * 3), 0);
  auto at = [&](std::int32_t i, std::int32_t j) -> std::uint8_t& {
    return cells[static_cast<std::size_t>(i + kSize * (j + kSize * 1))];
  };
  std::mt19937 random(7);
  std::bernoulli_distribution blocked(0.2);
  for (std::int32_t j = 0; j < kSize; ++j)
    for (std::int32_t i = 0; i < kSize; ++i) at(i, j) = blocked(random) ? 1 : 0;
  for (std::int32_t wall = 32; wall < kSize; wall += 32)
    for (std::int32_t j = 0; j < kSize; ++j)
      if ((j / 16) % 4 != (wall / 32) % 4) at(wall, j) = 1;
  at(1, 1) = 0;
  at(kSize - 2, kSize - 2) = 0;
  return cells;
}

void BM_PathAcross256(benchmark::State& state) {
  MathInit(kCell, 0);
  std::vector<std::uint8_t> cells = MakeGrid();
  const ConstCollisionGridView grid(cells, kSize, kSize, 3);
  const std::int32_t from = kCell + kCell / 2;
  const std::int32_t to = (kSize - 2) * kCell + kCell / 2;
  const Box footprint{from - 6, from - 6, from + 6, from + 6, 0, 64};
  std::size_t steps = 0;
  for (auto _ : state) {
    std::vector<std::uint8_t> path = AIFindPath(grid, from, from, 0, to, to, 0, footprint, 0, 0);
    steps = path.size();
    benchmark::DoNotOptimize(path.data());
  }
  state.counters["steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_PathAcross256)->Unit(benchmark::kMillisecond);

CollisionShape Box(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, std::int32_t f,
                   std::int32_t k) {
  CollisionShape shape;
  CollisionBox box;
  box.left = l, box.top = t, box.right = r, box.bottom = b, box.front = f, box.back = k;
  shape.rectangles.push_back(box);
  return shape;
}

void ShapeTests(benchmark::State& state, const CollisionShape& a, const CollisionShape& b, float heading) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> coordinate(-40.0f, 40.0f);
  std::vector<ShapePlacement> places(1024);
  for (ShapePlacement& p : places) {
    p.x = coordinate(random);
    p.y = coordinate(random);
    p.rotationZ = heading;
  }
  std::size_t n = 0;
  std::int64_t hits = 0;
  for (auto _ : state) {
    hits += IntersectCollisionCollision(a, ShapePlacement{}, b, places[n++ & 1023]) ? 1 : 0;
  }
  benchmark::DoNotOptimize(hits);
  state.SetItemsProcessed(state.iterations());
}

void BM_BoxAgainstBox(benchmark::State& state) {
  ShapeTests(state, Box(-12, -8, 12, 16, 0, 64), Box(-12, -8, 12, 16, 0, 64), 0.0f);
}
BENCHMARK(BM_BoxAgainstBox);

void BM_TurnedBoxAgainstBox(benchmark::State& state) {
  ShapeTests(state, Box(-12, -8, 12, 16, 0, 64), Box(-12, -8, 12, 16, 0, 64), 0.5f);
}
BENCHMARK(BM_TurnedBoxAgainstBox);

void BM_PolygonAgainstTurnedBox(benchmark::State& state) {
  CollisionShape polygon;
  CollisionPolygon p;
  p.points = {{0, 0}, {32, 0}, {32, 8}, {8, 8}, {8, 32}, {0, 32}};
  p.height = 64;
  polygon.polygons.push_back(p);
  ShapeTests(state, polygon, Box(-12, -8, 12, 16, 0, 64), 0.5f);
}
BENCHMARK(BM_PolygonAgainstTurnedBox);

}  // namespace
