#include "data/rotation_interpolation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kiv {
namespace {

constexpr float kTolerance = 1e-6f;

Quaternion AboutZ(double degrees) {
  const double half = degrees * M_PI / 360.0;
  return Quaternion{0.0f, 0.0f, static_cast<float>(std::sin(half)), static_cast<float>(std::cos(half))};
}

void ExpectNear(const Quaternion& actual, const Quaternion& expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
  EXPECT_NEAR(actual.z, expected.z, kTolerance);
  EXPECT_NEAR(actual.w, expected.w, kTolerance);
}

TEST(InterpolateRotation, FollowsTheArcBetweenTwoTurns) {
  struct Case {
    float t;
    double degrees;
  };
  // From no turn to 90 degrees about z: the angle grows linearly with t.
  for (const Case c : {Case{0.0f, 0.0}, Case{0.25f, 22.5}, Case{0.5f, 45.0}, Case{1.0f, 90.0}}) {
    SCOPED_TRACE(c.t);
    ExpectNear(InterpolateRotation(Quaternion(), AboutZ(90), c.t), AboutZ(c.degrees));
  }
  // The half-way turn: (0, 0, sin 22.5, cos 22.5).
  ExpectNear(InterpolateRotation(Quaternion(), AboutZ(90), 0.5f),
             Quaternion{0.0f, 0.0f, 0.38268343f, 0.92387953f});
}

TEST(InterpolateRotation, TakesTheShorterWayWhenTheTargetPointsApart) {
  const Quaternion target = AboutZ(90);
  const Quaternion negated{-target.x, -target.y, -target.z, -target.w};  // the same rotation
  ExpectNear(InterpolateRotation(Quaternion(), negated, 0.5f), AboutZ(45));
}

TEST(InterpolateRotation, BlendsNearlyEqualTurnsLinearly) {
  const Quaternion a = AboutZ(0.01);
  const Quaternion b = AboutZ(0.03);
  const Quaternion mid = InterpolateRotation(a, b, 0.5f);
  EXPECT_NEAR(mid.z, (a.z + b.z) / 2, kTolerance);
  EXPECT_FALSE(std::isnan(mid.w));
  ExpectNear(InterpolateRotation(Quaternion(), Quaternion(), 0.3f), Quaternion());
}

}  // namespace
}  // namespace kiv
