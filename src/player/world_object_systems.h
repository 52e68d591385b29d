#pragma once
// The systems of an active map's turn that move its weather, pulse its lights
// and speakers and swing its doors. Each takes the map's index and advances
// by the tick's time (shell.frameElapsed).
#include <cstdint>

namespace kiv {

void CloudSystem(std::int32_t map);
void RainSystem(std::int32_t map);
void LightSystem(std::int32_t map);
void SpeakerSystem(std::int32_t map);
void DoorSystem(std::int32_t map);

// A full swing of a door, closed to open, in ms.
inline constexpr std::int32_t kDoorSwingMilliseconds = 1000;
// The door event run when a door has just opened fully.
inline constexpr std::int32_t kDoorOpenedFullyEvent = 2;

}  // namespace kiv
