#include "commands/actor_call.h"

#include <cmath>
#include <limits>
#include <utility>

#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_object_names.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

[[noreturn]] void OutOfRange() { RaiseError(kErrIndex, "Subscript out of range"); }

}  // namespace

bool ActorCall::Assigning() const { return mode == kModeAssign; }

Map& ActorCall::MapRecord() const {
  if (map < 0 || map > gameData.maps.LastIndex()) OutOfRange();
  return gameData.maps[map];
}

Actor& ActorCall::Record() const {
  Map& record = MapRecord();
  if (index < 0 || index >= static_cast<std::int32_t>(record.actors.size())) OutOfRange();
  return record.actors[static_cast<std::size_t>(index)];
}

Variant ActorCall::Argument(std::int32_t i) const {
  if (!HasArgument(i)) return Variant::Text(u"");
  return ScriptGetArgument(i);
}

std::u16string ActorCall::ArgumentText(std::int32_t i) const { return VarToText(Argument(i)); }

std::int32_t ActorCall::ArgumentLong(std::int32_t i) const { return VarToLong(Argument(i)); }

float ActorCall::ArgumentSingle(std::int32_t i) const {
  const double number = VarToDouble(Argument(i));
  if (std::isfinite(number) && std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) {
    RaiseError(kErrOverflow, "Overflow");
  }
  return static_cast<float>(number);
}

bool ActorCall::ArgumentBoolean(std::int32_t i) const { return ScriptConvertBoolean(Argument(i), true) != 0; }

void ActorCall::Answer(Variant answer) {
  readValue = std::move(answer);
  readFilled = true;
}

std::u16string ActorCall::ReferenceText(std::int32_t other, std::int32_t idKind) const {
  if (other == -1) return u"";
  const Map& record = MapRecord();
  if (other < 0 || other >= static_cast<std::int32_t>(record.actors.size())) OutOfRange();
  const std::u16string& name = record.actors[static_cast<std::size_t>(other)].name;
  if (kind == kObjectActor) return u"|" + record.fileName + u":" + name;
  return ScriptParseScriptingId(name, idKind);
}

std::int32_t ActorCall::ResolveReference(const std::u16string& text, std::int32_t family) const {
  if (text.empty()) return -1;
  ScriptValue found;
  if (kind == kObjectActor) {
    found = ScriptResolveActor(text, map, true, false);
  } else if (family == kObjectTurret) {
    found = ScriptResolveTurret(text, map, true);
  } else {
    found = ScriptResolveCharacter(text, map, true, false);
  }
  return VarToLong(found.value);
}

void RaiseNotActorProperty(std::int32_t code) {
  RaiseError(kErrData, "Identifier \"" + Utf16ToAnsi(SymbolName(code)) + "\" is not a property of actors.");
}

}  // namespace kiv
