#pragma once
// Start-up wiring of the script engine core into the game-data readers.
namespace kiv {

// Installs the compiler and the global-name look-ups into the data hooks, so
// that ReadScript compiles text-only scripts and LinkScript binds globals.
void InstallScriptDataHooks();

// Empties the call stack, the engine's run-time flags and the script globals.
void ResetScriptEngine();

}  // namespace kiv
