#pragma once
// The load dialog of the start window: four buttons, one per save slot, with
// the slot names of "SETTINGS.INI". A filled slot starts the game window with
// its save; the close box returns to the start window.
#include "platform/ui/form.h"

namespace kiv {

class StartLoadWindow : public ui::Form {
 public:
  StartLoadWindow();
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Control_Click(const std::string& arrayName, int index) override;
  void buttonSlot_Click(int index);
};
extern StartLoadWindow frmStartLoad;

}  // namespace kiv
