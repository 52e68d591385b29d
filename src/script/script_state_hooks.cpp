#include "script/script_state_hooks.h"

#include "script/saved_run_state.h"
#include "script/script_state_lists.h"
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
}

}  // namespace kiv
