#include "script/script_convert.h"

#include "core/angles.h"
#include "core/error.h"
#include "core/number_text.h"
#include "core/text_encoding.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

std::uint8_t ScriptConvertBoolean(const Variant& value, bool raise) {
  if (value.Type() == kVarLong) return value.AsLong() != 0 ? 1 : 0;  // IF on a comparison
  if (value.IsText()) {
    const std::u16string word = TrimLower(value.AsText());
    if (word == u"yes" || word == u"true" || word == u"on" || word == u"1") return 1;
    if (word == u"no" || word == u"false" || word == u"off" || word == u"0" || word.empty()) return 0;
    if (IsNumericValue(value)) return 1;
    if (raise) RaiseError(kErrData, "Boolean \"" + Utf16ToAnsi(value.AsText()) + "\" is invalid.");
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
