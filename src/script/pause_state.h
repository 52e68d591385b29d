#pragma once
// The game's pause state, which scripts set through Main.Paused.
#include <cstdint>

namespace kiv {

// Stores the state and stamps it into every timed change, waiting script and
// interface map; does nothing when the state does not change.
void SetGamePaused(std::uint8_t state);

}  // namespace kiv
