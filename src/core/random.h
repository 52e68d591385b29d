#pragma once
// The one pseudo-random generator of the player: uniform values in [0, 1),
// seeded once from the clock when the start window initialises.
#include <cstdint>

namespace kiv {

void RandomSeedFromClock();
void RandomSeed(std::uint64_t seed);  // tests use a fixed seed
double RandomNext();                  // a fresh value in [0, 1)
// A fresh value as a Single, also below 1: a double just under 1 would round
// up to 1 as a Single, and Int(Rnd x n) would then reach n.
float RandomSingle();

}  // namespace kiv
