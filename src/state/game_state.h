#pragma once
// The running-game values that a save stores besides the maps, and the
// thirteen system scripts of the project.
#include <array>
#include <cstdint>
#include <vector>

#include "data/script_record.h"
#include "media/sound_channels.h"

namespace kiv {

struct GameState {
  std::int32_t playTime = 0;   // ms of play
  std::int32_t saveCount = 0;  // raised by every save before it is written
  std::uint8_t saveDisabled = 0;
  std::uint8_t paused = 0;  // "Main.Paused"
  std::vector<MusicSnapshot> memorizedMusic;  // "Music.Memorize"
  std::uint8_t musicLocked = 0;

  void Reset() { *this = GameState(); }
};
extern GameState gameState;

inline constexpr int kSystemScriptCount = 13;
// Slots 0 to 12; an empty slot holds a script with no statements.
extern std::array<Script, kSystemScriptCount> systemScripts;

}  // namespace kiv
