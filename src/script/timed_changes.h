#pragma once
// Timed changes: after a LERP statement, the next assignment to a property or
// global variable moves the value there over the given time instead of at
// once; the Lerp system advances them every tick. Every assignment first
// cancels a running timed change of the same property, object and arguments.
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

enum TimedChangeInterpolation : std::int32_t {
  kInterpolateNumber = 0,
  kInterpolateColor = 1,
};

struct TimedChange {
  std::int32_t code = 0;  // symbol of the property or variable
  ScriptValue target;     // kind 0 for internal properties and variables
  std::vector<ScriptValue> arguments;
  std::int32_t argumentUpper = -1;
  std::int32_t interpolation = kInterpolateNumber;
  Variant start;
  Variant end;
  std::int32_t elapsed = 0;  // ms
  std::int32_t duration = 0;  // ms
  std::uint8_t paused = 0;
};

extern std::vector<TimedChange> timedChanges;

// Cancels a timed change of the same code, target and arguments (the top
// frame's arguments 0..argumentUpper); with a nonzero duration starts one from
// the current value to the new one. True when the assignment is taken over
// (also when the property already holds the value), False when the caller
// assigns at once. Raises the script errors of a value that cannot be timed.
bool ScriptStartTimedChange(std::int32_t code, const ScriptValue& target, std::int32_t argumentUpper,
                            const Variant& value, std::int32_t duration);

// The value of a timed change at a fraction 0..1 of its duration.
Variant TimedChangeValue(const TimedChange& change, float fraction);

}  // namespace kiv
