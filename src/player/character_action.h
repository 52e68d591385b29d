#pragma once
// Steps 8 to 10 of a character's turn in the Character System: weapons and
// the action on doors, pick-ups, zones and characters; the contacts with
// characters and zones; the pick-ups a player's character takes by touch.
#include "player/character_fields.h"

namespace kiv {

// Step 8: a living character whose active byte is 1 fires its weapons and,
// when asked, acts; a living one that is not active stops its walk time.
void RunCharacterWeaponsAndAction(CharacterTurn& turn);

// Step 9 (does nothing in a tick of 0 ms): turns this tick's hit lists into
// touch, while-touched and left events, and raises TouchedSolid.
void UpdateCharacterContacts(CharacterTurn& turn);

// Part of step 10, for a moved character: a player's collidable character
// takes the pick-ups it touches.
void TakePickUpsByTouch(CharacterTurn& turn);

}  // namespace kiv
