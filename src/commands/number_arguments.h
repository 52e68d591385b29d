#pragma once
// Script values converted to the narrow number types that audio and shop
// records store, with the runtime's errors: 13 for a text that is no number,
// 6 for a number outside the type.
#include <cstdint>

#include "core/variant.h"

namespace kiv {

// A 32-bit float; beyond its range 6.
float VarToSingle(const Variant& value);
// A whole number 0 to 255, fractions rounded half to even; outside 6 (True,
// which is -1, included).
std::uint8_t VarToByte(const Variant& value);

}  // namespace kiv
