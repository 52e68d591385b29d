#pragma once
// The one pseudo-random generator of the player: uniform values in [0, 1),
// seeded once from the clock when the start window initialises.
#include <cstdint>

namespace kiv {

void RandomSeedFromClock();
void RandomSeed(std::uint64_t seed);  // tests use a fixed seed
double RandomNext();                  // a fresh value in [0, 1)

}  // namespace kiv
