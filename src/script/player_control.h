#pragma once
// Who controls what: the party state of a player and the player that owns a
// character, as the "main" keyword and error reports read them.
#include <cstdint>

namespace kiv {

struct PlayerControlState {
  std::int32_t currentMap = -1;
  std::int32_t controlledMember = -1;     // slot in the party, -1 none
  std::int32_t controlledCharacter = -1;  // the character of that slot in currentMap
};

// The player's map, controlled party slot and that slot's character. A player
// outside the players table has no controlled member; a controlled slot
// outside the party raises 9.
PlayerControlState ScriptPlayerControl(std::int32_t player);

// The player that owns the character of the map, -1 none. A map or character
// that does not exist raises 9.
std::int32_t ScriptCharacterOwnerPlayer(std::int32_t map, std::int32_t character);

}  // namespace kiv
