#include "media/sound_volumes.h"

#include "platform/audio/mixer.h"

namespace kiv {

void SoundSetGlobalVolumes(std::int32_t volume) {
  const std::int64_t scaled = static_cast<std::int64_t>(volume) * 100;
  const int value = static_cast<int>(scaled < 0 ? 0 : (scaled > 10000 ? 10000 : scaled));
  audio::SetConfig(audio::kConfigGlobalMusicVolume, value);
  audio::SetConfig(audio::kConfigGlobalSampleVolume, value);
  audio::SetConfig(audio::kConfigGlobalStreamVolume, value);
}

}  // namespace kiv
