#include "player/pick_up_system.h"

#include <algorithm>
#include <cstdint>

#include "data/game_data.h"
#include "data/sprite_set_queries.h"
#include "player/shell_state.h"

namespace kiv {

void RunPickUpSystem(std::int32_t map) {
  if (map < -1 || map > gameData.maps.LastIndex()) return;
  const std::int32_t t = shell.frameElapsed;
  for (PickUp& p : gameData.maps[map].pickUps) {
    if (p.respawnTime != 0 && p.respawnCountdown > 0) {
      p.respawnCountdown -= t;
      if (p.respawnCountdown <= 0) PickUpTakenClock(p) = 0;
    }
    std::int32_t& taken = PickUpTakenClock(p);
    if (taken > 0 && p.spriteSet >= 0) {
      // The taken animation stops on its last frame. A set of 0 or 1 ms would
      // give 0 or less, which reads as present again: it stays at 1.
      const std::int64_t last = std::max<std::int64_t>(SpriteSetDuration(p.spriteSet) - 1, 1);
      taken = static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(taken) + t, last));
    }
  }
}

}  // namespace kiv
