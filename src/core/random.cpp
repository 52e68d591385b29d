#include "core/random.h"

#include <chrono>
#include <random>

namespace kiv {
namespace {
std::mt19937_64& Generator() {
  static std::mt19937_64 generator{0x4B49561234ULL};
  return generator;
}
}  // namespace

void RandomSeedFromClock() {
  RandomSeed(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
             static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandomSeed(std::uint64_t seed) { Generator().seed(seed); }

double RandomNext() {
  // 53 random bits give every double in [0, 1) with an exact step.
  return static_cast<double>(Generator()() >> 11) * (1.0 / 9007199254740992.0);
}

float RandomSingle() {
  const float r = static_cast<float>(RandomNext());
  return r < 1.0f ? r : 0.99999994f;  // the largest Single below 1
}

}  // namespace kiv
