#include "commands/number_arguments.h"

#include <cmath>
#include <limits>

#include "core/error.h"
#include "script/script_value_ops.h"

namespace kiv {

float VarToSingle(const Variant& value) {
  const double number = VarToDouble(value);
  if (std::isfinite(number) && std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) {
    RaiseError(kErrOverflow, "Overflow");
  }
  return static_cast<float>(number);
}

std::uint8_t VarToByte(const Variant& value) {
  const double whole = std::nearbyint(VarToDouble(value));  // the default rounding: halves to even
  if (!(whole >= 0.0 && whole <= 255.0)) RaiseError(kErrOverflow, "Overflow");
  return static_cast<std::uint8_t>(whole);
}

}  // namespace kiv
