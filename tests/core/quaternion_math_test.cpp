#include "core/quaternion_math.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "core/angles.h"

namespace kiv {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Point3 = std::array<double, 3>;

// Right-handed rotations of column vectors about one axis.
Matrix3 RotationX(double a) {
  return {{{1, 0, 0}, {0, std::cos(a), -std::sin(a)}, {0, std::sin(a), std::cos(a)}}};
}
Matrix3 RotationY(double a) {
  return {{{std::cos(a), 0, std::sin(a)}, {0, 1, 0}, {-std::sin(a), 0, std::cos(a)}}};
}
Matrix3 RotationZ(double a) {
  return {{{std::cos(a), -std::sin(a), 0}, {std::sin(a), std::cos(a), 0}, {0, 0, 1}}};
}

Point3 Apply(const Matrix3& m, const Point3& p) {
  Point3 r{};
  for (int i = 0; i < 3; ++i) r[i] = m[i][0] * p[0] + m[i][1] * p[1] + m[i][2] * p[2];
  return r;
}

// q p q*, with the Hamilton product.
Point3 RotateByQuaternion(const Quaternion& q, const Point3& p) {
  const double x = q.x, y = q.y, z = q.z, w = q.w;
  // t = 2 (q.xyz x p); p' = p + w t + q.xyz x t
  const double tx = 2 * (y * p[2] - z * p[1]);
  const double ty = 2 * (z * p[0] - x * p[2]);
  const double tz = 2 * (x * p[1] - y * p[0]);
  return {p[0] + w * tx + (y * tz - z * ty), p[1] + w * ty + (z * tx - x * tz),
          p[2] + w * tz + (x * ty - y * tx)};
}

struct Angles {
  float x, y, z;
};

const Angles kAngleCases[] = {
    {0.3f, 0.5f, 0.7f}, {1.2f, -0.4f, 2.0f}, {-2.5f, 3.0f, 0.1f}, {0.0f, 1.0f, 0.0f}, {0.9f, 0.0f, -1.3f},
};

TEST(QuaternionFromYawPitchRoll, TurnsAboutZThenXThenY) {
  const Point3 points[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {3, -2, 5}};
  for (const auto& angles : kAngleCases) {
    SCOPED_TRACE(testing::Message() << angles.x << " " << angles.y << " " << angles.z);
    const Quaternion q = QuaternionFromYawPitchRoll(angles.x, angles.y, angles.z);
    for (const auto& p : points) {
      const Point3 expected =
          Apply(RotationY(angles.y), Apply(RotationX(angles.x), Apply(RotationZ(angles.z), p)));
      const Point3 actual = RotateByQuaternion(q, p);
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5);
    }
  }
}

TEST(QuaternionFromYawPitchRoll, SingleAxisHalfTurnComponents) {
  const float h = std::sin(kPiOver4);
  const Quaternion yaw = QuaternionFromYawPitchRoll(0, kPiOver2, 0);
  EXPECT_FLOAT_EQ(yaw.y, h);
  EXPECT_FLOAT_EQ(yaw.w, h);
  EXPECT_EQ(yaw.x, 0.0f);
  EXPECT_EQ(yaw.z, 0.0f);
  const Quaternion pitch = QuaternionFromYawPitchRoll(kPiOver2, 0, 0);
  EXPECT_FLOAT_EQ(pitch.x, h);
  EXPECT_FLOAT_EQ(pitch.w, h);
  const Quaternion none = QuaternionFromYawPitchRoll(0, 0, 0);
  EXPECT_EQ(none, (Quaternion{0, 0, 0, 1}));
}

TEST(QuaternionRotatePlanar, RotatesThePointInTheXyPlane) {
  const std::pair<float, float> points[] = {{1, 0}, {0, 1}, {2.5f, -4}};
  for (const auto& angles : kAngleCases) {
    const Quaternion q = QuaternionFromYawPitchRoll(angles.x, angles.y, angles.z);
    const Matrix3 rotation = [&] {
      Matrix3 yx{};
      const Matrix3 y = RotationY(angles.y), x = RotationX(angles.x), z = RotationZ(angles.z);
      Matrix3 result{};
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
          for (int k = 0; k < 3; ++k) yx[i][j] += y[i][k] * x[k][j];
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
          for (int k = 0; k < 3; ++k) result[i][j] += yx[i][k] * z[k][j];
      return result;
    }();
    for (const auto& [a, b] : points) {
      const Point3 expected = Apply(rotation, {a, b, 0});
      EXPECT_NEAR(QuaternionRotatePlanarX(a, b, q), expected[0], 1e-5);
      EXPECT_NEAR(QuaternionRotatePlanarY(a, b, q), expected[1], 1e-5);
      EXPECT_NEAR(QuaternionRotatePlanarZ(a, b, q), expected[2], 1e-5);
    }
  }
}

TEST(QuaternionToEuler, GivesTheAnglesBackWhenPitchOrRollIsZero) {
  const Angles cases[] = {{0.0f, 1.0f, 0.5f},   {0.0f, -2.0f, -1.2f}, {0.7f, 2.5f, 0.0f},
                          {-1.1f, -0.3f, 0.0f}, {0.0f, 0.0f, 0.0f},   {0.4f, 0.0f, 0.0f}};
  for (const auto& angles : cases) {
    SCOPED_TRACE(testing::Message() << angles.x << " " << angles.y << " " << angles.z);
    const Vector3 back = QuaternionToEuler(QuaternionFromYawPitchRoll(angles.x, angles.y, angles.z));
    EXPECT_NEAR(back.x, angles.x, 1e-5);
    EXPECT_NEAR(back.y, angles.y, 1e-5);
    EXPECT_NEAR(back.z, angles.z, 1e-5);
  }
}

TEST(QuaternionToEuler, AQuarterTurnRoundedPastOneStaysANumber) {
  // 2 (x y + z w) is just above 1 here.
  const Vector3 angles = QuaternionToEuler(Quaternion{0, 0, 0.70710683f, 0.70710683f});
  EXPECT_FLOAT_EQ(angles.z, static_cast<float>(std::numbers::pi / 2));
  EXPECT_FALSE(std::isnan(angles.x));
  EXPECT_FALSE(std::isnan(angles.y));
}

Matrix4 Identity() {
  Matrix4 m;
  for (int i = 0; i < 4; ++i) m.m[i][i] = 1;
  return m;
}

TEST(ProjectToScreen, MapsClipSpaceIntoTheViewport) {
  const Viewport viewport{0, 0, 640, 480, 0, 1};
  const std::tuple<Vector3, Vector3> cases[] = {
      {{0, 0, 0}, {320, 240, 0}},
      {{1, 1, 0.5f}, {640, 0, 0.5f}},
      {{-1, -1, 1}, {0, 480, 1}},
  };
  for (const auto& [point, expected] : cases) {
    const Vector3 screen =
        ProjectToScreen(point.x, point.y, point.z, viewport, Identity(), Identity(), Identity());
    EXPECT_FLOAT_EQ(screen.x, expected.x);
    EXPECT_FLOAT_EQ(screen.y, expected.y);
    EXPECT_FLOAT_EQ(screen.z, expected.z);
  }
}

TEST(ProjectToScreen, AppliesWorldThenViewThenProjectionAndDividesByW) {
  Matrix4 world = Identity();
  world.m[3][0] = 1;  // move right by 1
  Matrix4 view = Identity();
  view.m[0][0] = view.m[1][1] = view.m[2][2] = 2;  // scale by 2
  Matrix4 projection = Identity();                 // w := z, depth z / z
  projection.m[2][3] = 1;
  projection.m[3][3] = 0;
  const Viewport viewport{10, 20, 640, 480, 0.25f, 0.75f};
  // (1, 1, 4) -> world (2, 1, 4) -> view (4, 2, 8) -> w 8: (0.5, 0.25, 1)
  const Vector3 screen = ProjectToScreen(1, 1, 4, viewport, projection, view, world);
  EXPECT_FLOAT_EQ(screen.x, 10 + 640 * 1.5f / 2);
  EXPECT_FLOAT_EQ(screen.y, 20 + 480 * 0.75f / 2);
  EXPECT_FLOAT_EQ(screen.z, 0.75f);
}

}  // namespace
}  // namespace kiv
