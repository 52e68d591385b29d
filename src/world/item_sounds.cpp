#include "world/item_sounds.h"

#include "media/sound_channels.h"
#include "media/sound_sets.h"

namespace kiv {

std::uint32_t PlayItemSoundAt(std::int32_t sound, float x, float y, float z) {
  if (sound < 0 || static_cast<std::size_t>(sound) >= soundSets.size()) return 0;
  std::int32_t variation = -2;  // apply the sound's volume and tempo spreads
  const std::uint32_t channel = SoundGetChannel(sound, variation);
  SoundPlay3D(channel, x, y, z, kItemSoundMinDistance, kItemSoundMaxDistance, kItemSoundCone, kItemSoundCone, 0.0f,
              false);
  return channel;
}

}  // namespace kiv
