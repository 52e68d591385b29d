#include "script/script_convert.h"

#include <string>

#include "core/angles.h"
#include "core/error.h"
#include "core/number_text.h"
#include "core/text_encoding.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// The sixteen direction words, two per direction, in the order of the
// directions, with the angle each stands for.
struct DirectionWords {
  std::u16string_view compass;
  std::u16string_view screen;
  float angle;
};

// clang-format off
constexpr DirectionWords kDirectionWords[] = {
    {u"west", u"left", kPi},
    {u"northwest", u"leftup", -kThreePiOver4},
    {u"north", u"up", -kPiOver2},
    {u"northeast", u"rightup", -kPiOver4},
    {u"east", u"right", 0.0f},
    {u"southeast", u"rightdown", kPiOver4},
    {u"south", u"down", kPiOver2},
    {u"southwest", u"leftdown", kThreePiOver4},
};
// clang-format on

// The direction of a trimmed, lower-cased word; -1 for none.
std::int32_t DirectionOfWord(const std::u16string& word) {
  for (std::size_t d = 0; d < std::size(kDirectionWords); ++d) {
    const DirectionWords& words = kDirectionWords[d];
    if (word == words.compass || word == words.screen) return static_cast<std::int32_t>(d);
  }
  return -1;
}

// A number type (not text), as the converters take it.
bool IsNumberType(const Variant& value) { return !value.IsText() && IsNumericValue(value); }

[[noreturn]] void RaiseInvalid(const char* prefix, std::u16string_view argument) {
  RaiseError(kErrData, std::string(prefix) + "\"" + Utf16ToAnsi(std::u16string(argument)) + "\" is invalid.");
}

}  // namespace

std::int32_t ScriptConvertDirection(const Variant& value, bool allowEmpty, bool raise) {
  if (value.IsText()) {
    const std::u16string& text = value.AsText();
    if (text.empty() && allowEmpty) return 8;
    const std::int32_t direction = DirectionOfWord(TrimLower(text));
    if (direction >= 0) return direction;
    if (IsNumericValue(value)) {
      return AngleToQuarterDirection(WrapAngle(static_cast<float>(ToNumber(ParseNumber(text)))));
    }
    if (raise) RaiseInvalid("Direction ", text);
    return 0;
  }
  if (IsNumberType(value)) return AngleToQuarterDirection(WrapAngle(static_cast<float>(ToNumber(value))));
  RaiseError(kErrData, "Unsupported data-type to convert direction.");
}

float ScriptConvertRotation(const Variant& value, bool raise) {
  if (value.IsText()) {
    const std::u16string& text = value.AsText();
    const std::int32_t direction = DirectionOfWord(TrimLower(text));
    if (direction >= 0) return kDirectionWords[static_cast<std::size_t>(direction)].angle;
    if (IsNumericValue(value)) return static_cast<float>(ToNumber(ParseNumber(text)));
    if (raise) RaiseInvalid("Rotation/angle/direction ", text);
    return 0.0f;
  }
  if (IsNumberType(value)) return static_cast<float>(ToNumber(value));
  RaiseError(kErrData, "Unsupported data-type to convert rotation/angle/direction.");
}

std::uint8_t ScriptConvertBoolean(const Variant& value, bool raise) {
  if (value.Type() == kVarLong) return value.AsLong() != 0 ? 1 : 0;  // IF on a comparison
  if (value.IsText()) {
    const std::u16string word = TrimLower(value.AsText());
    if (word == u"yes" || word == u"true" || word == u"on" || word == u"1") return 1;
    if (word == u"no" || word == u"false" || word == u"off" || word == u"0" || word.empty()) return 0;
    if (IsNumericValue(value)) return 1;
    if (raise) RaiseInvalid("Boolean ", value.AsText());
    return 0;
  }
  // For every type but text, IsNumericValue is the test of a number type.
  if (IsNumericValue(value)) return VarToDouble(value) != 0.0 ? 1 : 0;
  if (raise) RaiseError(kErrData, "Unsupported data-type to convert boolean.");
  return 0;
}

std::int32_t AngleToQuarterDirection(float angle) {
  // Bounds in single precision: from pi and pi/4 at the ends, from pi/2 and pi/4 in the middle.
  const auto within = [angle](float low, float high) { return angle >= low && angle <= high; };
  if (within(-(kPi + kPiOver4), -(kPi - kPiOver4))) return 0;
  if (within(kPi - kPiOver4, kPi + kPiOver4)) return 0;
  if (within(-(kPiOver2 + kPiOver4), -(kPiOver2 - kPiOver4))) return 2;
  if (within(-kPiOver4, kPiOver4)) return 4;
  if (within(kPiOver2 - kPiOver4, kPiOver2 + kPiOver4)) return 6;
  return 0;
}

}  // namespace kiv
