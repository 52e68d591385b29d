#include "mathkiv/path_search.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>

#include "grid_fixture.h"
#include "mathkiv/math_init.h"

namespace kiv {
namespace {

using test::TestGrid;

constexpr std::int32_t kCell = 16;
constexpr std::int32_t kDx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr std::int32_t kDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};

struct Point {
  std::int32_t i;
  std::int32_t j;
};

class PathSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { MathInit(kCell, 0); }
  void TearDown() override { mathKivSettings.Reset(); }

  // A mover standing in the middle of point p, its footprint one point wide
  // (or `size` points) and 64 pixels tall.
  static Box Footprint(Point p, std::int32_t z = 0, std::int32_t size = 1) {
    const std::int32_t x = p.i * kCell + kCell / 2;
    const std::int32_t y = p.j * kCell + kCell / 2;
    const std::int32_t half = size * kCell / 2;
    return Box{x - half, y - half, x + half, y + half, z, z + 64};
  }

  static std::vector<std::uint8_t> Find(TestGrid& grid, Point from, Point to, std::uint8_t flag = 0,
                                        std::int32_t option = 0, std::int32_t z = 0, std::int32_t size = 1) {
    return AIFindPath(grid.View(), from.i * kCell + kCell / 2, from.j * kCell + kCell / 2, z,
                      to.i * kCell + 3, to.j * kCell + 5, 0, Footprint(from, z, size), flag, option);
  }
  static std::uint8_t Next(TestGrid& grid, Point from, Point to) {
    return AIFindNext(grid.View(), from.i * kCell + kCell / 2, from.j * kCell + kCell / 2, 0, to.i * kCell,
                      to.j * kCell, 0, Footprint(from), 0);
  }

  static Point Walk(Point p, const std::vector<std::uint8_t>& path) {
    for (std::uint8_t d : path) p = {p.i + kDx[d], p.j + kDy[d]};
    return p;
  }

  static void Wall(TestGrid& grid, std::int32_t column, std::int32_t fromRow, std::int32_t toRow) {
    for (std::int32_t j = fromRow; j <= toRow; ++j) grid.At(column, j, 1) = 1;
  }
};

TEST_F(PathSearchTest, StraightAndDiagonalRoutes) {
  TestGrid grid(10, 10, 3);
  EXPECT_EQ(Find(grid, {1, 5}, {6, 5}), (std::vector<std::uint8_t>(5, 4)));
  EXPECT_EQ(Find(grid, {6, 5}, {1, 5}), (std::vector<std::uint8_t>(5, 0)));
  EXPECT_EQ(Find(grid, {3, 8}, {3, 2}), (std::vector<std::uint8_t>(6, 2)));
  EXPECT_EQ(Find(grid, {1, 1}, {4, 4}), (std::vector<std::uint8_t>(3, 5)));
  EXPECT_EQ(Find(grid, {4, 4}, {1, 1}), (std::vector<std::uint8_t>(3, 1)));
  EXPECT_EQ(Next(grid, {1, 5}, {6, 5}), 4);
  EXPECT_EQ(Next(grid, {5, 5}, {5, 9}), 6);
}

TEST_F(PathSearchTest, StartEqualToGoalHasNoSteps) {
  TestGrid grid(10, 10, 3);
  EXPECT_TRUE(Find(grid, {4, 4}, {4, 4}).empty());
  EXPECT_EQ(Next(grid, {4, 4}, {4, 4}), kNoDirection);
}

TEST_F(PathSearchTest, DetourRoundAWall) {
  TestGrid grid(10, 10, 3);
  Wall(grid, 5, 0, 8);  // open only at row 9
  const std::vector<std::uint8_t> path = Find(grid, {2, 2}, {8, 2});
  ASSERT_FALSE(path.empty());
  Point p{2, 2};
  bool passedTheGap = false;
  for (std::uint8_t d : path) {
    p = {p.i + kDx[d], p.j + kDy[d]};
    EXPECT_EQ(grid.At(p.i, p.j, 1), 0) << "stepped onto the wall";
    passedTheGap |= (p.i == 5 && p.j == 9);
  }
  EXPECT_TRUE(passedTheGap);
  EXPECT_EQ(p.i, 8);
  EXPECT_EQ(p.j, 2);
}

TEST_F(PathSearchTest, NoRouteGivesNothingAndGetCloseGoesToTheNearestPoint) {
  TestGrid grid(10, 10, 3);
  Wall(grid, 5, 0, 9);
  EXPECT_TRUE(Find(grid, {2, 4}, {8, 4}).empty());
  EXPECT_EQ(Next(grid, {2, 4}, {8, 4}), kNoDirection);
  const std::vector<std::uint8_t> close = Find(grid, {2, 4}, {8, 4}, 0, -1);
  ASSERT_FALSE(close.empty());
  const Point end = Walk({2, 4}, close);
  EXPECT_EQ(end.i, 4);
  EXPECT_EQ(end.j, 4);

  // A blocked goal, or one outside the grid, is no route either.
  TestGrid open(10, 10, 3);
  open.At(7, 7, 1) = 1;
  EXPECT_TRUE(Find(open, {1, 1}, {7, 7}).empty());
  EXPECT_TRUE(Find(open, {1, 1}, {12, 3}).empty());
  EXPECT_FALSE(Find(open, {1, 1}, {7, 7}, 0, 1).empty());
}

TEST_F(PathSearchTest, NoCornerCutting) {
  TestGrid grid(10, 10, 3);
  grid.At(3, 2, 1) = 1;
  grid.At(2, 3, 1) = 1;
  const std::vector<std::uint8_t> path = Find(grid, {2, 2}, {3, 3});
  ASSERT_FALSE(path.empty());
  EXPECT_GT(path.size(), 1u);
}

TEST_F(PathSearchTest, HeightRuleRefusesASteepClimbUnlessTheMoverIgnoresHeights) {
  TestGrid ridge(10, 10, 3);
  for (std::int32_t j = 0; j < 10; ++j) ridge.At(5, j, 0) = kMaxClimbPerStep + 8;
  EXPECT_TRUE(Find(ridge, {2, 4}, {8, 4}).empty());
  EXPECT_EQ(Find(ridge, {2, 4}, {8, 4}, 1), (std::vector<std::uint8_t>(6, 4)));
  // Stepping down is allowed.
  EXPECT_EQ(Find(ridge, {5, 4}, {8, 4}), (std::vector<std::uint8_t>(3, 4)));

  TestGrid ramp(10, 10, 6);
  for (std::int32_t j = 0; j < 10; ++j)
    for (std::int32_t i = 0; i < 10; ++i) ramp.At(i, j, 0) = static_cast<std::uint8_t>(i * 10);
  EXPECT_EQ(Find(ramp, {1, 4}, {8, 4}), (std::vector<std::uint8_t>(7, 4)));
}

TEST_F(PathSearchTest, OnlyTheLayersOfTheMoversBodyBlockIt) {
  TestGrid grid(10, 10, 6);
  Wall(grid, 5, 0, 9);  // layer 1: heights 0..32
  EXPECT_TRUE(Find(grid, {2, 4}, {8, 4}).empty());
  // Standing at 64, its body spans 64..128: layers 3 and 4.
  EXPECT_EQ(Find(grid, {2, 4}, {8, 4}, 0, 0, 64), (std::vector<std::uint8_t>(6, 4)));
  for (std::int32_t j = 0; j < 10; ++j) grid.At(5, j, 4) = 1;
  EXPECT_TRUE(Find(grid, {2, 4}, {8, 4}, 0, 0, 64).empty());
}

TEST_F(PathSearchTest, AWideMoverNeedsAWideGap) {
  TestGrid grid(12, 12, 3);
  Wall(grid, 6, 0, 4);
  Wall(grid, 6, 6, 11);  // a gap of one point at row 5
  EXPECT_FALSE(Find(grid, {2, 5}, {9, 5}).empty());
  // 32 pixels centred on a point reach into the points on both sides of it.
  EXPECT_TRUE(Find(grid, {2, 5}, {9, 5}, 0, 0, 0, 2).empty());
  grid.At(6, 6, 1) = 0;
  EXPECT_TRUE(Find(grid, {2, 5}, {9, 5}, 0, 0, 0, 2).empty());
  grid.At(6, 4, 1) = 0;  // three points wide
  EXPECT_FALSE(Find(grid, {2, 5}, {9, 5}, 0, 0, 0, 2).empty());
}

// Every route over random grids stays on free points, never cuts a corner and
// reaches the goal; an empty result only when the goal is unreachable.
TEST_F(PathSearchTest, RandomGridsGiveWalkableRoutesToTheGoal) {
  std::mt19937 random(20240601);
  constexpr std::int32_t kSize = 24;
  for (int round = 0; round < 200; ++round) {
    TestGrid grid(kSize, kSize, 3);
    std::bernoulli_distribution blocked(0.3);
    for (std::int32_t j = 0; j < kSize; ++j)
      for (std::int32_t i = 0; i < kSize; ++i) grid.At(i, j, 1 + (i + j) % 2) = blocked(random) ? 1 : 0;
    auto isFree = [&](std::int32_t i, std::int32_t j) {
      return i >= 0 && j >= 0 && i < kSize && j < kSize && grid.At(i, j, 1) == 0 && grid.At(i, j, 2) == 0;
    };
    std::uniform_int_distribution<std::int32_t> coordinate(0, kSize - 1);
    Point from{coordinate(random), coordinate(random)};
    Point to{coordinate(random), coordinate(random)};
    grid.At(from.i, from.j, 1) = grid.At(from.i, from.j, 2) = 0;
    grid.At(to.i, to.j, 1) = grid.At(to.i, to.j, 2) = 0;

    // Reachability by a plain breadth-first walk with the same step rule.
    auto canStep = [&](Point p, int d) {
      const Point q{p.i + kDx[d], p.j + kDy[d]};
      if (!isFree(q.i, q.j)) return false;
      if (d % 2 == 1) return isFree(p.i + kDx[d], p.j) && isFree(p.i, p.j + kDy[d]);
      return true;
    };
    std::vector<bool> seen(kSize * kSize, false);
    std::deque<Point> queue{from};
    seen[from.i + kSize * from.j] = true;
    while (!queue.empty()) {
      const Point p = queue.front();
      queue.pop_front();
      for (int d = 0; d < 8; ++d) {
        if (!canStep(p, d)) continue;
        const Point q{p.i + kDx[d], p.j + kDy[d]};
        if (!seen[q.i + kSize * q.j]) {
          seen[q.i + kSize * q.j] = true;
          queue.push_back(q);
        }
      }
    }
    const bool same = from.i == to.i && from.j == to.j;
    const bool reachable = seen[to.i + kSize * to.j] && !same;

    const std::vector<std::uint8_t> path = Find(grid, from, to);
    ASSERT_EQ(!path.empty(), reachable) << "round " << round;
    Point p = from;
    for (std::uint8_t d : path) {
      ASSERT_LT(d, 8);
      ASSERT_TRUE(canStep(p, d)) << "round " << round;
      p = {p.i + kDx[d], p.j + kDy[d]};
    }
    if (reachable) {
      EXPECT_EQ(p.i, to.i) << "round " << round;
      EXPECT_EQ(p.j, to.j) << "round " << round;
      EXPECT_EQ(Next(grid, from, to), path.front());
    }
  }
}

}  // namespace
}  // namespace kiv
