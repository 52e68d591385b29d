#include "script/pause_state.h"

#include "data/game_data.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "state/game_state.h"

namespace kiv {

void SetGamePaused(std::uint8_t state) {
  if (state == gameState.paused) return;
  gameState.paused = state;
  for (TimedChange& change : timedChanges) change.paused = state;
  for (WaitingScript& wait : waitingScripts) wait.paused = state;
  // Interfaces follow the pause; the world maps are held by the world update.
  for (std::int32_t map = 0; map <= gameData.maps.LastIndex(); ++map) {
    if (gameData.maps[map].isInterface) gameData.maps[map].paused = state;
  }
}

}  // namespace kiv
