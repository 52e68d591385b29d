#pragma once
// Conversion of a script argument to yes or no.
#include <cstdint>

#include "core/variant.h"

namespace kiv {

// 1 or 0. Texts (trimmed, any letter case): "yes", "true", "on", "1" give 1;
// "no", "false", "off", "0" and the empty text give 0; other numeric text gives
// 1; other text is 'Boolean "text" is invalid.'. Numbers give 1 unless zero.
// Other types are "Unsupported data-type to convert boolean.". Errors are
// raised only with raise set; the result is then 0.
std::uint8_t ScriptConvertBoolean(const Variant& value, bool raise);

}  // namespace kiv
