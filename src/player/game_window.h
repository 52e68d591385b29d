#pragma once
// The game window and the start-game sequence: one game from device start-up
// through the main loop to tear-down, after which the start window returns.
#include <string>

#include "platform/ui/form.h"

namespace kiv {

class GameWindow : public ui::Form {
 public:
  GameWindow();
  // Runs one game: rGAME is the path of a save to load, empty for a new game.
  // Returns when the game is over and the window is gone.
  void Start(const std::string& rGAME);

  void Form_Activate() override;
  void Form_KeyDown(int& keyCode, int shift) override;
  void Form_KeyPress(int& keyAscii) override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Unload(int& cancel) override;
};
extern GameWindow frmMain;

// The start-game sequence; empties the caller's path after a load attempt.
void StartGame(std::string& savePath);
bool StartUpLoad();
void NewGame();
// Resets the game data (fully when reset) and reads "INTRO.kst" of the package.
void LoadProjectState(bool reset);

}  // namespace kiv
