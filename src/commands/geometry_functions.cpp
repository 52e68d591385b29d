// Geometry functions: distances between points and actors, headings between
// points, and arithmetic on angles (wrapped into -pi..pi).
#include <cmath>
#include <cstdint>

#include "commands/internal_selection.h"
#include "core/angles.h"
#include "core/number_text.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_map_resolvers.h"
#include "world/combat_access.h"

namespace kiv {

namespace {

double Number(InternalCall& call, std::int32_t i) { return ToNumber(call.Argument(i)); }
float Single(InternalCall& call, std::int32_t i) { return static_cast<float>(ToNumber(call.Argument(i))); }
float Angle(InternalCall& call, std::int32_t i) { return ScriptConvertRotation(call.Argument(i), true); }

void Distance(InternalCall& call) {
  double d[6];
  for (std::int32_t i = 0; i < 6; ++i) d[i] = Number(call, i);
  const double dx = d[3] - d[0];
  const double dy = d[4] - d[1];
  const double dz = d[5] - d[2];
  call.Answer(Variant::Double(std::sqrt(dx * dx + dy * dy + dz * dz)));
}

// Both actors are looked for in the named map; positions are read after both
// resolutions, which may load maps.
void DistanceActor(InternalCall& call) {
  const ScriptValue map = ScriptResolveMap(call.ArgumentText(0), true, true, false);
  const std::int32_t mapIndex = map.value.AsLong();
  const ScriptValue first = ScriptResolveActor(call.ArgumentText(1), mapIndex, true, false);
  const ScriptValue second = ScriptResolveActor(call.ArgumentText(2), mapIndex, true, false);
  const Actor& a = combat::ActorAt(first.mapIndex, first.value.AsLong());
  const Actor& b = combat::ActorAt(second.mapIndex, second.value.AsLong());
  const double dx = static_cast<double>(b.x) - a.x;
  const double dy = static_cast<double>(b.y) - a.y;
  const double dz = static_cast<double>(b.z) - a.z;
  call.Answer(Variant::Double(std::sqrt(dx * dx + dy * dy + dz * dz)));
}

void Direction(InternalCall& call) {
  const float x1 = Single(call, 0);
  const float y1 = Single(call, 1);
  const float x2 = Single(call, 2);
  const float y2 = Single(call, 3);
  call.Answer(Variant::Single(AngleBetweenPoints(x1, y1, x2, y2)));
}

void IfDirection(InternalCall& call) {
  const float angle = WrapAngle(Angle(call, 0));
  const float from = WrapAngle(Angle(call, 1));
  const float to = WrapAngle(Angle(call, 2));
  call.Answer(Variant::Long(ValueBetween(angle, from, to) ? 1 : 0));
}

void DirectionDiff(InternalCall& call) {
  const float a = WrapAngle(Angle(call, 0));
  const float b = WrapAngle(Angle(call, 1));
  float d = std::fabs(a - b);
  if (d > kPi) d = kTwoPi - d;
  call.Answer(Variant::Single(d));
}

void Opposite(InternalCall& call) { call.Answer(Variant::Single(WrapAngle(Single(call, 0) - kPi))); }

void Clockwise(InternalCall& call) {
  const float angle = Single(call, 0);
  call.Answer(Variant::Single(WrapAngle(angle + Single(call, 1))));
}

void CounterClockwise(InternalCall& call) {
  const float angle = Single(call, 0);
  call.Answer(Variant::Single(WrapAngle(angle - Single(call, 1))));
}

void DirectionPointX(InternalCall& call) {
  const double x = Number(call, 0);
  const double angle = Number(call, 1);
  call.Answer(Variant::Double(x + std::cos(angle) * Number(call, 2)));
}

void DirectionPointY(InternalCall& call) {
  const double y = Number(call, 0);
  const double angle = Number(call, 1);
  call.Answer(Variant::Double(y + std::sin(angle) * Number(call, 2)));
}

constexpr InternalCommand kGeometry[] = {
    {"Geometry.Distance", Distance},
    {"Geography.Distance", Distance},
    {"Geometry.DistanceActor", DistanceActor},
    {"Geometry.Direction", Direction},
    {"Geography.Direction", Direction},
    {"Geometry.IfDirection", IfDirection},
    {"Geometry.DirectionDiff", DirectionDiff},
    {"Geometry.Opposite", Opposite},
    {"Geometry.Clockwise", Clockwise},
    {"Geometry.CounterClockwise", CounterClockwise},
    {"Geometry.DirectionPointX", DirectionPointX},
    {"Geometry.DirectionPointY", DirectionPointY},
};

}  // namespace

std::span<const InternalCommand> GeometryFunctions() { return kGeometry; }

}  // namespace kiv
