#pragma once
// Installs the character steps of the world update into the player's hooks:
// ActionRects, HI, the Character System with its per-tick flag, and the
// removal of marked objects at the end of each map's turn.
namespace kiv {

void InstallCharacterSystem();

}  // namespace kiv
