#pragma once
// The audio output's global volumes, set from the player's volume setting.
#include <cstdint>

namespace kiv {

// Sets the global volumes of tracker music, samples and streams, in that
// order, each to volume x 100 (volume 0..100).
void SoundSetGlobalVolumes(std::int32_t volume);

}  // namespace kiv
