#pragma once

#include <cstdint>

namespace kiv {

// The wait poll's test: the actor has no queued step and less than 1 pixel of
// its running step left (an actor that does not exist counts as stopped).
bool ActorStopped(std::int32_t map, std::int32_t actor);

// Installs the movement test into the hook of the wait poll.
void InstallWorldMovementHooks();

}  // namespace kiv
