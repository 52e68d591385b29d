#pragma once
// The world section of the kivplay dump: what a saved and loaded game must
// continue with. Per loaded map (not kept by identifier): its characters
// (position, heading, state, step, timers, AI), doors, spawns, projectiles,
// weather settings and fields (state, value, view timers), as the last frame
// saw them. Two runs that reach the same world give equal sections.
#include <nlohmann/json.hpp>

namespace kivplay {

// Takes the section from the maps as they are now (at the last frame).
void CaptureWorld();
nlohmann::json WorldDump();

}  // namespace kivplay
