#include "script/script_convert.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/angles.h"

namespace kiv {
namespace {

TEST(AngleToQuarterDirection, ClosedQuartersTestedInOrder) {
  struct Case {
    float angle;
    std::int32_t direction;
  };
  const Case cases[] = {
      {0.0f, 4},
      {kPiOver2, 6},
      {-kPiOver2, 2},
      {kPi, 0},
      {-kPi, 0},
      {-(kPi - kPiOver4), 0},  // -3pi/4 lies in the first range tested
      {-kPiOver4, 2},          // -pi/4 ends the range of Up
      {kPiOver4, 4},
      {kPi - kPiOver4, 0},     // 3pi/4: the range around pi is tested before the one of Down
      {std::nextafter(kPi - kPiOver4, 0.0f), 6},
      {kPi + kPiOver4, 0},
      {-(kPi + kPiOver4), 0},
      {4.0f, 0},               // beyond every range
      {-4.0f, 0},
      {0.5f, 4},
      {1.5f, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    EXPECT_EQ(AngleToQuarterDirection(c.angle), c.direction);
  }
}

}  // namespace
}  // namespace kiv
