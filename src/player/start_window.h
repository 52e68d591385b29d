#pragma once
// The start window: loads the package once per process, lays out its menu
// from "DATA.INI" at every load, reads the settings and creates the devices at
// the first, starts audio and speech and speaks "Main Menu" at every
// activation. Its buttons start a game, open the load dialog or an option
// dialog, open the game's website, or quit.
#include <string>

#include "platform/ui/form.h"

namespace kiv {

class StartWindow : public ui::Form {
 public:
  StartWindow();
  // The process's package path from the command line (empty: "DATA.kRC"
  // beside the program). False when the package could not be loaded (the
  // boxes were shown; the program ends).
  bool Initialize(const std::string& commandLine);

  void Form_Load() override;
  void Form_Activate() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Unload(int& cancel) override;
  void Control_Click(const std::string& arrayName, int index) override;
  void buttonAction_Click(int index);
};
extern StartWindow frmStart;

// Releases speech, the audio output and the graphics and input roots, in that order.
void ShutdownDevices();

}  // namespace kiv
