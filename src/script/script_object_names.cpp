#include "script/script_object_names.h"

#include "core/error.h"
#include "core/text_encoding.h"
#include "script/call_frame.h"
#include "script/project_options.h"
#include "script/script_text.h"
#include "script/script_value.h"

namespace kiv {

namespace {

// The system trigger that area damage runs for each character it hits; its
// scripts may name a vehicle where a character is expected.
constexpr std::int32_t kAreaDamageSystemTrigger = 2;

bool InAreaDamageTrigger() {
  if (scriptEngine.callTop < 0) return false;
  const CallFrame& frame = TopFrame();
  return frame.ownerKind == kOwnerSystem && frame.ownerIndex == kAreaDamageSystemTrigger;
}

bool StartsWithLower(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (ToLowerChar(text[i]) != prefix[i]) return false;
  }
  return true;
}

[[noreturn]] void RaiseUnidentified(std::u16string_view name, const char* what, const char* prefix) {
  RaiseError(kErrData, "Cannot identify \"" + Utf16ToAnsi(std::u16string(name)) + "\" as " + what +
                           ", since the scripting ID does not begin with '" + prefix + "'.");
}

}  // namespace

ScriptSearchName ScriptPrepareName(std::u16string_view argument) {
  ScriptSearchName name;
  name.loose = ScriptLooseNameMatching();
  name.text = name.loose ? TrimLower(argument) : std::u16string(argument);
  return name;
}

bool ScriptLooseNameEquals(std::u16string_view stored, std::u16string_view prepared) {
  const std::size_t first = stored.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return prepared.empty();
  const std::size_t last = stored.find_last_not_of(u' ');
  if (last - first + 1 != prepared.size()) return false;
  for (std::size_t i = 0; i < prepared.size(); ++i) {
    if (ToLowerChar(stored[first + i]) != prepared[i]) return false;
  }
  return true;
}

std::u16string ScriptParseScriptingId(std::u16string_view name, std::int32_t kind) {
  if (name.empty()) return std::u16string();
  const std::u16string trimmed = TrimBlanks(name);
  switch (kind) {
    case kObjectCharacter:
      if (StartsWithLower(trimmed, u"character ")) return TextFrom(trimmed, 10);
      if (StartsWithLower(trimmed, u"vehicle ") && InAreaDamageTrigger()) return TextFrom(trimmed, 8);
      RaiseUnidentified(name, "a character", "Character ");
    case kObjectVehicle:
      if (StartsWithLower(trimmed, u"vehicle ")) return TextFrom(trimmed, 8);
      RaiseUnidentified(name, "a vehicle", "Vehicle ");
    case kObjectTurret:
      if (StartsWithLower(trimmed, u"turret ")) return TextFrom(trimmed, 7);
      RaiseUnidentified(name, "a turret", "Turret ");
    case kObjectEffect:
      if (StartsWithLower(trimmed, u"effect ")) return TextFrom(trimmed, 7);
      RaiseUnidentified(name, "an effect", "Effect ");
    case kObjectActor:
    case kObjectSprite:
      return ScriptLooseNameMatching() ? trimmed : std::u16string(name);
    default:
      RaiseError(kErrData, "Cannot identify \"" + Utf16ToAnsi(std::u16string(name)) + "\".");
  }
}

}  // namespace kiv
