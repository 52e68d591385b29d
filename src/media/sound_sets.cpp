#include "media/sound_sets.h"

#include "core/error.h"

namespace kiv {

std::vector<SoundSet> soundSets;

SoundSet& SoundAt(std::int32_t sound) {
  if (sound < 0 || static_cast<std::size_t>(sound) >= soundSets.size()) {
    RaiseError(kErrIndex, "Subscript out of range");
  }
  return soundSets[static_cast<std::size_t>(sound)];
}

}  // namespace kiv
