#pragma once
// The waits the shell commands suspend a script with: until a flag condition
// holds for the current player.
#include <cstdint>

#include "commands/internal_call.h"

namespace kiv {

// Suspends the script until the flag conditions hold (no time, no controls).
void WaitForFlags(InternalCall& call, std::int32_t flags);

}  // namespace kiv
