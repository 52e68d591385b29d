#pragma once
// The running shell's globals: the tick, the stop and restart requests, the
// activity step of the loop's error report, and the loading and drawing
// values that the start-game sequence sets for the drawing code above.
#include <cstdint>
#include <string>

namespace kiv {

struct ShellState {
  // The game's folder and its name are core's gameFolder and gameFolderName
  // (core/folders.h), beside GetUserGameFolder and GetCommonFolder. The text
  // of the step being performed is gameData.currentActivity, the game speed
  // gameData.gameSpeed, the script slice start scriptEngine.tickStamp.

  bool playing = false;      // set by every load of the start window, never cleared
  bool startupDone = false;  // the start window's one-time block ran
  std::int32_t currentPlayer = 0;

  // Tick.
  std::uint32_t tickBase = 0;      // clock value the next tick is measured from
  std::int32_t frameElapsed = 0;   // milliseconds this tick advances the world (after game speed)
  std::int32_t worldStepTime = 0;  // frameElapsed as the world update saw it
  bool loadingTick = false;        // a tick run from the loading screen
  bool mainLoopRunning = false;    // between the main loop's start and its end

  // Requests.
  bool quitRequest = false;           // ends the main loop
  bool pendingRestart = false;        // performed after the world update
  std::int32_t pendingSlotLoad = -1;  // save slot 0..3 to load after the world update
  bool pickRendered = false;
  // Some character or zone of an updated map has a mouse trigger: cleared at
  // the start of each world update and raised by the character pass; the
  // pointer then picks zones and looks into view fields.
  bool mouseTriggersPresent = false;

  // Finer position inside gameData.currentActivity, quoted by the loop error report.
  std::int32_t activityStep = 0;


  // Loading and drawing.
  std::uint32_t loadedGroups = 0;  // resource groups loaded (fonts 1 ... all 0x3EFFF)
  std::string loadingText;         // the loading screen's text
  float loadingProgress = 0;       // its progress fraction
  bool drawingFrame = false;       // a frame is being drawn (loading progress is not)
  std::int32_t loadingFade = 0;    // ms since loading ended; 1000 hides the loading image
  float screenScale = 1.0f;        // the factor screen-overlay sprite layers scale their size and offset by

  void Reset() { *this = ShellState{}; }
};
extern ShellState shell;

}  // namespace kiv
