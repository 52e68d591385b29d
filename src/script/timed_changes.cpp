#include "script/timed_changes.h"

#include <array>
#include <cmath>
#include <string_view>

#include "core/angles.h"
#include "core/error.h"
#include "core/number_text.h"
#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"
#include "mathkiv/colors.h"
#include "script/script_dispatch.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"

namespace kiv {

std::vector<TimedChange> timedChanges;

namespace {

// The symbol numbers of fixed names; the fixed table never changes.
template <std::size_t N>
std::array<std::int32_t, N> FixedSymbols(const std::array<std::string_view, N>& names) {
  std::array<std::int32_t, N> symbols{};
  for (std::size_t i = 0; i < N; ++i) {
    for (std::int32_t number = 1; number <= kFixedIdentifierCount; ++number) {
      if (FixedIdentifierName(number) == names[i]) symbols[i] = number;
    }
  }
  return symbols;
}

template <std::size_t N>
bool Contains(const std::array<std::int32_t, N>& symbols, std::int32_t code) {
  for (const std::int32_t symbol : symbols) {
    if (symbol == code) return true;
  }
  return false;
}

bool IsColorProperty(std::int32_t code, std::int32_t targetKind) {
  static const auto symbols = FixedSymbols<9>({"Color", "Color2", "ShadowColor", "Specular", "Tint", "Color1",
                                               "BackgroundColor1", "BackgroundColor2", "FogColor"});
  return targetKind >= kValueFirstObject && Contains(symbols, code);
}

bool IsAngleProperty(std::int32_t code, std::int32_t targetKind) {
  static const auto objectSymbols = FixedSymbols<7>(
      {"Direction", "DirectionAngle", "DirectionAngleY", "Rotation", "Angle", "Orbit", "Roll"});
  static const auto screenSymbols = FixedSymbols<3>({"Screen.Angle", "Screen.Orbit", "Screen.Roll"});
  return targetKind >= kValueFirstObject ? Contains(objectSymbols, code) : Contains(screenSymbols, code);
}

bool IsPlainNumber(const Variant& value) {
  return !value.IsArray() && !value.IsText() && value.Type() != kVarNull && value.Type() != kVarError &&
         IsNumericValue(value);
}

// Stored values and arguments compare equal when identical, or when both are
// plain numbers of the same value.
bool SameValue(const Variant& a, const Variant& b) {
  if (a == b) return true;
  return IsPlainNumber(a) && IsPlainNumber(b) && ToNumber(a) == ToNumber(b);
}

// An argument as a timed change keeps it: a variable reference becomes a plain value.
ScriptValue StoredArgument(std::int32_t i) {
  const std::int32_t kind = ScriptGetArgumentKind(i);
  return ScriptValue{kind == kValueVariable ? kValuePlain : kind, ScriptGetArgument(i),
                     kind == kValueVariable ? 0 : ScriptGetArgumentMapIndex(i)};
}

bool Matches(const TimedChange& change, std::int32_t code, const ScriptValue& target, std::int32_t argumentUpper) {
  if (change.code != code || change.target.kind != target.kind || change.target.mapIndex != target.mapIndex ||
      change.argumentUpper != argumentUpper || !SameValue(change.target.value, target.value)) {
    return false;
  }
  for (std::int32_t i = 0; i <= argumentUpper; ++i) {
    if (static_cast<std::size_t>(i) >= change.arguments.size()) return false;
    const ScriptValue current = StoredArgument(i);
    const ScriptValue& stored = change.arguments[static_cast<std::size_t>(i)];
    if (stored.kind != current.kind || stored.mapIndex != current.mapIndex ||
        !SameValue(stored.value, current.value)) {
      return false;
    }
  }
  return true;
}

// Whether the property already holds the value.
bool Reached(const Variant& current, const Variant& value) {
  if (SameValue(current, value)) return true;
  if (current.IsArray() || value.IsArray() || current.Type() == kVarNull || value.Type() == kVarNull) return false;
  try {
    return VarCompare(current, value) == 0;
  } catch (const KivError&) {
    return false;  // values that cannot be compared differ
  }
}

std::uint32_t ColorBits(const Variant& value) {
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::llround(ToNumber(value))));
}

}  // namespace

bool ScriptStartTimedChange(std::int32_t code, const ScriptValue& target, std::int32_t argumentUpper,
                            const Variant& value, std::int32_t duration) {
  for (std::size_t i = 0; i < timedChanges.size(); ++i) {
    if (Matches(timedChanges[i], code, target, argumentUpper)) {
      timedChanges.erase(timedChanges.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  if (duration == 0) return false;
  if (value.IsArray()) RaiseError(kErrData, "Duration cannot be used with a collection.");
  if (value.IsEmpty() || !IsNumericValue(value)) {
    RaiseError(kErrData, "Duration cannot be used with text (\"" + Utf16ToAnsi(VarToTextLenient(value)) + "\").");
  }

  ScriptValue object = target;
  ScriptValue current;
  ScriptCallCommand(code, object, argumentUpper, current, kModeRead, Variant(), false);
  if (Reached(current.value, value)) return true;

  TimedChange change;
  change.code = code;
  change.target = target;
  change.argumentUpper = argumentUpper;
  for (std::int32_t i = 0; i <= argumentUpper; ++i) change.arguments.push_back(StoredArgument(i));
  change.start = current.value;
  change.end = value;
  change.duration = duration;
  change.interpolation = IsColorProperty(code, target.kind) ? kInterpolateColor : kInterpolateNumber;
  if (IsAngleProperty(code, target.kind)) {
    float start = WrapAngle(static_cast<float>(ToNumber(change.start)));
    float end = WrapAngle(static_cast<float>(ToNumber(change.end)));
    // Turn the short way round.
    if (std::fabs(end - start) > kPi) {
      if (start < end) {
        start += kTwoPi;
      } else {
        end += kTwoPi;
      }
    }
    change.start = Variant::Single(start);
    change.end = Variant::Single(end);
  }
  timedChanges.push_back(std::move(change));
  return true;
}

Variant TimedChangeValue(const TimedChange& change, float fraction) {
  if (change.interpolation == kInterpolateColor) {
    return Variant::Long(
        static_cast<std::int32_t>(ColorLerp(ColorBits(change.start), ColorBits(change.end), fraction)));
  }
  return VarAdd(VarMul(change.start, Variant::Single(1.0f - fraction)), VarMul(change.end, Variant::Single(fraction)));
}

}  // namespace kiv
