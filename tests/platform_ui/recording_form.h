#pragma once
// A test form with three buttons (0 default, 2 cancel) and a label that records its event procedures.
#include <string>
#include <vector>

#include "platform/ui/form.h"

namespace kiv::ui::test {

// A form that records its event procedures.
class RecordingForm : public Form {
 public:
  RecordingForm() : Form("frmTest", 200, 120) {
    ControlArrayOf& buttons = AddControlArray("buttonTest", ControlKind::Button, 3);
    for (int i = 0; i < 3; ++i) {
      buttons[static_cast<std::size_t>(i)] =
          Control{"Button " + std::to_string(i), "", 10, 10 + 36 * i, 120, 30};
    }
    buttons[0].isDefault = true;
    buttons[2].isCancel = true;
    AddControlArray("txtInfo", ControlKind::Label, 1)[0] = Control{"Label", "", 140, 10, 50, 15};
  }
  void Form_Load() override { calls.push_back("Load"); }
  void Form_Activate() override { calls.push_back("Activate"); }
  void Form_QueryUnload(int& cancel, int mode) override {
    calls.push_back("QueryUnload " + std::to_string(mode));
    if (refuseUserClose && mode == kUnloadUser) cancel = 1;
  }
  void Form_Unload(int&) override { calls.push_back("Unload"); }
  void Form_KeyDown(int& keyCode, int shift) override {
    calls.push_back("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
    if (keyCode == 18) keyCode = 0;
  }
  void Form_KeyPress(int& keyAscii) override { calls.push_back("KeyPress " + std::to_string(keyAscii)); }
  void Control_Click(const std::string& array, int index) override {
    calls.push_back("Click " + array + " " + std::to_string(index));
    if (unloadOnClick) Unload();
  }
  void Control_Change(const std::string& array, int index) override {
    calls.push_back("Change " + array + " " + std::to_string(index));
  }
  void Control_Scroll(const std::string& array, int index) override {
    calls.push_back("Scroll " + array + " " + std::to_string(index));
  }
  void Control_Timer(const std::string& array, int index) override {
    calls.push_back("Timer " + array + " " + std::to_string(index));
  }
  void Form_Resize() override {
    calls.push_back("Resize " + std::to_string(clientWidth) + "x" + std::to_string(clientHeight));
  }
  std::vector<std::string> calls;
  bool refuseUserClose = false;
  bool unloadOnClick = false;
};

}  // namespace kiv::ui::test
