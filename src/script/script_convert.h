#pragma once
// Conversion of script arguments given as words (or as the numbers they stand
// for) into the numbers the world records store: directions, angles, yes or
// no, door opening styles, screen transitions and views, axes, item usage and
// driving flags, tile-set layers. Words are compared trimmed and in lower
// case. An invalid word is '<prefix>"<argument as given>" is invalid.' (-1),
// raised only with raise set; the converter then gives its fallback, 0.
#include <cstdint>
#include <string_view>

#include "core/variant.h"

namespace kiv {

// 0..7 clockwise from west ("west"/"left", "northwest"/"leftup", ...), or 8
// for the empty text when allowEmpty is set. A number, or a numeric text that
// is no word, is an angle in radians: wrapped into -pi..pi and taken to its
// quarter direction, so it never gives an odd direction. Types that are
// neither text nor number raise "Unsupported data-type to convert
// direction." whatever raise says.
std::int32_t ScriptConvertDirection(const Variant& value, bool allowEmpty, bool raise);

// The angle in radians of a direction word (west pi, north -pi/2, east 0,
// south pi/2, ...); a number or numeric text is taken as it is, unwrapped.
// Types that are neither text nor number raise "Unsupported data-type to
// convert rotation/angle/direction." whatever raise says.
float ScriptConvertRotation(const Variant& value, bool raise);

// 1 or 0. Texts (trimmed, any letter case): "yes", "true", "on", "1" give 1;
// "no", "false", "off", "0" and the empty text give 0; other numeric text gives
// 1; other text is 'Boolean "text" is invalid.'. Numbers give 1 unless zero.
// Other types are "Unsupported data-type to convert boolean.". Errors are
// raised only with raise set; the result is then 0.
std::uint8_t ScriptConvertBoolean(const Variant& value, bool raise);

// The text converters: each accepts its words and the decimal text of each result.
// 0 "none" .. 20 "slide split horizontal".
std::int32_t ScriptConvertDoorOpenStyle(std::u16string_view text, bool raise);
// -3 "instant", -4 "normal".
std::int32_t ScriptConvertTransition(std::u16string_view text, bool raise);
// 0 "z", 1 "y", 2 "x".
std::int32_t ScriptConvertAxis(std::u16string_view text, bool raise);
// 0 "45", 1 "top", 2 "front", 3 "side", 4 "3d".
std::int32_t ScriptConvertScreenView(std::u16string_view text, bool raise);
// One usage bit: 1 "continuous" .. 64 "sellable".
std::int32_t ScriptConvertItemUsage(std::u16string_view text, bool raise);
// One driving bit: 1 "land" .. 64 "auto-climb/strafe".
std::int32_t ScriptConvertDrivingSpec(std::u16string_view text, bool raise);
// 0 "floor", 1 "lower", 2 "upper".
std::int32_t ScriptConvertTileSetLayer(std::u16string_view text, bool raise);

// The main direction (0 Left, 2 Up, 4 Right, 6 Down) whose quarter holds the
// angle. Closed ranges tested in turn: around -pi and pi give 0, around -pi/2
// gives 2, around 0 gives 4, around pi/2 gives 6; any other angle gives 0.
std::int32_t AngleToQuarterDirection(float angle);

}  // namespace kiv
