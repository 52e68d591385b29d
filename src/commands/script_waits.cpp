#include "commands/script_waits.h"

#include "player/shell_state.h"
#include "script/waits.h"

namespace kiv {

void WaitForFlags(InternalCall& call, std::int32_t flags) {
  call.SetResult(kValueControl,
                 ScriptMakeWaitRequest(1, 0, -1, flags, -1, Variant::Long(-1), -1, -1, shell.currentPlayer));
}

}  // namespace kiv
