#include "script/pause_state.h"

#include "script/call_frame.h"
#include "state/game_state.h"
#include "script/script_hooks.h"

namespace kiv {

void SetGamePaused(std::uint8_t state) {
  if (state == gameState.paused) return;
  gameState.paused = state;
  scriptHooks.StampPauseState(state);
}

}  // namespace kiv
