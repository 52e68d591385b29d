#pragma once
// The extent of a sprite set's first usable pose and direction, which stands
// for the whole set where an object shows it without a pose of its own
// (clouds, rain).
#include <cstdint>

namespace kiv {

struct SpriteExtent {
  // Relative to the sprite's origin, pixels.
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// All 0 for a set without poses; error 9 for a set outside the table.
SpriteExtent SpriteSetExtent(std::int32_t spriteSet);

}  // namespace kiv
