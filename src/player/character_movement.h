#pragma once
// Step 7 of a character's turn in the Character System: grid stepping and
// driving for a living character, then pushes, the map's force and collision
// for every selected character, dead or alive, so that bodies fall.
#include "player/character_fields.h"

namespace kiv {

// Moves turn.actor of turn.map by turn.elapsed ms; sets its moved byte when it
// moved, and turn.touchedSolid when something solid stopped it.
void MoveCharacter(CharacterTurn& turn);

}  // namespace kiv
