#pragma once
// The running shell's globals: the tick, the stop and restart requests, the
// activity texts of the loop's error report.
#include <cstdint>
#include <string>

namespace kiv {

struct ShellState {
  // The game's folder and its name are core's gameFolder and gameFolderName
  // (core/folders.h), beside GetUserGameFolder and GetCommonFolder.

  bool playing = false;      // set by every load of the start window, never cleared
  bool startupDone = false;  // the start window's one-time block ran
  std::int32_t currentPlayer = 0;

  // Tick.
  std::uint32_t tickBase = 0;      // clock value the next tick is measured from
  std::int32_t frameElapsed = 0;   // milliseconds this tick advances the world (after game speed)
  std::int32_t worldStepTime = 0;  // frameElapsed as the world update saw it
  bool loadingTick = false;        // a tick run from the loading screen

  // Requests.
  bool quitRequest = false;           // ends the main loop
  bool pendingRestart = false;        // performed after the world update
  std::int32_t pendingSlotLoad = -1;  // save slot 0..3 to load after the world update
  bool pickRendered = false;

  // What the loop is doing, quoted by the loop error report.
  std::string currentActivity;
  std::string activityStep;

  void Reset() { *this = ShellState{}; }
};
extern ShellState shell;

}  // namespace kiv
