#pragma once
// frmInputButton ("Input"): captures one binding for the input-set dialog,
// which shows it modally. A mouse control is picked from the list; with
// "Key / Gamepad" a 50 ms timer polls the keyboard and then the first game
// controller and takes the first key or button held.
#include <cstdint>

#include "dialogs/dialog_form.h"

namespace kiv {

// Set False before the capture window opens, True by its OK.
extern bool bindingAccepted;

// The entries of the capture list: 0 polls, 1 to 11 are mouse controls 0 to 10.
inline constexpr int kCaptureEntryCount = 12;
extern const char* const kCaptureEntries[kCaptureEntryCount];

class InputButtonForm : public DialogForm {
 public:
  InputButtonForm();
  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void Control_Click(const std::string& arrayName, int index) override;
  void Control_Timer(const std::string& arrayName, int index) override;

  void listControls_Click();
  void tmrKey_Timer();
  void buttonOK_Click();

  // The binding being built (the meaning of an input binding's Mode and Key).
  std::int32_t Mode = 0;
  std::int32_t Key = 0;

 private:
  bool keyboardCreated_ = false;
  bool joystickCreated_ = false;
};
extern InputButtonForm frmInputButton;

}  // namespace kiv
