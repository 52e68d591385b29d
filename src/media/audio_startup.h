#pragma once
// Starting the audio output and loading the variations of a sound set into
// handles of the audio layer, straight from the game's package file.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

// The sound font of MIDI streams.
inline constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

struct SoundGlobals {
  std::uint32_t deviceInitFlags = 0;  // bit 4: 3D placement is available
  std::uint32_t soundFontHandle = 0;
  // The [Sound2] "Enable" setting; cleared when no output can be opened.
  bool soundEnabled = true;
  // The music now playing: sound indexes, -1 for an empty place.
  std::vector<std::int32_t> musicList;
  // Set by the end-of-music sync (on the mixing thread); scripts test and clear it.
  std::atomic<bool> musicEnded{false};

  void Reset();
};
extern SoundGlobals soundGlobals;

bool Sound3DAvailable();

// Starts the output once (with 3D when it can be had); false when no output
// can be opened, which also clears soundEnabled. The window is not needed.
bool SoundStartUp(void* window = nullptr);
// Loads every variation of the sound unless it is loaded already.
void SoundLoad(std::int32_t sound);
// Frees the variations' handles and clears the loaded flag (resource groups unloading).
void SoundUnload(std::int32_t sound);
// The load flags of a sound, by its kind, loop and 3D bytes.
std::uint32_t SoundLoadFlags(std::uint8_t kind, std::uint8_t loop, std::uint8_t threeD, bool available3D);
// Frees the sound font and the audio output (quitting from the start window).
void SoundShutDown();

}  // namespace kiv
