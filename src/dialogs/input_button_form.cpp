#include "dialogs/input_button_form.h"

#include "core/text_encoding.h"
#include "dialogs/dialog_devices.h"
#include "media/input_devices.h"
#include "media/key_names.h"

namespace kiv {

bool bindingAccepted = false;
InputButtonForm frmInputButton;

const char* const kCaptureEntries[kCaptureEntryCount] = {
    "Key / Gamepad",  "Left Click",        "Right Click",     "Middle Click",
    "Mouse Button 4", "Mouse Button 5",    "Mouse Button 6",  "Mouse Button 7",
    "Mouse Button 8", "Horizontal Cursor", "Vertical Cursor", "Mouse Wheel",
};

namespace {

constexpr std::int32_t kKeyboardCooperation = 22;  // non-exclusive 2 + foreground 4 + Windows key off 16
constexpr std::int32_t kJoystickCooperation = 6;   // non-exclusive 2 + foreground 4
constexpr std::uint8_t kHeld = 0x80;

}  // namespace

InputButtonForm::InputButtonForm() : DialogForm("frmInputButton", 216, 104, false) { caption = "Input"; }

void InputButtonForm::Form_Load() {
  ClearControls();
  ui::Control& list = AddControl("listControls", ui::ControlKind::DropDown, 8, 8, 200, 20);
  for (const char* entry : kCaptureEntries) list.AddItem(entry);
  AddControl("txtboxButton", ui::ControlKind::TextBox, 8, 38, 200, 20);
  AddControl("buttonOK", ui::ControlKind::Button, 64, 70, 88, 25, "OK");
  AddControl("tmrKey", ui::ControlKind::Timer, 0, 0, 0, 0).interval = 50;

  keyboardCreated_ = dialogDevices.CreateKeyboard(WindowId(), kKeyboardCooperation) == 0;
  joystickCreated_ = false;
  const std::vector<std::string> controllers = dialogDevices.ListGameControllers();
  if (!controllers.empty()) {
    joystickCreated_ =
        dialogDevices.CreateJoystick(WindowId(), controllers.front(), false, kJoystickCooperation) == 0;
  }
  Item("listControls").listIndex = 0;
  listControls_Click();
}

void InputButtonForm::Form_Unload(int& cancel) {
  dialogDevices.ReleaseKeyboard();
  dialogDevices.ReleaseJoystick();
  DialogForm::Form_Unload(cancel);
}

void InputButtonForm::Control_Click(const std::string& arrayName, int /*index*/) {
  if (arrayName == "listControls") listControls_Click();
  if (arrayName == "buttonOK") buttonOK_Click();
}

void InputButtonForm::Control_Timer(const std::string& arrayName, int /*index*/) {
  if (arrayName == "tmrKey") tmrKey_Timer();
}

void InputButtonForm::listControls_Click() {
  const std::int32_t entry = Item("listControls").listIndex;
  ui::Control& text = Item("txtboxButton");
  text.visible = entry == 0;
  Item("buttonOK").enabled = entry > 0;
  if (entry == 0) {
    Mode = kBindNone;  // Key keeps its value
    text.text.clear();
  } else if (entry > 0) {
    Mode = kBindMouse;
    Key = entry - 1;
  }
}

void InputButtonForm::tmrKey_Timer() {
  ui::Control& text = Item("txtboxButton");
  if (!text.visible) return;
  const auto capture = [&](std::int32_t mode, std::int32_t key) {
    Mode = mode;
    Key = key;
    text.text = Utf16ToAnsi(InputControlName(key, mode));
    Item("buttonOK").enabled = true;
  };
  // Devices that could not be made are not read: their state is another window's.
  if (keyboardCreated_) {
    dialogDevices.PollKeyboard();
    const input::KeyboardState& keys = inputDevices.keyboardState;
    for (std::size_t code = 0; code < keys.size(); ++code) {
      if ((keys[code] & kHeld) != 0) {
        capture(kBindKeyboard, static_cast<std::int32_t>(code));
        return;
      }
    }
  }
  if (!joystickCreated_) return;
  dialogDevices.PollJoystick();
  const auto& buttons = inputDevices.joystickState.buttons;
  for (std::size_t button = 0; button < buttons.size(); ++button) {
    if ((buttons[button] & kHeld) != 0) {
      capture(kBindJoystick, static_cast<std::int32_t>(button));
      return;
    }
  }
}

void InputButtonForm::buttonOK_Click() {
  bindingAccepted = true;
  Unload();
}

}  // namespace kiv
