#pragma once
// Long (32-bit) sums that raise overflow (error 6) instead of wrapping, as the
// script language's Long arithmetic does.
#include <cstdint>
#include <limits>

#include "core/error.h"

namespace kiv {

inline std::int32_t CheckedLong(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    RaiseError(kErrOverflow, "Overflow.");
  return static_cast<std::int32_t>(value);
}

inline std::int32_t AddLong(std::int32_t a, std::int32_t b) {
  return CheckedLong(static_cast<std::int64_t>(a) + b);
}

}  // namespace kiv
