#pragma once
// Dropping a character's motion requests: what the world update does when a
// character may not drive (dead, held by a message box, an empty tank), and
// what saving and loading do for the player's character.
#include "data/actor_record.h"

namespace kiv {

// Zeroes the three motion targets and the drive, turn, strafe and climb
// inputs; the motor bytes and the velocities stay.
void ClearCharacterMotion(Actor& actor);

}  // namespace kiv
