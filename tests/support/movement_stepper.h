#pragma once
// A minimal stand-in for the world update's character step in movement tests:
// each character's turn empties the hit lists, runs the movement decision and
// carries out the accepted step at the character's speed.
#include <cstdint>

namespace kiv::test {

// One tick of `ms` milliseconds for every character of the map, in list order.
void StepCharacters(std::int32_t map, std::int32_t ms);

}  // namespace kiv::test
