#include "core/angles.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numbers>

namespace kiv {
namespace {

constexpr double kPiDouble = std::numbers::pi;

TEST(AngleConstants, AreThe32BitFloatsOfPiAndItsFractions) {
  EXPECT_EQ(std::bit_cast<std::uint32_t>(kPi), 0x40490FDBu);
  EXPECT_EQ(kPiOver8, static_cast<float>(kPiDouble / 8));
  EXPECT_EQ(kPiOver4, static_cast<float>(kPiDouble / 4));
  EXPECT_EQ(kPiOver2, static_cast<float>(kPiDouble / 2));
  EXPECT_EQ(kThreePiOver4, static_cast<float>(3 * kPiDouble / 4));
  EXPECT_EQ(kTwoPi, static_cast<float>(2 * kPiDouble));
}

TEST(Atan2, QuadrantsAndAxesUseThe32BitPi) {
  const double pi = kPi;  // 3.1415927410125732, not the double pi
  const std::tuple<double, double, double> cases[] = {
      {1, 0, kPiOver2},
      {-1, 0, -kPiOver2},
      {0, -1, pi},
      {0, 0, 0},
      {1, 1, kPiDouble / 4},
      {1, -1, pi - kPiDouble / 4},
      {-1, -1, kPiDouble / 4 - pi},
      {-1, 1, -kPiDouble / 4},
  };
  for (const auto& [y, x, expected] : cases) {
    SCOPED_TRACE(testing::Message() << y << ", " << x);
    EXPECT_DOUBLE_EQ(Atan2(y, x), expected);
  }
}

TEST(AsinAcos, EndsOfTheRangeAndOutside) {
  EXPECT_DOUBLE_EQ(Asin(1), kPiDouble / 2);
  EXPECT_DOUBLE_EQ(Asin(-1), -kPiDouble / 2);
  EXPECT_DOUBLE_EQ(Asin(0.5), kPiDouble / 6);
  EXPECT_DOUBLE_EQ(Acos(1), 0);
  EXPECT_DOUBLE_EQ(Acos(-1), kPiDouble);
  EXPECT_DOUBLE_EQ(Acos(0.5), kPiDouble / 3);
  EXPECT_TRUE(std::isnan(Asin(1.5)));
  EXPECT_TRUE(std::isnan(Acos(-1.5)));
}

TEST(AngleBetweenPoints, EveryDirectionFromTheFirstPoint) {
  const std::tuple<float, float, float> cases[] = {
      {1, 0, 0},
      {0, 1, kPiOver2},
      {0, -1, -kPiOver2},
      {0, 0, kPiOver2},  // same point: straight down
      {-1, 0, kPi},
      {-1, 1, static_cast<float>(-kPiDouble / 4 + kPi)},
      {-1, -1, static_cast<float>(kPiDouble / 4 - kPi)},
  };
  for (const auto& [dx, dy, expected] : cases) {
    SCOPED_TRACE(testing::Message() << dx << ", " << dy);
    EXPECT_FLOAT_EQ(AngleBetweenPoints(10, 20, 10 + dx, 20 + dy), expected);
  }
}

TEST(WrapAngle, KeepsBothEndsAndTakesWholeTurns) {
  EXPECT_EQ(WrapAngle(kPi), kPi);
  EXPECT_EQ(WrapAngle(-kPi), -kPi);
  EXPECT_EQ(WrapAngle(0), 0);
  EXPECT_NEAR(WrapAngle(3 * kPi), kPi, 1e-6);
  EXPECT_LE(WrapAngle(3 * kPi), kPi);
  EXPECT_NEAR(WrapAngle(10), 10 - 4 * kPiDouble, 1e-5);
  EXPECT_NEAR(WrapAngle(-10), -10 + 4 * kPiDouble, 1e-5);
  EXPECT_NEAR(AngleDifference(3, -3), 6 - 2 * kPiDouble, 1e-5);
}

TEST(WrapAngle, HugeAndInfiniteAnglesEndInsteadOfLoopingForever) {
  for (const float angle : {1e9f, -1e30f, 123456.7f}) {
    const float wrapped = WrapAngle(angle);
    EXPECT_GE(wrapped, -kPi) << angle;
    EXPECT_LE(wrapped, kPi) << angle;
  }
  EXPECT_TRUE(std::isnan(WrapAngle(INFINITY)));
  EXPECT_TRUE(std::isnan(WrapAngle(-INFINITY)));
  EXPECT_TRUE(std::isnan(WrapAngle(NAN)));
}

TEST(AngleWithinArc, InsideAndAcrossTheWrap) {
  const std::tuple<float, float, float, bool> cases[] = {
      {0, 0, 0.1f, true},        {0.2f, 0, 0.1f, false},
      {0.1f, 0, 0.1f, true},     {3.1f, -3.1f, 0.2f, true},  // the arc reaches below -pi
      {-3.1f, 3.1f, 0.2f, true},                             // the arc reaches above pi
      {0, 3.1f, 0.2f, false},    {-2.9f, 3.1f, 0.2f, false},
      {0, 0, 4, true},  // more than half a turn on each side
  };
  for (const auto& [a, centre, half, expected] : cases) {
    SCOPED_TRACE(testing::Message() << a << " " << centre << " " << half);
    EXPECT_EQ(AngleWithinArc(a, centre, half), expected);
  }
}

TEST(ValueBetween, RangesThroughPiExcludeTheirEnds) {
  EXPECT_TRUE(ValueBetween(3, 2.5f, -2.5f));
  EXPECT_FALSE(ValueBetween(0, 2.5f, -2.5f));
  EXPECT_FALSE(ValueBetween(2.5f, 2.5f, -2.5f));
  EXPECT_FALSE(ValueBetween(-2.5f, 2.5f, -2.5f));
  EXPECT_TRUE(ValueBetween(-3, 2.5f, -2.5f));
  EXPECT_TRUE(ValueBetween(2.5f, -2.5f, 2.5f));
  EXPECT_TRUE(ValueBetween(-2.5f, -2.5f, 2.5f));
  EXPECT_FALSE(ValueBetween(3, -2.5f, 2.5f));
}

TEST(Directions, AngleOfEachDirection) {
  EXPECT_EQ(DirectionToAngle(0), -kPi);
  EXPECT_EQ(DirectionToAngle(2), -kPiOver2);
  EXPECT_EQ(DirectionToAngle(4), 0.0f);
  EXPECT_EQ(DirectionToAngle(6), kPiOver2);
  for (std::int32_t d = 0; d < 8; ++d) EXPECT_EQ(AngleToDirection(DirectionToAngle(d)), d);
}

TEST(AngleToDirection, FirstMatchingSectorWinsOnBoundaries) {
  const std::pair<float, std::int32_t> cases[] = {
      {-kPiOver8, 3},  // on the border of RightUp and Right
      {kPiOver8, 4},   // on the border of Right and RightDown
      {3.0f, 0},
      {-3.0f, 0},
      {10.0f, 1},  // wraps to about -2.566
      {kPi, 0},
      {-kPi, 0},
      {0x1.2d97c8p+0f, 5},  // 3pi/8, upper end of RightDown and lower end of Down
      {0x1.2d97cap+0f, 6},  // one step above
      // LeftUp and Up overlap in their two end values; LeftUp is tested first.
      {-0x1.f6a7a4p+0f, 1},  // Up's lower bound
      {-0x1.f6a7a2p+0f, 1},  // LeftUp's upper bound
      {-0x1.f6a7a0p+0f, 2},
      {-0x1.5fdbcp+1f, 0},   // Left's upper bound
      {-0x1.5fdbbep+1f, 1},  // LeftUp's lower bound, the next float
      {0x1.5fdbbep+1f, 7},   // LeftDown's upper bound
      {0x1.5fdbcp+1f, 0},    // Left's lower bound, the next float
      {NAN, 0},
  };
  for (const auto& [angle, expected] : cases) {
    SCOPED_TRACE(testing::Message() << std::hexfloat << angle);
    EXPECT_EQ(AngleToDirection(angle), expected);
  }
}

TEST(Directions, MirrorAndBit) {
  const std::tuple<std::int32_t, std::int32_t, std::int32_t> cases[] = {
      {0, 4, 1},  {1, 3, 2},   {2, 8, 4}, {3, 1, 8},  {4, 0, 16}, {5, 7, 32},
      {6, 8, 64}, {7, 5, 128}, {8, 8, 0}, {-1, 8, 0}, {31, 8, 0},
  };
  for (const auto& [direction, mirror, bit] : cases) {
    SCOPED_TRACE(direction);
    EXPECT_EQ(DirectionMirror(direction), mirror);
    EXPECT_EQ(DirectionBit(direction), bit);
  }
}

}  // namespace
}  // namespace kiv
