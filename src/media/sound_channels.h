#pragma once
// Playing the loaded sounds: picking a variation's channel, unplaced and
// placed play with the sound's volume and tempo spreads, map speakers, and
// the music list with its fades, snapshots and end flag.
#include <cstdint>
#include <vector>

namespace kiv {

// The saved state of one music entry.
struct MusicSnapshot {
  std::int32_t soundIndex = -1;  // -1 for an empty entry
  std::int32_t variation = 0;
  float volume = 0.0f;
  float frequency = 0.0f;  // Hz
  std::int32_t position = 0;  // bytes from the start
  std::uint8_t looping = 0;   // 1 or 0
};

// The fields of a map speaker that its sound uses (the record belongs to the maps).
struct SpeakerSound {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  std::uint8_t enabled = 0;
  std::int32_t radius = 0;
  float startAngle = 0.0f;  // radians
  float endAngle = 0.0f;
  std::int32_t soundSet = -1;
  std::uint32_t channel = 0;
  std::int32_t variation = 0;
  float volumeFactor = 1.0f;
  float focus = 0.0f;  // 0 to 1
};

// Picks a variation not yet played and returns its channel. A variation
// argument below -1 stays as it is and the sound's volume and frequency are
// applied at once; otherwise it receives the pick. A sound without variations
// gives channel 0 and current variation -1. Channel 0 for a picked variation
// (empty or never loaded, or no free playback): audio::ErrorGetCode() says why.
std::uint32_t SoundGetChannel(std::int32_t sound, std::int32_t& variation);
void SoundChannelPlay(std::uint32_t channel, bool restart);
void SoundPlay2D(std::uint32_t channel, bool restart);
void SoundPlay3D(std::uint32_t channel, float x, float y, float z, float minimum, float maximum, float inside,
                 float outside, float direction, bool placeOnly);
void SoundSlideVolume(std::int32_t sound, std::uint32_t channel, std::int32_t variation, float factor,
                      std::int32_t milliseconds);
void SoundSlideFrequency(std::int32_t sound, std::uint32_t channel, std::int32_t variation, float factor,
                         std::int32_t milliseconds);
void SoundUpdateSpeaker(SpeakerSound& speaker, bool placeOnly);

// Radians to the whole degrees of a cone angle (halves to even).
std::int32_t ConeDegrees(float radians);

void SoundPlayMusic(const std::vector<std::int32_t>& sounds, std::int32_t fadeMilliseconds, float volumeFactor,
                    float tempoFactor, bool stopCurrent, std::int32_t flags, bool restart, bool keep);
void SoundStopChannel(std::vector<std::int32_t> sounds, std::int32_t fadeMilliseconds);
// Returns the last index of the music list; fills snapshots when it is 0 or more.
std::int32_t SoundSaveChannels(std::vector<MusicSnapshot>& snapshots);
void SoundRestoreChannels(const std::vector<MusicSnapshot>& snapshots, std::int32_t fadeMilliseconds);
void SoundStopAll();
// The end-of-music sync: sets musicEnded and nothing else.
void MusicEndSync(std::uint32_t sync, std::uint32_t channel, std::uint32_t data, void* user);

}  // namespace kiv
