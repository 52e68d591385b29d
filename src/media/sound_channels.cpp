#include "media/sound_channels.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "core/error.h"
#include "core/log.h"
#include "core/math_util.h"
#include "core/random.h"
#include "core/text_encoding.h"
#include "media/audio_startup.h"
#include "media/sound_sets.h"
#include "platform/audio/mixer.h"

namespace kiv {
namespace {

constexpr float kTwoPi = 6.2831855f;

std::uint32_t VariationHandle(const SoundSet& set, std::int32_t variation) {
  if (variation < 0 || static_cast<std::size_t>(variation) >= set.variations.size()) return 0;
  return set.variations[static_cast<std::size_t>(variation)].handle;
}

float VariationFrequency(const SoundSet& set, std::int32_t variation) {
  if (variation < 0 || static_cast<std::size_t>(variation) >= set.variations.size()) return 0.0f;
  return set.variations[static_cast<std::size_t>(variation)].frequency;
}

void SetOrSlide(std::uint32_t channel, int attribute, float value, std::int32_t milliseconds) {
  if (milliseconds < 1) {
    audio::ChannelSetAttribute(channel, attribute, value);
  } else {
    audio::ChannelSlideAttribute(channel, attribute, value, milliseconds);
  }
}

}  // namespace

std::int32_t ConeDegrees(float radians) {
  const double degrees = static_cast<double>(radians) * 180.0 / static_cast<double>(3.1415927f);
  return static_cast<std::int32_t>(std::nearbyint(degrees));  // the default rounding mode: halves to even
}

std::uint32_t SoundGetChannel(std::int32_t sound, std::int32_t& variation) {
  SoundSet& set = SoundAt(sound);
  std::vector<SoundVariation>& variations = set.variations;
  if (variations.empty()) {
    set.currentVariation = -1;
    if (variation >= -1) variation = -1;
    return 0;
  }
  if (std::all_of(variations.begin(), variations.end(), [](const SoundVariation& v) { return v.played; })) {
    for (SoundVariation& v : variations) v.played = false;
  }
  const auto count = static_cast<std::int32_t>(variations.size());
  std::int32_t pick = 0;
  do {
    pick = std::min(static_cast<std::int32_t>(RandomNext() * count), count - 1);
  } while (variations[static_cast<std::size_t>(pick)].played);
  variations[static_cast<std::size_t>(pick)].played = true;
  set.currentVariation = pick;
  const std::uint32_t handle = variations[static_cast<std::size_t>(pick)].handle;
  // A stream is its own channel. Asking the mixer about it records the error
  // its caller reads when the variation has no stream (empty, or never loaded).
  audio::ChannelInfo info;
  const std::uint32_t channel = set.kind == kSoundKindSample ? audio::SampleGetChannel(handle, false)
                                : audio::ChannelGetInfo(handle, info) ? handle
                                                                      : 0;
  if (variation < -1) {
    SoundSlideVolume(sound, channel, pick, 1.0f, 0);
    SoundSlideFrequency(sound, channel, pick, 1.0f, 0);
  } else {
    variation = pick;
  }
  return channel;
}

void SoundChannelPlay(std::uint32_t channel, bool restart) { audio::ChannelPlay(channel, restart); }

void SoundPlay2D(std::uint32_t channel, bool restart) {
  if (Sound3DAvailable()) {
    audio::ChannelSet3DAttributes(channel, audio::Channel3DAttributes{audio::kMode3DOff, 32.0f, 1048.0f, 0, 0, 1.0f});
  }
  SoundChannelPlay(channel, restart);
}

void SoundPlay3D(std::uint32_t channel, float x, float y, float z, float minimum, float maximum, float inside,
                 float outside, float direction, bool placeOnly) {
  if (Sound3DAvailable()) {
    audio::ChannelSet3DAttributes(channel, audio::Channel3DAttributes{audio::kMode3DNormal, minimum, maximum,
                                                                      ConeDegrees(inside), ConeDegrees(outside), 0.0f});
    audio::ChannelSet3DPosition(channel, SoundMakeVector(x, y, z),
                                SoundMakeVector(std::cos(direction), std::sin(direction), 0.0f),
                                SoundMakeVector(0.0f, 0.0f, 0.0f));
  }
  if (!placeOnly) SoundChannelPlay(channel, true);
}

void SoundSlideVolume(std::int32_t sound, std::uint32_t channel, std::int32_t /*variation*/, float factor,
                      std::int32_t milliseconds) {
  const SoundSet& set = SoundAt(sound);
  SetOrSlide(channel, audio::kAttribVolume, factor * RandomSpread(set.volume, set.volumeSpread), milliseconds);
}

void SoundSlideFrequency(std::int32_t sound, std::uint32_t channel, std::int32_t variation, float factor,
                         std::int32_t milliseconds) {
  const SoundSet& set = SoundAt(sound);
  const float value = factor * VariationFrequency(set, variation) * RandomSpread(set.tempo, set.tempoSpread);
  SetOrSlide(channel, audio::kAttribFrequency, value, milliseconds);
}

void SoundUpdateSpeaker(SpeakerSound& speaker, bool placeOnly) {
  if (!placeOnly && speaker.channel != 0) {
    audio::ChannelStop(speaker.channel);
    speaker.channel = 0;
  }
  if (speaker.enabled == 0 || speaker.soundSet < 0) return;
  if (!placeOnly) {
    speaker.channel = SoundGetChannel(speaker.soundSet, speaker.variation);
    audio::ChannelFlags(speaker.channel, audio::kFlagLoop, audio::kFlagLoop);
    SoundSlideVolume(speaker.soundSet, speaker.channel, speaker.variation, speaker.volumeFactor, 0);
    SoundSlideFrequency(speaker.soundSet, speaker.channel, speaker.variation, 1.0f, 0);
  }
  const float s = speaker.startAngle;
  const float e = speaker.endAngle;
  float direction = 0.0f;
  float width = 0.0f;
  if (s > e) {
    direction = (s + e + kTwoPi) / 2.0f;
    width = e + kTwoPi - s;
  } else {
    direction = (s + e) / 2.0f;
    width = e - s;
  }
  const auto radius = static_cast<float>(speaker.radius);
  const float minimum = (speaker.focus * 0.9f + 0.1f) * radius;
  const float outside = (1.0f - speaker.focus) * kTwoPi + width * speaker.focus;
  SoundPlay3D(speaker.channel, speaker.x, speaker.y, speaker.z, minimum, radius, width, outside, direction,
              placeOnly);
}

void SoundPlayMusic(const std::vector<std::int32_t>& sounds, std::int32_t fadeMilliseconds, float volumeFactor,
                    float tempoFactor, bool stopCurrent, std::int32_t flags, bool restart, bool keep) {
  std::vector<std::int32_t>& musicList = soundGlobals.musicList;
  if (!keep && sounds == musicList) return;
  if (stopCurrent && !musicList.empty()) SoundStopChannel(musicList, 0);
  const std::size_t base = musicList.size();
  // Places not yet filled hold -1, never a sound index.
  musicList.resize(base + sounds.size(), -1);
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    const std::int32_t sound = sounds[i];
    if (sound < 0) continue;
    SoundSet& set = SoundAt(sound);
    if (set.kind == kSoundKindSample) {
      RaiseError(kErrData, "Cannot play \"" + Utf16ToAnsi(set.name) +
                               "\" as it is set to be played as a sound and not music.");
    }
    if (soundGlobals.soundEnabled) {
      SoundLoad(sound);
      std::int32_t variation = 0;
      const std::uint32_t channel = SoundGetChannel(sound, variation);
      audio::ChannelFlags(channel, static_cast<std::uint32_t>(flags) & audio::kFlagLoop, audio::kFlagLoop);
      if (fadeMilliseconds > 0) SoundSlideVolume(sound, channel, variation, 0.0f, 0);
      if (!keep) {
        SoundSlideVolume(sound, channel, variation, volumeFactor, fadeMilliseconds);
        SoundSlideFrequency(sound, channel, variation, tempoFactor, 0);
      }
      SoundChannelPlay(channel, restart);
    }
    musicList[base + i] = sound;
  }
}

void SoundStopChannel(std::vector<std::int32_t> sounds, std::int32_t fadeMilliseconds) {
  std::vector<std::int32_t>& musicList = soundGlobals.musicList;
  while (true) {
    const auto found = std::find_if(musicList.begin(), musicList.end(), [&](std::int32_t entry) {
      return entry >= 0 && std::find(sounds.begin(), sounds.end(), entry) != sounds.end();
    });
    if (found == musicList.end()) return;
    if (soundGlobals.soundEnabled && static_cast<std::size_t>(*found) < soundSets.size()) {
      const SoundSet& set = soundSets[static_cast<std::size_t>(*found)];
      const std::uint32_t channel = VariationHandle(set, set.currentVariation);
      if (fadeMilliseconds <= 0) {
        audio::ChannelStop(channel);
      } else {
        audio::ChannelSlideAttribute(channel, audio::kAttribVolume, -1.0f, fadeMilliseconds);
      }
    }
    musicList.erase(found);
  }
}

std::int32_t SoundSaveChannels(std::vector<MusicSnapshot>& snapshots) {
  const std::vector<std::int32_t>& musicList = soundGlobals.musicList;
  const auto last = static_cast<std::int32_t>(musicList.size()) - 1;
  if (last < 0) return last;
  snapshots.assign(musicList.size(), MusicSnapshot{});
  for (std::size_t i = 0; i < musicList.size(); ++i) {
    MusicSnapshot& snapshot = snapshots[i];
    snapshot.soundIndex = musicList[i];
    if (snapshot.soundIndex < 0 || static_cast<std::size_t>(snapshot.soundIndex) >= soundSets.size()) continue;
    const SoundSet& set = soundSets[static_cast<std::size_t>(snapshot.soundIndex)];
    snapshot.variation = set.currentVariation;
    const std::uint32_t channel = VariationHandle(set, set.currentVariation);
    audio::ChannelGetAttribute(channel, audio::kAttribVolume, snapshot.volume);
    audio::ChannelGetAttribute(channel, audio::kAttribFrequency, snapshot.frequency);
    const std::uint32_t channelFlags = audio::ChannelFlags(channel, 0, 0);
    snapshot.looping = channelFlags != 0xFFFFFFFFu && (channelFlags & audio::kFlagLoop) ? 1 : 0;
    const std::uint64_t position = audio::ChannelGetPosition(channel);
    snapshot.position = position <= 0x7FFFFFFFu ? static_cast<std::int32_t>(position) : 0;
  }
  return last;
}

void SoundRestoreChannels(const std::vector<MusicSnapshot>& snapshots, std::int32_t fadeMilliseconds) {
  std::vector<std::int32_t>& musicList = soundGlobals.musicList;
  if (!musicList.empty()) SoundStopChannel(musicList, 0);
  musicList.clear();
  for (const MusicSnapshot& snapshot : snapshots) {
    if (snapshot.soundIndex < 0) continue;
    // A saved game may name a sound or variation that the game no longer has.
    if (static_cast<std::size_t>(snapshot.soundIndex) >= soundSets.size()) {
      LogWriteLine("Saved music names a missing sound; skipped.");
      continue;
    }
    SoundSet& set = soundSets[static_cast<std::size_t>(snapshot.soundIndex)];
    if (snapshot.variation < 0 || static_cast<std::size_t>(snapshot.variation) >= set.variations.size()) {
      LogWriteLine("Saved music of \"" + Utf16ToAnsi(set.name) + "\" names a missing variation; skipped.");
      continue;
    }
    if (soundGlobals.soundEnabled) {
      SoundLoad(snapshot.soundIndex);
      set.currentVariation = snapshot.variation;
      const std::uint32_t channel = VariationHandle(set, snapshot.variation);
      audio::ChannelFlags(channel, snapshot.looping ? audio::kFlagLoop : 0, audio::kFlagLoop);
      if (fadeMilliseconds <= 0) {
        audio::ChannelSetAttribute(channel, audio::kAttribVolume, snapshot.volume);
      } else {
        audio::ChannelSetAttribute(channel, audio::kAttribVolume, 0.0f);
        audio::ChannelSlideAttribute(channel, audio::kAttribVolume, snapshot.volume, fadeMilliseconds);
      }
      audio::ChannelSetAttribute(channel, audio::kAttribFrequency, snapshot.frequency);
      audio::ChannelSetPosition(channel, static_cast<std::uint32_t>(snapshot.position));
      SoundChannelPlay(channel, false);
    }
    musicList.push_back(snapshot.soundIndex);
  }
}

void SoundStopAll() {
  for (SoundSet& set : soundSets) {
    for (const SoundVariation& variation : set.variations) {
      if (variation.handle == 0) continue;
      if (set.kind == kSoundKindSample) {
        audio::SampleStop(variation.handle);
        continue;
      }
      if (set.endSync != 0) {
        audio::ChannelRemoveSync(variation.handle, set.endSync);
        set.endSync = 0;
      }
      audio::ChannelStop(variation.handle);
    }
  }
}

void MusicEndSync(std::uint32_t /*sync*/, std::uint32_t /*channel*/, std::uint32_t /*data*/, void* /*user*/) {
  soundGlobals.musicEnded = true;
}

}  // namespace kiv
