#pragma once
// The sample game's music: the song "Chime" and the script that plays it as a
// game would when the Town is loaded.
#include <string>

#include "core/byte_list.h"
#include "core/identifier.h"

namespace kiv::test {

// The sound set "Chime": music (a stream) of one variation, a quarter of a
// second of a tone.
ByteList SampleChimeSoundBytes(const Identifier& id);

// The Town hero's second script when the Town is loaded: locks the music, so
// that showing the Town keeps it, plays "Chime" once, memorizes it, waits for
// its end and then, on a screen 800 pixels wide with the HUD shown, unlocks
// the music.
std::u16string SampleMusicScript();

}  // namespace kiv::test
