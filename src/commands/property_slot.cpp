#include "commands/property_slot.h"

#include <cmath>
#include <limits>

#include "core/error.h"
#include "script/script_convert.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

[[noreturn]] void Overflow() { RaiseError(kErrOverflow, "Overflow"); }

float ToSingle(const Variant& value) {
  const double number = VarToDouble(value);
  if (std::isfinite(number) && std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) {
    Overflow();
  }
  return static_cast<float>(number);
}

// Four decimals, the last rounded half to even.
std::int64_t ToCurrencyScaled(const Variant& value) {
  if (value.Type() == kVarCurrency) return value.CurrencyScaledValue();
  const double scaled = std::nearbyint(VarToDouble(value) * 10000.0);
  if (!(std::fabs(scaled) < 9.2233720368547758e18)) Overflow();
  return static_cast<std::int64_t>(scaled);
}

double Clamped(double number, double lower, double upper) {
  if (number < lower) number = lower;
  if (number > upper) number = upper;
  return number;
}

}  // namespace

void PropertySlot::Assign(const Variant& value) const {
  switch (type_) {
    case Type::kNone:
      return;
    case Type::kLong: {
      const double number = Clamped(VarToLong(value), lower_, upper_);
      *static_cast<std::int32_t*>(field_) = static_cast<std::int32_t>(number);
      return;
    }
    case Type::kSingle:
      *static_cast<float*>(field_) = static_cast<float>(Clamped(ToSingle(value), lower_, upper_));
      return;
    case Type::kBoolean:
      *static_cast<std::uint8_t*>(field_) = ScriptConvertBoolean(value, true) != 0 ? 1 : 0;
      return;
    case Type::kCurrency:
      *static_cast<std::int64_t*>(field_) = ToCurrencyScaled(value);
      return;
    case Type::kByte: {
      const double number = Clamped(VarToLong(value), lower_, upper_);
      if (number < 0.0 || number > 255.0) Overflow();
      *static_cast<std::uint8_t*>(field_) = static_cast<std::uint8_t>(number);
      return;
    }
  }
}

Variant PropertySlot::Read() const {
  switch (type_) {
    case Type::kNone:
      break;
    case Type::kLong:
      return Variant::Long(*static_cast<const std::int32_t*>(field_));
    case Type::kSingle:
      return Variant::Single(*static_cast<const float*>(field_));
    case Type::kBoolean:
      return Variant::Byte(*static_cast<const std::uint8_t*>(field_) != 0 ? 1 : 0);
    case Type::kCurrency:
      return Variant::CurrencyScaled(*static_cast<const std::int64_t*>(field_));
    case Type::kByte:
      return Variant::Byte(*static_cast<const std::uint8_t*>(field_));
  }
  return Variant();
}

}  // namespace kiv
