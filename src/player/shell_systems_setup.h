#pragma once
// What the world update, the resource groups and the reset code install into
// the player's own hooks and into the libraries below the player.

namespace kiv {

// playerHooks.WorldUpdate, InitResources, UnloadResources, ShowLoadingProgress,
// RefreshViewedMaps, RestartGame, ShutdownGraphics; the state and data hooks
// that stand for them; the trigger engine's reads of the shell's state.
void InstallShellSystems();

}  // namespace kiv
