#include "script/pause_state.h"

#include "script/call_frame.h"
#include "script/script_hooks.h"

namespace kiv {

void SetGamePaused(std::uint8_t state) {
  if (state == scriptEngine.pauseState) return;
  scriptEngine.pauseState = state;
  scriptHooks.StampPauseState(state);
}

}  // namespace kiv
