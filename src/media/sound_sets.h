#pragma once
// The sound sets of a game: one record per sound effect or piece of music,
// each with its variations (blocks of encoded audio inside the package file),
// and the play state the audio operations keep in them. The table is read by
// the sound-set reader and played by the audio operations.
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"

namespace kiv {

// Sound kinds (the kind byte of a sound set).
inline constexpr std::uint8_t kSoundKindSample = 0;
inline constexpr std::uint8_t kSoundKindStream = 1;
inline constexpr std::uint8_t kSoundKindMod = 2;
inline constexpr std::uint8_t kSoundKindMidi = 3;
inline constexpr std::uint8_t kSoundKindWma = 4;

struct SoundVariation {
  ByteList data;                 // empty in the player: the data stays in the package file
  std::int64_t dataOffset = 0;   // within the entry after reading, within the package file once placed
  std::int32_t dataLength = 0;   // bytes
  bool empty = false;            // no bytes (length 0 or less)
  // Set when the variation's bytes cannot be read from the package as they
  // lie (outside its entry, or in a compressed entry): it is never opened.
  bool unusable = false;
  std::uint32_t handle = 0;      // sample, stream or music of the audio layer; 0 while not loaded
  float frequency = 0.0f;        // default rate of the loaded handle, Hz
  bool played = false;           // used by the variation pick
};

struct SoundSet {
  std::int32_t headValue = 0;  // the 32-bit integer stored first (files from 100494 on)
  Identifier id;
  std::u16string name;
  std::u16string displayName;
  std::u16string kindText;
  EmbeddedResource image;
  std::uint8_t kind = kSoundKindSample;
  std::int32_t maxPlaybacks = 0;  // simultaneous playbacks of a sample
  std::uint8_t loop = 0;
  std::uint8_t threeD = 0;
  float volume = 1.0f;
  float tempo = 1.0f;
  float volumeSpread = 0.0f;
  float tempoSpread = 0.0f;
  std::vector<SoundVariation> variations;
  std::string packagePath;  // the package file the variations are opened from (UTF-8)

  // Play state.
  bool loaded = false;
  std::int32_t currentVariation = 0;  // -1 when a pick found no variation
  std::uint32_t endSync = 0;          // end sync set on the sound's channel, 0 none
};

extern std::vector<SoundSet> soundSets;

// The sound at index; raises 9 "Subscript out of range" outside the table.
SoundSet& SoundAt(std::int32_t sound);

}  // namespace kiv
