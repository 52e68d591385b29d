#pragma once
// Index checks and access that damage, targets and item effects share.
// Scripts run from combat may grow the character list, so characters are
// always reached afresh through their index.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "data/game_data.h"

namespace kiv::combat {

inline Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  return gameData.maps[map].actors[static_cast<std::size_t>(actor)];
}

inline bool ValidActor(std::int32_t map, std::int32_t actor) {
  return actor >= 0 && static_cast<std::size_t>(actor) < gameData.maps[map].actors.size();
}

inline bool ValidItem(std::int32_t item) {
  return item >= 0 && static_cast<std::size_t>(item) < gameData.items.size();
}

// A 64-bit result held to the Long range.
inline std::int32_t ClampToLong(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

}  // namespace kiv::combat
