#include "core/angles.h"

#include <cmath>

namespace kiv {
namespace {

// Beyond this many radians whole turns are taken off in one step, so that huge
// angles cannot keep the turn-by-turn loop busy (or forever, when a turn is
// below the float's precision).
constexpr float kWrapLoopLimit = 1024.0f;

}  // namespace

double Atan2(double y, double x) {
  if (x > 0) return std::atan(y / x);
  if (x < 0) return y >= 0 ? std::atan(y / x) + kPi : std::atan(y / x) - kPi;
  if (y > 0) return kPiOver2;
  if (y < 0) return -kPiOver2;
  return 0.0;
}

double Asin(double x) { return std::atan(x / std::sqrt(1.0 - x * x)); }

double Acos(double x) { return std::atan(-x / std::sqrt(1.0 - x * x)) + 2.0 * std::atan(1.0); }

float AngleBetweenPoints(float x1, float y1, float x2, float y2) {
  const float dx = x2 - x1;
  if (dx == 0) return y2 >= y1 ? kPiOver2 : -kPiOver2;
  const float dy = y2 - y1;
  const double a = std::atan(dy / dx);
  if (x2 >= x1) return static_cast<float>(a);
  return static_cast<float>(a > 0 ? a - kPi : a + kPi);
}

float WrapAngle(float x) {
  if (!std::isfinite(x)) return std::nanf("");
  if (std::fabs(x) > kWrapLoopLimit) x = static_cast<float>(std::fmod(x, kTwoPi));
  if (x > 0) {
    while (x > kPi) x -= kTwoPi;
  } else if (x < 0) {
    while (x < -kPi) x += kTwoPi;
  }
  return x;
}

float AngleDifference(float a, float b) { return WrapAngle(a - b); }

bool AngleWithinArc(float a, float centre, float half) {
  const float low = centre - half;
  const float high = centre + half;
  if (low <= a && a <= high) return true;
  if (low < -kPi && low + kTwoPi <= a && a <= high + kTwoPi) return true;
  if (high > kPi && low - kTwoPi <= a && a <= high - kTwoPi) return true;
  return false;
}

bool ValueBetween(float a, float from, float to) {
  if (from <= to) return from <= a && a <= to;
  return a < to || a > from;
}

float DirectionToAngle(std::int32_t direction) {
  return static_cast<float>(static_cast<double>(direction) * kPiOver4 - static_cast<double>(kPi));
}

std::int32_t AngleToDirection(float angle) {
  struct Sector {
    float low;
    float high;
    std::int32_t direction;
  };
  // Bounds are 32-bit float sums, so neighbouring sectors can share end values;
  // the order of the tests is part of the result.
  static const Sector kSectors[] = {
      {-kPi - kPiOver8, -kPi + kPiOver8, 0},
      {kPi - kPiOver8, kPi + kPiOver8, 0},
      {-kThreePiOver4 - kPiOver8, -kThreePiOver4 + kPiOver8, 1},
      {-kPiOver2 - kPiOver8, -kPiOver2 + kPiOver8, 2},
      {-kPiOver4 - kPiOver8, -kPiOver4 + kPiOver8, 3},
      {-kPiOver8, kPiOver8, 4},
      {kPiOver4 - kPiOver8, kPiOver4 + kPiOver8, 5},
      {kPiOver2 - kPiOver8, kPiOver2 + kPiOver8, 6},
      {kThreePiOver4 - kPiOver8, kThreePiOver4 + kPiOver8, 7},
  };
  const float a = WrapAngle(angle);
  for (const Sector& sector : kSectors) {
    if (sector.low <= a && a <= sector.high) return sector.direction;
  }
  return 0;
}

std::int32_t DirectionMirror(std::int32_t direction) {
  switch (direction) {
    case 0:
      return 4;
    case 4:
      return 0;
    case 1:
      return 3;
    case 3:
      return 1;
    case 5:
      return 7;
    case 7:
      return 5;
    default:
      return 8;
  }
}

std::int32_t DirectionBit(std::int32_t direction) {
  return direction >= 0 && direction <= 7 ? (1 << direction) : 0;
}

}  // namespace kiv
