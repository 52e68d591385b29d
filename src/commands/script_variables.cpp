#include "commands/script_variables.h"

#include <vector>

#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "script/call_frame.h"
#include "script/script_convert.h"
#include "script/script_globals.h"

namespace kiv {

namespace {

ScriptVariable* FindIn(std::vector<ScriptVariable>& list, std::int32_t symbol) {
  for (ScriptVariable& variable : list) {
    if (variable.symbol == symbol) return &variable;
  }
  return nullptr;
}

ScriptVariable* FrameVariable(std::int32_t symbol) {
  if (scriptEngine.callTop < 0) return nullptr;
  CallFrame& frame = TopFrame();
  for (std::vector<ScriptVariable>* list : {&frame.locals, &frame.statics, &frame.parameters}) {
    if (ScriptVariable* found = FindIn(*list, symbol)) return found;
  }
  return nullptr;
}

template <typename Record>
std::int32_t IndexOf(const std::vector<Record>& list, std::int32_t symbol) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].symbol == symbol) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace

bool RunScriptVariable(InternalCall& call) {
  const std::int32_t symbol = call.code;
  if (ScriptVariable* variable = FrameVariable(symbol)) {
    if (call.Assigning()) {
      variable->value = call.value;
    } else {
      if (scriptEngine.pendingDuration != 0) {
        RaiseError(kErrData, "Duration option cannot be used with local variables or parameters.");
      }
      call.result.value = variable->value;
    }
    return true;
  }
  if (ScriptVariable* global = FindIn(scriptGlobals.variables, symbol)) {
    if (call.Assigning()) {
      global->value = call.value;
    } else {
      call.result.value = global->value;
    }
    return true;
  }
  if (const std::int32_t index = IndexOf(scriptGlobals.switches, symbol); index >= 0) {
    GlobalSwitch& globalSwitch = scriptGlobals.switches[static_cast<std::size_t>(index)];
    if (call.Assigning()) {
      globalSwitch.state = ScriptConvertBoolean(call.value, true) != 0 ? -1 : 0;
    } else {
      call.result.value = Variant::Long(globalSwitch.state != 0 ? 1 : 0);
    }
    return true;
  }
  if (const std::int32_t index = IndexOf(scriptGlobals.collections, symbol); index >= 0) {
    if (call.Assigning()) {
      if (!call.value.IsArray()) {
        RaiseError(kErrData, "Cannot set a collection to something that is not a collection.");
      }
      scriptGlobals.collections[static_cast<std::size_t>(index)].elements = call.value.Elements();
    } else {
      call.SetResult(kValueCollection, Variant::Long(index));
    }
    return true;
  }
  if (const std::int32_t index = IndexOf(scriptGlobals.tables, symbol); index >= 0) {
    if (call.Assigning()) {
      // A whole table cannot be assigned; its cells change through the Table commands.
      RaiseError(kErrData, "Table \"" + Utf16ToAnsi(SymbolName(symbol)) +
                               "\" cannot be assigned a value; use the Table commands to change its cells.");
    }
    call.SetResult(kValueTable, Variant::Long(index));
    return true;
  }
  return false;
}

}  // namespace kiv
