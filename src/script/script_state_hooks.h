#pragma once
// Wires the script engine into the game state: the global lists of the state
// block and the waiting scripts and timed changes of a save.
namespace kiv {

// Sets the state hooks for the global lists and the run-time state.
// InstallTriggerEngine calls it.
void InstallScriptStateHooks();

}  // namespace kiv
