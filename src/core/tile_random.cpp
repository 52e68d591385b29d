#include "core/tile_random.h"

namespace kiv {
namespace {

// The finaliser of a 64-bit mixing generator: every input bit changes about
// half of the output bits.
std::uint64_t Mix(std::uint64_t v) {
  v += 0x9E3779B97F4A7C15ULL;
  v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ULL;
  v = (v ^ (v >> 27)) * 0x94D049BB133111EBULL;
  return v ^ (v >> 31);
}

std::uint64_t Fold(std::uint64_t state, std::int32_t value) {
  return Mix(state ^ static_cast<std::uint32_t>(value));
}

}  // namespace

float TileRandom(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t salt) {
  std::uint64_t h = Mix(static_cast<std::uint32_t>(salt));
  h = Fold(h, map);
  h = Fold(h, x);
  h = Fold(h, y);
  h = Fold(h, z);
  // The top 24 bits fit a float exactly, so the result never rounds up to 1.
  return static_cast<float>(h >> 40) * (1.0f / 16777216.0f);
}

}  // namespace kiv
