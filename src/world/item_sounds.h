#pragma once
// Item sounds placed in the world: a channel of a fresh variation, played at
// a point with the fixed distances and full cones that every item sound uses.
#include <cstdint>

namespace kiv {

inline constexpr float kItemSoundMinDistance = 32.0f;
inline constexpr float kItemSoundMaxDistance = 1024.0f;
inline constexpr float kItemSoundCone = 6.283185f;

// Returns the channel; 0 and nothing played for a sound below 0 or beyond
// the loaded sound sets.
std::uint32_t PlayItemSoundAt(std::int32_t sound, float x, float y, float z);

}  // namespace kiv
