#pragma once
// The three mechanisms of a character's movement, run in this order by
// MoveCharacter, and the working values they share.
#include <array>
#include <cstdint>

#include "data/game_data.h"
#include "player/character_fields.h"

namespace kiv {

struct MotionWork {
  // The driven position and heading: start as the stored ones, written back at the end.
  float x = 0.0f, y = 0.0f, z = 0.0f, heading = 0.0f;
  std::array<bool, 3> requested{};  // rx, ry, rz: the motion target of the axis is not 0
  std::array<bool, 3> moved{};      // the axis moved in free motion
  bool blockedSeen = false;
};

// The character of a turn, looked up afresh: scripts run by the world may
// change the map's list. nullptr once the index has left the list.
inline Actor* TurnActor(const CharacterTurn& turn) {
  auto& actors = gameData.maps[turn.map].actors;
  if (turn.actor < 0 || static_cast<std::size_t>(turn.actor) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(turn.actor)];
}

// Pixel-exact steps of a living character; false when the character left the list.
bool RunGridStepping(CharacterTurn& turn, MotionWork& work);
// Speed along and across the heading, steering, fuel, climbing and sinking.
void RunDriving(CharacterTurn& turn, MotionWork& work);
// Motors, pushes, the map's force, collision by axis combinations, landing,
// walk time and the write-back.
void RunFreeMotion(CharacterTurn& turn, MotionWork& work);

// Whether the character may drive now: no message box of the game holds a
// player's character.
bool DrivingAllowed(const Actor& a);

}  // namespace kiv
