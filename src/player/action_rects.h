#pragma once
// "Main Character's ActionRects" and "HI System" of the world update: the
// character that each player's main character could act on, and the stop or
// fire of the current player's character.
namespace kiv {

void RunActionRects();
void RunHISystem();

}  // namespace kiv
