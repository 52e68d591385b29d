#include "script/script_engine_setup.h"

#include "data/data_hooks.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_globals.h"

namespace kiv {

void InstallScriptDataHooks() {
  dataHooks.CompileScript = [](Script& script) { CompileScript(script); };
  dataHooks.FindGlobalName = [](std::int32_t symbol, std::uint8_t& kind, std::int32_t& index) {
    return FindGlobalName(symbol, kind, index);
  };
  dataHooks.GlobalNameSymbol = [](std::uint8_t kind, std::int32_t index) {
    return GlobalNameSymbol(kind, index);
  };
}

void ResetScriptEngine() {
  scriptEngine.Reset();
  scriptGlobals.Reset();
}

}  // namespace kiv
