#pragma once
// Conversion of script arguments: yes or no, and an angle to a main direction.
#include <cstdint>

#include "core/variant.h"

namespace kiv {

// 1 or 0. Texts (trimmed, any letter case): "yes", "true", "on", "1" give 1;
// "no", "false", "off", "0" and the empty text give 0; other numeric text gives
// 1; other text is 'Boolean "text" is invalid.'. Numbers give 1 unless zero.
// Other types are "Unsupported data-type to convert boolean.". Errors are
// raised only with raise set; the result is then 0.
std::uint8_t ScriptConvertBoolean(const Variant& value, bool raise);

// The main direction (0 Left, 2 Up, 4 Right, 6 Down) whose quarter holds the
// angle. Closed ranges tested in turn: around -pi and pi give 0, around -pi/2
// gives 2, around 0 gives 4, around pi/2 gives 6; any other angle gives 0.
std::int32_t AngleToQuarterDirection(float angle);

}  // namespace kiv
