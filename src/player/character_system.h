#pragma once
// The Character System of the world update: the per-tick life of every
// character of one map, and its per-tick flag.
#include <cstdint>

namespace kiv {

// Timers, melee strike, anchor, movement, weapons and action, contacts,
// passage and edge events, and the per-tick events of each character of the
// map that is near a view; then the zones' moved bytes and mouse triggers.
void RunCharacterSystem(std::int32_t map);

// Clears the flag that the Character System sets for the tick.
void ClearCharacterTickFlags();

}  // namespace kiv
