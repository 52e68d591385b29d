#include "commands/value_helpers.h"

#include <cmath>

#include "commands/internal_call.h"
#include "core/error.h"
#include "core/folders.h"
#include "core/ini.h"
#include "core/math_util.h"
#include "core/text_encoding.h"
#include "script/project_options.h"
#include "script/script_operators.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

std::string SettingsPath() { return JoinPath(GetUserGameFolder(), "SETTINGS.INI"); }

std::u16string UpToNul(const std::u16string& text) { return text.substr(0, text.find(u'\0')); }

bool HasLineBreak(const std::u16string& text) { return text.find_first_of(u"\r\n") != std::u16string::npos; }

}  // namespace

void AxisValueProperty(float& axis, ScriptValue& result, bool assign, const Variant& value) {
  const bool whole = ScriptWholeAxisValues();
  if (assign) {
    if (whole) {
      axis = static_cast<float>(ClampLong(VarToLong(value), -1, 1));
    } else {
      axis = ClampSingle(static_cast<float>(VarToDouble(value)), -1.0f, 1.0f);
    }
    return;
  }
  if (whole) {
    ScriptWriteResult(result, Variant::Long(static_cast<std::int32_t>(std::nearbyint(axis))));
  } else {
    ScriptWriteResult(result, Variant::Single(axis));
  }
}

bool ScriptValuesEqual(const Variant& a, const Variant& b) {
  for (const Variant* value : {&a, &b}) {
    if (value->Type() == kVarNull || value->IsArray()) return false;
  }
  return VarToLong(ScriptBinaryOperator(u'=', a, b)) != 0;
}

void ScriptSaveSetting(const std::u16string& section, const std::u16string& key, const std::u16string& value) {
  const std::u16string s = UpToNul(section);
  const std::u16string k = UpToNul(key);
  const std::u16string v = UpToNul(value);
  if (HasLineBreak(s) || HasLineBreak(k) || HasLineBreak(v) || k.find(u'=') != std::u16string::npos ||
      s.find(u']') != std::u16string::npos) {
    RaiseError(kErrData,
               "A setting cannot be saved with a line break in its section, key or value, an \"=\" in its key or a "
               "\"]\" in its section.");
  }
  IniWriteString(SettingsPath(), Utf16ToAnsi(s), Utf16ToAnsi(k), Utf16ToAnsi(v));
}

std::u16string ScriptLoadSetting(const std::u16string& section, const std::u16string& key,
                                 const std::u16string& defaultText) {
  return AnsiToUtf16(IniReadString(SettingsPath(), Utf16ToAnsi(UpToNul(section)), Utf16ToAnsi(UpToNul(key)),
                                   Utf16ToAnsi(UpToNul(defaultText))));
}

}  // namespace kiv
