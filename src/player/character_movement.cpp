#include "player/character_movement.h"

namespace kiv {

void MoveCharacter(CharacterTurn&) {}

}  // namespace kiv
