#include "kivplay_dump_music.h"

#include "core/text_encoding.h"
#include "media/audio_startup.h"
#include "media/sound_sets.h"
#include "state/game_state.h"

namespace kivplay {

namespace {

using nlohmann::json;

json captured = nullptr;

}  // namespace

void CaptureMusic() {
  json playing = json::array();
  for (const std::int32_t entry : kiv::soundGlobals.musicList) {
    const bool named = entry >= 0 && static_cast<std::size_t>(entry) < kiv::soundSets.size();
    playing.push_back(named ? kiv::Utf16ToUtf8(kiv::soundSets[static_cast<std::size_t>(entry)].name) : "");
  }
  captured = {{"playing", playing},
              {"locked", kiv::gameState.musicLocked != 0},
              {"ended", kiv::soundGlobals.musicEnded.load()},
              {"memorized", kiv::gameState.memorizedMusic.size()}};
}

json MusicDump() { return captured; }

}  // namespace kivplay
