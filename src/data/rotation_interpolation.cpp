#include "data/rotation_interpolation.h"

#include <cmath>

namespace kiv {

namespace {
// Below this distance from parallel the two rotations are blended linearly.
constexpr float kLinearThreshold = 0.001f;
}  // namespace

Quaternion InterpolateRotation(const Quaternion& a, const Quaternion& b, float t) {
  float weightA = 1.0f - t;
  float weightB = t;
  float cosine = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
  if (cosine < 0.0f) {
    weightB = -weightB;
    cosine = -cosine;
  }
  if (1.0f - cosine > kLinearThreshold) {
    const float theta = std::acos(cosine);
    const float sine = std::sin(theta);
    weightA = std::sin(theta * weightA) / sine;
    weightB = std::sin(theta * weightB) / sine;
  }
  return Quaternion{weightA * a.x + weightB * b.x, weightA * a.y + weightB * b.y,
                    weightA * a.z + weightB * b.z, weightA * a.w + weightB * b.w};
}

}  // namespace kiv
