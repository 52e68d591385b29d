#pragma once
// Colour arithmetic on 32-bit ARGB values. All four channels, alpha included,
// take part; results are rounded to the nearest channel value.
#include <cstdint>

namespace kiv {

// a at t = 0, b at t = 1, linear per channel. t is clamped to 0..1 (a NaN
// counts as 0), so the result always lies between the two colours.
std::uint32_t ColorLerp(std::uint32_t a, std::uint32_t b, float t);

// Per-channel product with 255 as one: white (0xFFFFFFFF) leaves a colour
// unchanged and black gives black.
std::uint32_t ColorModulate(std::uint32_t a, std::uint32_t b);

// Per-channel mean, halves rounded up.
std::uint32_t ColorAverage(std::uint32_t a, std::uint32_t b);

}  // namespace kiv
