#include "player/character_action.h"

namespace kiv {

void RunCharacterWeaponsAndAction(CharacterTurn&) {}
void UpdateCharacterContacts(CharacterTurn&) {}
void TakePickUpsByTouch(CharacterTurn&) {}

}  // namespace kiv
