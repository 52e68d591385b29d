#include "commands/internal_executor.h"

#include "commands/internal_call.h"
#include "commands/internal_fallback.h"
#include "commands/internal_keywords.h"
#include "commands/internal_selection.h"
#include "commands/script_variables.h"
#include "core/symbol_table.h"
#include "script/script_hooks.h"

namespace kiv {

namespace {

// A slot bound or a read answered: assignment stores through the slot (a
// read-only case ignores it); a read writes the answer to the result.
void CommonTail(InternalCall& call) {
  if (call.Assigning()) {
    if (call.slot.Bound()) call.slot.Assign(call.value);
    return;
  }
  if (call.slot.Bound()) call.Answer(call.slot.Read());
  if (call.readFilled) ScriptWriteResult(call.result, call.readValue);
}

}  // namespace

void ScriptRunInternal(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                       std::int16_t mode, const Variant& value, bool lastToken) {
  InternalCall call{code, object, argumentUpper, result, mode, value, lastToken, {}, {}, false};
  if (argumentUpper == -1 && RunInternalKeyword(call)) return;
  if (argumentUpper == -1 && SymbolName(code).find(u'.') == std::u16string::npos && RunScriptVariable(call)) return;
  if (const InternalHandler handler = InternalHandlerFor(code)) {
    handler(call);
    CommonTail(call);
    return;
  }
  RunInternalFallback(call);
}

void InstallInternalCommands() { scriptHooks.internalExecutor = ScriptRunInternal; }

}  // namespace kiv
