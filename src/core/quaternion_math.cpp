#include "core/quaternion_math.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/angles.h"

namespace kiv {
namespace {

using Point4 = std::array<double, 4>;

Point4 Transform(const Point4& p, const Matrix4& matrix) {
  Point4 result{};
  for (int column = 0; column < 4; ++column) {
    double sum = 0.0;
    for (int row = 0; row < 4; ++row) sum += p[row] * static_cast<double>(matrix.m[row][column]);
    result[column] = sum;
  }
  return result;
}

}  // namespace

float QuaternionRotatePlanarX(float a, float b, const Quaternion& q) {
  const double x = q.x, y = q.y, z = q.z, w = q.w;
  return static_cast<float>((1 - 2 * (y * y + z * z)) * a + 2 * (x * y - z * w) * b);
}

float QuaternionRotatePlanarY(float a, float b, const Quaternion& q) {
  const double x = q.x, y = q.y, z = q.z, w = q.w;
  return static_cast<float>(2 * (x * y + z * w) * a + (1 - 2 * (x * x + z * z)) * b);
}

float QuaternionRotatePlanarZ(float a, float b, const Quaternion& q) {
  const double x = q.x, y = q.y, z = q.z, w = q.w;
  return static_cast<float>(2 * (x * z - y * w) * a + 2 * (y * z + x * w) * b);
}

Quaternion QuaternionFromYawPitchRoll(float angleX, float angleY, float angleZ) {
  const double sy = std::sin(angleY / 2.0), cy = std::cos(angleY / 2.0);
  const double sp = std::sin(angleX / 2.0), cp = std::cos(angleX / 2.0);
  const double sr = std::sin(angleZ / 2.0), cr = std::cos(angleZ / 2.0);
  return Quaternion{
      static_cast<float>(cy * sp * cr + sy * cp * sr), static_cast<float>(sy * cp * cr - cy * sp * sr),
      static_cast<float>(cy * cp * sr - sy * sp * cr), static_cast<float>(cy * cp * cr + sy * sp * sr)};
}

Vector3 QuaternionToEuler(const Quaternion& q) {
  const double x = q.x, y = q.y, z = q.z, w = q.w;
  // Rounding can push the sine of a quarter turn just past 1, where the arc
  // sine has no value; it is held at 1.
  const double sine = std::clamp(2 * x * y + 2 * z * w, -1.0, 1.0);
  return Vector3{static_cast<float>(Atan2(2 * x * w - 2 * y * z, 1 - 2 * x * x - 2 * z * z)),
                 static_cast<float>(Atan2(2 * y * w - 2 * x * z, 1 - 2 * y * y - 2 * z * z)),
                 static_cast<float>(Asin(sine))};
}

Vector3 ProjectToScreen(float x, float y, float z, const Viewport& viewport, const Matrix4& projection,
                        const Matrix4& view, const Matrix4& world) {
  const Point4 clip = Transform(Transform(Transform({x, y, z, 1.0}, world), view), projection);
  const double nx = clip[0] / clip[3];
  const double ny = clip[1] / clip[3];
  const double nz = clip[2] / clip[3];
  return Vector3{static_cast<float>(viewport.X + (1.0 + nx) * viewport.Width / 2.0),
                 static_cast<float>(viewport.Y + (1.0 - ny) * viewport.Height / 2.0),
                 static_cast<float>(viewport.MinZ + nz * (viewport.MaxZ - viewport.MinZ))};
}

}  // namespace kiv
