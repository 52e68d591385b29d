#include "core/tile_random.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "core/random.h"

namespace kiv {
namespace {

struct Args {
  std::int32_t map, x, y, z, salt;
};

TEST(TileRandom, SameArgumentsGiveTheSameValueInRange) {
  const Args cases[] = {{0, 0, 0, 0, 0},        {1, 3, 4, 0, 1},   {1, 3, 4, 0, 7},
                        {2, -1, -5, 2, 4},      {7, 200, 150, 3, 6}, {-3, 0, 0, 0, -2},
                        {INT32_MAX, INT32_MIN, 5, 9, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.map << " " << c.x << " " << c.y << " " << c.z << " " << c.salt);
    const float first = TileRandom(c.map, c.x, c.y, c.z, c.salt);
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 1.0f);
    EXPECT_EQ(TileRandom(c.map, c.x, c.y, c.z, c.salt), first);
  }
}

TEST(TileRandom, EachArgumentChangesTheValue) {
  // Neighbouring values of each argument, and the swap of x and y, give other values.
  const Args base{1, 10, 20, 2, 1};
  const float value = TileRandom(base.map, base.x, base.y, base.z, base.salt);
  const Args others[] = {{2, 10, 20, 2, 1}, {1, 11, 20, 2, 1}, {1, 10, 21, 2, 1}, {1, 10, 20, 3, 1},
                         {1, 10, 20, 2, 7}, {1, 10, 20, 2, 0}, {1, 20, 10, 2, 1}};
  for (const auto& o : others) {
    SCOPED_TRACE(testing::Message() << o.map << " " << o.x << " " << o.y << " " << o.z << " " << o.salt);
    EXPECT_NE(TileRandom(o.map, o.x, o.y, o.z, o.salt), value);
  }
}

TEST(TileRandom, SpreadsEvenlyOverTheRange) {
  // 64 x 64 cells, 2 layers, 8 salts: each tenth of the range gets about 10%.
  std::array<int, 10> buckets{};
  int total = 0;
  std::set<float> distinct;
  for (int salt = 0; salt < 8; ++salt)
    for (int z = 0; z < 2; ++z)
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const float r = TileRandom(3, x, y, z, salt);
          ++buckets[static_cast<std::size_t>(r * 10.0f)];
          distinct.insert(r);
          ++total;
        }
  for (int count : buckets) EXPECT_NEAR(static_cast<double>(count) / total, 0.1, 0.01);
  EXPECT_GT(distinct.size(), static_cast<std::size_t>(total) * 99 / 100);
}

TEST(TileRandom, LeavesTheSharedGeneratorAlone) {
  RandomSeed(1234);
  const double expected = RandomNext();
  RandomSeed(1234);
  (void)TileRandom(1, 2, 3, 0, 5);
  EXPECT_EQ(RandomNext(), expected);
}

}  // namespace
}  // namespace kiv
