#include "script/script_state_hooks.h"

#include "script/saved_run_state.h"
#include "script/script_state_lists.h"
#include "script/trigger_hooks.h"
#include "state/game_state.h"
#include "state/state_hooks.h"

namespace kiv {

void InstallScriptStateHooks() {
  stateHooks.ReadGlobalLists = [](const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
    ReadScriptGlobalLists(buffer, offset, version);
  };
  stateHooks.WriteGlobalLists = [](ByteList& buffer, std::int32_t& offset) {
    WriteScriptGlobalLists(buffer, offset);
  };
  stateHooks.ReadScriptRunState = [](const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
    ReadScriptRunState(buffer, offset, version);
    RelinkSavedFrames();
  };
  stateHooks.WriteScriptRunState = [](ByteList& buffer, std::int32_t& offset) {
    WriteScriptRunState(buffer, offset);
  };
  triggerHooks.SystemScript = [](std::int32_t slot) -> const Script* {
    if (slot < 0 || slot >= kSystemScriptCount) return nullptr;
    const Script& script = systemScripts[static_cast<std::size_t>(slot)];
    return script.hasStatements ? &script : nullptr;
  };
}

}  // namespace kiv
