#include "mathkiv/colors.h"

#include <cmath>

namespace kiv {

namespace {

std::uint32_t Channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFFu; }

template <typename Op>
std::uint32_t PerChannel(std::uint32_t a, std::uint32_t b, Op op) {
  std::uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8)
    result |= (op(Channel(a, shift), Channel(b, shift)) & 0xFFu) << shift;
  return result;
}

}  // namespace

std::uint32_t ColorLerp(std::uint32_t a, std::uint32_t b, float t) {
  if (!(t > 0.0f)) return a;  // also NaN
  if (t >= 1.0f) return b;
  return PerChannel(a, b, [t](std::uint32_t ca, std::uint32_t cb) {
    const float value = static_cast<float>(ca) + (static_cast<float>(cb) - static_cast<float>(ca)) * t;
    return static_cast<std::uint32_t>(std::lround(value));
  });
}

std::uint32_t ColorModulate(std::uint32_t a, std::uint32_t b) {
  return PerChannel(a, b, [](std::uint32_t ca, std::uint32_t cb) { return (ca * cb + 127u) / 255u; });
}

std::uint32_t ColorAverage(std::uint32_t a, std::uint32_t b) {
  return PerChannel(a, b, [](std::uint32_t ca, std::uint32_t cb) { return (ca + cb + 1u) / 2u; });
}

}  // namespace kiv
