#pragma once
// Angle arithmetic in radians and the eight directions of sprites and movement.
// Angle 0 points right (+x), pi/2 down (+y), -pi/2 up. Directions: 0 Left,
// 1 LeftUp, 2 Up, 3 RightUp, 4 Right, 5 RightDown, 6 Down, 7 LeftDown.
#include <cstdint>

namespace kiv {

// pi and its fractions as 32-bit floats; their exact values decide which
// direction an angle on a sector boundary falls into.
inline constexpr float kPi = 3.1415927f;  // 0x40490FDB
inline constexpr float kPiOver8 = kPi / 8;
inline constexpr float kPiOver4 = kPi / 4;
inline constexpr float kPiOver2 = kPi / 2;
inline constexpr float kThreePiOver4 = 2.3561945f;  // 0x4016CBE4
inline constexpr float kTwoPi = kPi * 2;

// atan2 built on atan(y / x): x = 0 gives pi/2, -pi/2 or 0 by the sign of y.
double Atan2(double y, double x);
// Built on atan: 1 and -1 give +-pi/2 (Asin), 0 and pi (Acos); outside -1..1 NaN.
double Asin(double x);
double Acos(double x);

// The angle from (x1, y1) towards (x2, y2), in -pi..pi.
float AngleBetweenPoints(float x1, float y1, float x2, float y2);
// The angle brought into -pi..pi by whole turns; pi and -pi stay as they are.
float WrapAngle(float x);
float AngleDifference(float a, float b);
// Whether a lies within half of centre on either side, across the wrap at +-pi.
bool AngleWithinArc(float a, float centre, float half);
// from <= a <= to; when from > to the range passes through pi and its ends are outside.
bool ValueBetween(float a, float from, float to);

float DirectionToAngle(std::int32_t direction);
// The direction whose 45-degree sector holds the angle; on a boundary the first
// sector tested wins (Left, Left, LeftUp, Up, ... LeftDown); NaN gives 0.
std::int32_t AngleToDirection(float angle);
// The left-right mirror of a direction; 8 for Up, Down and anything else.
std::int32_t DirectionMirror(std::int32_t direction);
// 1 shifted left by the direction, 0 outside 0..7.
std::int32_t DirectionBit(std::int32_t direction);

}  // namespace kiv
