#include "commands/internal_call.h"

#include <utility>

#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"

namespace kiv {

bool InternalCall::Assigning() const { return mode == kModeAssign; }

Variant InternalCall::Argument(std::int32_t i) const {
  if (i < 0 || i > argumentUpper) return Variant::Text(u"");
  return ScriptGetArgument(i);
}

std::u16string InternalCall::ArgumentText(std::int32_t i) const { return VarToText(Argument(i)); }

std::int32_t InternalCall::ArgumentLong(std::int32_t i) const { return VarToLong(Argument(i)); }

bool InternalCall::ArgumentBoolean(std::int32_t i) const { return ScriptConvertBoolean(Argument(i), true) != 0; }

void InternalCall::Answer(Variant answer) {
  readValue = std::move(answer);
  readFilled = true;
}

void InternalCall::SetResult(std::int32_t kind, Variant resultValue, std::int32_t mapIndex) {
  result.kind = kind;
  result.value = std::move(resultValue);
  result.mapIndex = mapIndex;
  resultSet = true;
}

void ScriptWriteResult(ScriptValue& result, const Variant& answer) {
  if (result.value.IsEmpty()) {
    result.value = answer;
    result.mapIndex = -1;
  } else {
    result.value = Variant::Text(VarToText(result.value) + VarToText(answer));
  }
}

}  // namespace kiv
