#pragma once
// What the option dialogs need of the player shell above them: showing the
// start window again when a dialog unloads. The player's install function
// sets it.
#include <functional>

namespace kiv {

struct DialogHooks {
  std::function<void()> ShowStartWindow;  // frmStart.Show
  void Reset();
};
extern DialogHooks dialogHooks;

}  // namespace kiv
