#pragma once
// Small arithmetic helpers of the world update, drawing and data readers:
// clamps, rounding, the random spread of sound values, record builders and the
// index set that stops the following of link chains at a cycle.
#include <cstdint>
#include <vector>

#include "core/geometry.h"

namespace kiv {

void SwapLong(std::int32_t& a, std::int32_t& b);
void SwapByte(std::uint8_t& a, std::uint8_t& b);

std::int32_t MinLong(std::int32_t a, std::int32_t b);
std::int32_t MaxLong(std::int32_t a, std::int32_t b);
std::uint8_t MinByte(std::uint8_t a, std::uint8_t b);
std::uint8_t MaxByte(std::uint8_t a, std::uint8_t b);
float MinSingle(float a, float b);
float MaxSingle(float a, float b);

// low when x < low, else high when x > high, else x (low wins when low > high).
std::int32_t ClampLong(std::int32_t x, std::int32_t low, std::int32_t high);
float ClampSingle(float x, float low, float high);

// The smallest whole number >= x; 6 "Overflow" outside the 32-bit range.
std::int32_t CeilingLong(double x);
// Rounds up above zero and down otherwise; 6 "Overflow" outside the 32-bit range.
std::int32_t RoundAwayFromZero(double x);
// a mod b in 0..b-1 for b > 0, also for negative a; 11 "Division by zero" for b = 0.
std::int32_t PositiveMod(std::int32_t a, std::int32_t b);
// Rounds half to even into the 32-bit range (clamped there); NaN gives 0.
std::int32_t RoundToLong(double x);
// a x 2^b (rounded half to even when b < 0); 6 "Overflow" outside the 32-bit range.
std::int32_t ShiftLeftPow2(std::int32_t a, std::int32_t b);
bool NearlyEqual(float a, float b, float tolerance);
// a spread by up to +-spread of itself, with a fresh value of the shared generator.
float RandomSpread(float a, float spread);

// The last index of a list, -1 when it is empty.
template <typename T>
std::int32_t SafeUBound(const std::vector<T>& list) {
  return static_cast<std::int32_t>(list.size()) - 1;
}

// A tick count taken to the milliseconds within the hour (sign bit dropped).
std::int32_t WrapHourMilliseconds(std::int32_t count);
void ColorSplitBytes(std::uint32_t argb, std::uint8_t& alpha, std::uint8_t& red, std::uint8_t& green,
                     std::uint8_t& blue);

Rect MakeRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
Box MakeBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, std::int32_t front,
            std::int32_t back);
void OffsetBox(Box& box, std::int32_t dx, std::int32_t dy, std::int32_t dz);
Vector3 MakeVector3(float x, float y, float z);
// The vector of the audio layer's 3D position calls.
Vector3 SoundMakeVector(float x, float y, float z);

// The process-wide set of visited indexes.
extern std::vector<std::int32_t> indexSet;
void IndexSetReset();
void IndexSetClear();
// False when the value is already in the set; else adds it and returns true.
bool IndexSetAddIfNew(std::int32_t value);

}  // namespace kiv
