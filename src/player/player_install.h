#pragma once
// Installs what the player shell provides to the libraries below it: the
// window-system yield, the quit request and tick base, the active player's
// map, the overlay trigger, the shell's reset, the load event, the current
// player and clock of the scripts, the graphics settings and message boxes.
namespace kiv {

void InstallPlayerHooks();

}  // namespace kiv
