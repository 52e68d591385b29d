#include "core/math_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/error.h"
#include "core/random.h"

namespace kiv {
namespace {

int ErrorNumberOf(void (*call)()) {
  try {
    call();
  } catch (const KivError& error) {
    return error.Number();
  }
  return 0;
}

TEST(Clamp, LowIsTestedFirst) {
  struct Case {
    std::int32_t x, low, high, expected;
  };
  const Case cases[] = {{5, 0, 10, 5},
                        {-1, 0, 10, 0},
                        {11, 0, 10, 10},
                        {0, 0, 10, 0},
                        {10, 0, 10, 10},
                        // low above high: low for x below low, high otherwise
                        {3, 5, 1, 5},
                        {7, 5, 1, 1},
                        {5, 5, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " " << c.low << " " << c.high);
    EXPECT_EQ(ClampLong(c.x, c.low, c.high), c.expected);
    EXPECT_EQ(ClampSingle(static_cast<float>(c.x), static_cast<float>(c.low), static_cast<float>(c.high)),
              static_cast<float>(c.expected));
  }
  EXPECT_EQ(ClampSingle(0.25f, 0.0f, 1.0f), 0.25f);
}

TEST(MinMax, PickTheSmallerAndTheLarger) {
  EXPECT_EQ(MinLong(-3, 2), -3);
  EXPECT_EQ(MaxLong(-3, 2), 2);
  EXPECT_EQ(MinByte(200, 7), 7);
  EXPECT_EQ(MaxByte(200, 7), 200);
  EXPECT_EQ(MinSingle(1.5f, -0.5f), -0.5f);
  EXPECT_EQ(MaxSingle(1.5f, -0.5f), 1.5f);
  std::int32_t a = 1, b = 2;
  SwapLong(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
  std::uint8_t c = 3, d = 4;
  SwapByte(c, d);
  EXPECT_EQ(c, 4);
  EXPECT_EQ(d, 3);
}

TEST(Rounding, CeilingAndAwayFromZero) {
  const std::tuple<double, std::int32_t, std::int32_t> cases[] = {
      {1.2, 2, 2}, {-1.2, -1, -2}, {3.0, 3, 3}, {-3.0, -3, -3}, {0.0, 0, 0}, {-0.5, 0, -1}, {0.5, 1, 1},
  };
  for (const auto& [x, ceiling, away] : cases) {
    SCOPED_TRACE(x);
    EXPECT_EQ(CeilingLong(x), ceiling);
    EXPECT_EQ(RoundAwayFromZero(x), away);
  }
}

TEST(Rounding, ResultsOutsideTheLongRangeOverflow) {
  EXPECT_EQ(ErrorNumberOf([] { CeilingLong(2147483647.5); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { CeilingLong(std::nan("")); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { RoundAwayFromZero(-2147483648.5); }), 6);
  EXPECT_EQ(CeilingLong(-2147483648.5), INT_MIN);
  EXPECT_EQ(ErrorNumberOf([] { ShiftLeftPow2(1, 31); }), 6);
}

TEST(Rounding, RoundToLongHalvesToEvenAndClampsIntoTheLongRange) {
  const struct {
    double x;
    std::int32_t expected;
  } cases[] = {{2.5, 2},         {3.5, 4},          {-2.5, -2},        {-3.5, -4},       {0.49, 0},
               {1e20, INT_MAX},  {-1e20, INT_MIN},  {std::nan(""), 0}, {INFINITY, INT_MAX}};
  for (const auto& c : cases) EXPECT_EQ(RoundToLong(c.x), c.expected) << c.x;
}

TEST(PositiveMod, NegativeDividendsWrapIntoZeroToDivisorMinusOne) {
  const std::tuple<std::int32_t, std::int32_t, std::int32_t> cases[] = {
      {-1, 8, 7}, {-8, 8, 0},      {-9, 8, 7},       {9, 8, 1},
      {0, 8, 0},  {INT_MIN, 8, 0}, {INT_MIN, -1, 0}, {INT_MIN, 7, 5},
  };
  for (const auto& [a, b, expected] : cases) {
    SCOPED_TRACE(testing::Message() << a << " mod " << b);
    EXPECT_EQ(PositiveMod(a, b), expected);
  }
  EXPECT_EQ(ErrorNumberOf([] { PositiveMod(5, 0); }), 11);
}

TEST(ShiftLeftPow2, MultipliesByAPowerOfTwo) {
  EXPECT_EQ(ShiftLeftPow2(3, 4), 48);
  EXPECT_EQ(ShiftLeftPow2(-3, 2), -12);
  EXPECT_EQ(ShiftLeftPow2(1, 30), 1 << 30);
  EXPECT_EQ(ShiftLeftPow2(-1, 31), INT_MIN);
  EXPECT_EQ(ShiftLeftPow2(12, -2), 3);
}

TEST(NearlyEqual, ToleranceIsInclusive) {
  EXPECT_TRUE(NearlyEqual(1.0f, 1.5f, 0.5f));
  EXPECT_TRUE(NearlyEqual(-0.05f, 0.0f, 0.1f));
  EXPECT_FALSE(NearlyEqual(1.0f, 1.5f, 0.25f));
}

TEST(RandomSpread, DrawsFromTheSharedGeneratorWithinTheSpread) {
  RandomSeed(42);
  const double r = RandomNext();
  RandomSeed(42);
  EXPECT_FLOAT_EQ(RandomSpread(10.0f, 0.5f), static_cast<float>(10.0 + 10.0 * 0.5 * (2.0 * r - 1.0)));
  for (int i = 0; i < 1000; ++i) {
    const float value = RandomSpread(100.0f, 0.2f);
    ASSERT_GE(value, 80.0f);
    ASSERT_LE(value, 120.0f);
  }
  EXPECT_EQ(RandomSpread(7.0f, 0.0f), 7.0f);
}

TEST(SafeUBound, LastIndexOrMinusOne) {
  EXPECT_EQ(SafeUBound(std::vector<int>{}), -1);
  EXPECT_EQ(SafeUBound(std::vector<float>{1, 2, 3}), 2);
}

TEST(WrapHourMilliseconds, DropsTheSignBitThenTakesTheHour) {
  EXPECT_EQ(WrapHourMilliseconds(3599999), 3599999);
  EXPECT_EQ(WrapHourMilliseconds(3600000), 0);
  EXPECT_EQ(WrapHourMilliseconds(3600001), 1);
  EXPECT_EQ(WrapHourMilliseconds(-1), 2147483647 % 3600000);
  EXPECT_EQ(WrapHourMilliseconds(INT_MIN), 0);
}

TEST(Records, ColourBytesBoxesAndVectors) {
  std::uint8_t a = 0, r = 0, g = 0, b = 0;
  ColorSplitBytes(0xFF102030u, a, r, g, b);
  EXPECT_EQ(a, 0xFF);
  EXPECT_EQ(r, 0x10);
  EXPECT_EQ(g, 0x20);
  EXPECT_EQ(b, 0x30);

  EXPECT_EQ(MakeRect(1, 2, 3, 4), (Rect{1, 2, 3, 4}));
  Box box = MakeBox(-12, -8, 12, 16, 0, 64);
  OffsetBox(box, 100, 200, 5);
  EXPECT_EQ(box, (Box{88, 192, 112, 216, 5, 69}));
  EXPECT_EQ(MakeVector3(1, 2, 3), (Vector3{1, 2, 3}));
  EXPECT_EQ(SoundMakeVector(-1, 0, 0.5f), (Vector3{-1, 0, 0.5f}));
}

TEST(IndexSet, AddsOnlyNewValuesUntilReset) {
  IndexSetReset();
  EXPECT_TRUE(IndexSetAddIfNew(5));
  EXPECT_TRUE(IndexSetAddIfNew(-1));
  EXPECT_FALSE(IndexSetAddIfNew(5));
  EXPECT_TRUE(IndexSetAddIfNew(6));
  EXPECT_EQ(SafeUBound(indexSet), 2);
  IndexSetClear();
  EXPECT_EQ(SafeUBound(indexSet), -1);
  EXPECT_TRUE(IndexSetAddIfNew(5));
  IndexSetReset();
}

}  // namespace
}  // namespace kiv
