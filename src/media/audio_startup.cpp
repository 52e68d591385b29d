#include "media/audio_startup.h"

#include "media/sound_sets.h"
#include "platform/audio/mixer.h"

namespace kiv {

SoundGlobals soundGlobals;

void SoundGlobals::Reset() {
  deviceInitFlags = 0;
  soundFontHandle = 0;
  soundEnabled = true;
  musicList.clear();
  musicEnded = false;
}

bool Sound3DAvailable() { return (soundGlobals.deviceInitFlags & audio::kInit3D) != 0; }

bool SoundStartUp(void* /*window*/) {
  if (audio::GetDevice() != -1) return true;
  bool result = true;
  if (!audio::Init(-1, audio::kOutputRate, audio::kInit3D) && !audio::Init(-1, audio::kOutputRate, 0)) {
    soundGlobals.soundEnabled = false;
    result = false;
  }
  if (audio::GetDevice() == 0) return result;
  soundGlobals.deviceInitFlags = audio::GetInitFlags();
  // WavPack needs no plug-in: the stream decoder reads it.
  soundGlobals.soundFontHandle = audio::MidiFontInit(kSoundFontPath);
  audio::MidiStreamSetFonts(0, soundGlobals.soundFontHandle);
  if (Sound3DAvailable()) audio::Set3DFactors(0.03125f, 1.0f, 1.0f);
  // The game loop mixes ahead itself (Update with twice the tick time).
  audio::SetUpdateThreads(false);
  return result;
}

std::uint32_t SoundLoadFlags(std::uint8_t kind, std::uint8_t loop, std::uint8_t threeD, bool available3D) {
  std::uint32_t flags = audio::kFlagVoiceManaged;
  if (loop != 0) flags |= audio::kFlagLoop;
  if (available3D && threeD != 0) flags |= audio::kFlag3D | audio::kFlagMuteMax | audio::kFlagMono;
  if (kind != kSoundKindSample) {
    flags |= audio::kFlagPrescan;
  } else if (flags & audio::kFlag3D) {
    flags |= audio::kFlagOverrideDistance;
  } else {
    flags |= audio::kFlagOverrideLowest;
  }
  return flags;
}

namespace {

// A placed sample must be mono: decode the file and keep the mean of its channels.
audio::Handle LoadMonoSample(const audio::FileRange& range, std::uint32_t maxPlaybacks, std::uint32_t flags) {
  const audio::Handle decoder = audio::StreamCreateFile(range, audio::kFlagDecode | audio::kFlagPrescan);
  if (decoder == 0) return 0;
  audio::Handle sample = 0;
  const std::uint64_t length = audio::ChannelGetLength(decoder);
  audio::ChannelInfo info;
  if (audio::ChannelGetInfo(decoder, info) && info.channels > 1) {
    const std::vector<float> mono = audio::DecodeDownmixMono(decoder, length);
    if (!mono.empty()) {
      sample = audio::SampleCreate(static_cast<std::uint32_t>(mono.size()), info.frequency, 1, maxPlaybacks, flags);
      if (sample != 0) audio::SampleSetData(sample, mono);
    }
  }
  audio::StreamFree(decoder);
  return sample;
}

void LoadVariation(const SoundSet& set, SoundVariation& variation, std::uint32_t flags) {
  if (variation.dataOffset < 0 || variation.dataLength <= 0) return;
  const audio::FileRange range{set.packagePath, static_cast<std::uint64_t>(variation.dataOffset),
                               static_cast<std::uint64_t>(variation.dataLength)};
  if (set.kind == kSoundKindSample) {
    const auto maxPlaybacks = static_cast<std::uint32_t>(set.maxPlaybacks > 0 ? set.maxPlaybacks : 0);
    variation.handle = audio::SampleLoad(range, maxPlaybacks, flags);
    if (variation.handle == 0 && (flags & audio::kFlag3D)) variation.handle = LoadMonoSample(range, maxPlaybacks, flags);
    audio::SampleInfo info;
    if (variation.handle != 0 && audio::SampleGetInfo(variation.handle, info)) {
      variation.frequency = static_cast<float>(info.frequency);
    }
    return;
  }
  switch (set.kind) {
    case kSoundKindStream:
    case kSoundKindWma: variation.handle = audio::StreamCreateFile(range, flags); break;
    case kSoundKindMod: variation.handle = audio::MusicLoad(range, flags, audio::kOutputRate); break;
    case kSoundKindMidi: variation.handle = audio::MidiStreamCreateFile(range, flags, audio::kOutputRate); break;
    default: return;  // an unknown kind opens nothing
  }
  float frequency = 0.0f;
  if (variation.handle != 0 && audio::ChannelGetAttribute(variation.handle, audio::kAttribFrequency, frequency)) {
    variation.frequency = frequency;
  }
}

}  // namespace

void SoundLoad(std::int32_t sound) {
  SoundSet& set = SoundAt(sound);
  if (set.loaded) return;
  set.loaded = true;
  const std::uint32_t flags = SoundLoadFlags(set.kind, set.loop, set.threeD, Sound3DAvailable());
  for (SoundVariation& variation : set.variations) {
    if (variation.handle != 0 || variation.empty || variation.unusable) continue;
    LoadVariation(set, variation, flags);
  }
}

void SoundUnload(std::int32_t sound) {
  SoundSet& set = SoundAt(sound);
  for (SoundVariation& variation : set.variations) {
    if (variation.handle == 0) continue;
    switch (set.kind) {
      case kSoundKindSample: audio::SampleFree(variation.handle); break;
      case kSoundKindMod: audio::MusicFree(variation.handle); break;
      default: audio::StreamFree(variation.handle); break;
    }
    variation.handle = 0;
  }
  set.loaded = false;
}

void SoundShutDown() {
  audio::MidiFontFree(soundGlobals.soundFontHandle);
  soundGlobals.soundFontHandle = 0;
  audio::Free();
}

}  // namespace kiv
