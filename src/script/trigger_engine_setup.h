#pragma once
// Start-up wiring of trigger dispatch, waits, timed changes and the condition
// compiler into the hooks of the interpreter and of the game-data readers.
namespace kiv {

// Installs ScriptRunTrigger and the pause stamp into the script hooks, and the condition compiler and the
// object-event raiser and the run-state reset into the data hooks, and the system scripts and the
// script engine's parts of a save and the load event into the game-state hooks.
void InstallTriggerEngine();

// Drops every waiting script (their scripts no longer count as running) and
// every timed change, and clears the gesture results.
void ResetTriggerEngine();

}  // namespace kiv
