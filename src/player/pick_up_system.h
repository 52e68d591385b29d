#pragma once
// The Pick-Up System of the world update: the respawn countdown and the taken
// animation of every pick-up of a map.
#include <cstdint>

#include "data/map_objects.h"

namespace kiv {

void RunPickUpSystem(std::int32_t map);

// Milliseconds into the taken animation: 0 present, above 0 taken (the
// pick-up's animation-running value, which taking sets to 1).
inline std::int32_t& PickUpTakenClock(PickUp& p) { return p.runValue; }

}  // namespace kiv
