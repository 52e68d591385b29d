#pragma once
// Timed creation of characters from the spawn points of a map.
#include <cstdint>

namespace kiv {

// Advances every spawn of the map by the tick and creates the characters that
// fell due, raising the spawn's events and the new characters' events.
void RunSpawnSystem(std::int32_t map);

}  // namespace kiv
