#pragma once
// The music section of the kivplay dump: the songs of the music list by name,
// whether the music is locked, whether the primary song's end was signalled,
// and how many songs are memorized, as the last frame saw them.
#include <nlohmann/json.hpp>

namespace kivplay {

// Takes the section at the last frame (the game's end clears the music).
void CaptureMusic();
nlohmann::json MusicDump();

}  // namespace kivplay
