#pragma once
// Small services of the executors: movement axis values, the equality of two
// script values that collections search with, and the game's own keys in the
// player's settings file.
#include <string>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

// An axis value between -1 and 1. With whole axis values set, an assignment
// stores the whole number and a read gives it as a Long; otherwise Singles.
void AxisValueProperty(float& axis, ScriptValue& result, bool assign, const Variant& value);

// Texts compare exactly unless loose text comparison is on; a text and a
// number, or loose texts, compare as numbers when both read as numbers, else
// as texts (loose: trimmed, any letter case). Null and lists equal nothing.
bool ScriptValuesEqual(const Variant& a, const Variant& b);

// A key of SETTINGS.INI in the user game folder. A text ends at its first NUL.
// Texts that would write other lines or keys (a CR or LF anywhere, "=" in the
// key, "]" in the section) are refused with a script error; the file is then
// left as it was.
void ScriptSaveSetting(const std::u16string& section, const std::u16string& key, const std::u16string& value);
// The key's text, or the default when the key or the file is missing.
std::u16string ScriptLoadSetting(const std::u16string& section, const std::u16string& key,
                                 const std::u16string& defaultText);

}  // namespace kiv
