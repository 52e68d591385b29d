#pragma once
// Start-up wiring of the game state into the libraries below it: the project
// settings that the game-data readers and the graphics layer consult.
namespace kiv {

// Installs the settings answers: the loose name matching of the script linker
// (option flag 23) and the mouse capture of the graphics layer.
void InstallGameStateHooks();

}  // namespace kiv
