#include "core/math_util.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/error.h"
#include "core/random.h"

namespace kiv {
namespace {

// A whole-number double as a 32-bit integer; NaN and values outside the range
// are an overflow rather than an undefined conversion.
std::int32_t ToLongChecked(double whole) {
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) RaiseError(kErrOverflow, "Overflow");
  return static_cast<std::int32_t>(whole);
}

}  // namespace

std::vector<std::int32_t> indexSet;

void SwapLong(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
void SwapByte(std::uint8_t& a, std::uint8_t& b) { std::swap(a, b); }

std::int32_t MinLong(std::int32_t a, std::int32_t b) { return b < a ? b : a; }
std::int32_t MaxLong(std::int32_t a, std::int32_t b) { return b > a ? b : a; }
std::uint8_t MinByte(std::uint8_t a, std::uint8_t b) { return b < a ? b : a; }
std::uint8_t MaxByte(std::uint8_t a, std::uint8_t b) { return b > a ? b : a; }
float MinSingle(float a, float b) { return b < a ? b : a; }
float MaxSingle(float a, float b) { return b > a ? b : a; }

std::int32_t ClampLong(std::int32_t x, std::int32_t low, std::int32_t high) {
  if (x < low) return low;
  if (x > high) return high;
  return x;
}

float ClampSingle(float x, float low, float high) {
  if (x < low) return low;
  if (x > high) return high;
  return x;
}

std::int32_t CeilingLong(double x) { return ToLongChecked(std::ceil(x)); }

std::int32_t RoundAwayFromZero(double x) { return x > 0 ? CeilingLong(x) : ToLongChecked(std::floor(x)); }

std::int32_t PositiveMod(std::int32_t a, std::int32_t b) {
  if (b == 0) RaiseError(kErrDivisionByZero, "Division by zero");
  // 64-bit so that INT_MIN mod -1 and the added b cannot overflow.
  const std::int64_t wideA = a;
  const std::int64_t wideB = b;
  if (a >= 0) return static_cast<std::int32_t>(wideA % wideB);
  return static_cast<std::int32_t>(((wideA % wideB) + wideB) % wideB);
}

std::int32_t RoundToLong(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<std::int32_t>(std::nearbyint(std::clamp(x, -2147483648.0, 2147483647.0)));
}

std::int32_t ShiftLeftPow2(std::int32_t a, std::int32_t b) {
  return ToLongChecked(std::nearbyint(std::ldexp(static_cast<double>(a), b)));
}

bool NearlyEqual(float a, float b, float tolerance) { return std::fabs(a - b) <= tolerance; }

float RandomSpread(float a, float spread) {
  const double r = RandomNext();
  return static_cast<float>(a + static_cast<double>(a) * spread * (2.0 * r - 1.0));
}

std::int32_t WrapHourMilliseconds(std::int32_t count) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(count) & 0x7FFFFFFFu) % 3600000u);
}

void ColorSplitBytes(std::uint32_t argb, std::uint8_t& alpha, std::uint8_t& red, std::uint8_t& green,
                     std::uint8_t& blue) {
  alpha = static_cast<std::uint8_t>(argb >> 24);
  red = static_cast<std::uint8_t>(argb >> 16);
  green = static_cast<std::uint8_t>(argb >> 8);
  blue = static_cast<std::uint8_t>(argb);
}

Rect MakeRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  return Rect{left, top, right, bottom};
}

Box MakeBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, std::int32_t front,
            std::int32_t back) {
  return Box{left, top, right, bottom, front, back};
}

void OffsetBox(Box& box, std::int32_t dx, std::int32_t dy, std::int32_t dz) {
  box.left += dx;
  box.right += dx;
  box.top += dy;
  box.bottom += dy;
  box.front += dz;
  box.back += dz;
}

Vector3 MakeVector3(float x, float y, float z) { return Vector3{x, y, z}; }
Vector3 SoundMakeVector(float x, float y, float z) { return Vector3{x, y, z}; }

void IndexSetReset() { indexSet.clear(); }
void IndexSetClear() { indexSet.clear(); }

bool IndexSetAddIfNew(std::int32_t value) {
  if (std::find(indexSet.begin(), indexSet.end(), value) != indexSet.end()) return false;
  indexSet.push_back(value);
  return true;
}

}  // namespace kiv
