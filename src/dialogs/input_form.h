#pragma once
// frmInput ("Input Set"): one row per control of the controls table and in it
// one column per player, with the player's bindings, "+" to capture another
// and "--" to remove the selected one. Edits change the live table at once;
// "&OK" writes "controls.dat" when anything changed.
#include <cstdint>

#include "dialogs/dialog_form.h"

namespace kiv {

// Design sizes of the window, in its pixels.
struct InputFormDesign {
  static constexpr std::int32_t kWidth = 524;
  static constexpr std::int32_t kHeight = 400;
  static constexpr std::int32_t kHoldTop = 4;        // picHold's top (T)
  static constexpr std::int32_t kRowHeight = 100;    // picStat's height (R)
  static constexpr std::int32_t kButtonHeight = 25;  // buttonOK's height (B)
};

class InputForm : public DialogForm {
 public:
  InputForm();
  void Form_Load() override;
  void Form_Resize() override;
  void Control_Click(const std::string& arrayName, int index) override;
  void Control_Change(const std::string& arrayName, int index) override;
  void Control_Scroll(const std::string& arrayName, int index) override;

  void buttonInputAdd_Click(int index);
  void buttonInputRemove_Click(int index);
  void buttonOK_Click();
  void buttonCancel_Click();
  void scrollWindow_Change();
  void scrollWindow_Scroll();

  // Writes "controls.dat" and clears Dirty.
  void Save();
  // A binding was added or removed since the load or the last save.
  bool Dirty = false;
};
extern InputForm frmInput;

}  // namespace kiv
