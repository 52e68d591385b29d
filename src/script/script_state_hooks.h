#pragma once
// Wires the script engine into the game state: the global lists of the state
// block, the waiting scripts and timed changes of a save, and the system
// scripts that trigger dispatch runs.
namespace kiv {

// Sets the state hooks for the global lists and the run-time state, and the
// trigger hook that gives the system script of a slot (none while the slot
// has no statements). InstallTriggerEngine calls it.
void InstallScriptStateHooks();

}  // namespace kiv
