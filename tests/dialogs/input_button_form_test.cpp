#include "dialogs/input_button_form.h"

#include <gtest/gtest.h>

#include "dialogs/dialogs_fixture.h"

namespace kiv {
namespace {

using test::DialogsTest;

class CaptureTest : public DialogsTest {
 protected:
  void TearDown() override {
    if (frmInputButton.IsLoaded()) frmInputButton.Unload();
    DialogsTest::TearDown();
  }
  ui::Control& Item(const char* name) { return frmInputButton.Controls(name).Item(0); }
  void Choose(int entry) {
    Item("listControls").listIndex = entry;
    frmInputButton.listControls_Click();
  }
};

TEST_F(CaptureTest, TheTwelveEntriesAndWhatEachGives) {
  frmInputButton.Show();
  EXPECT_EQ(frmInputButton.caption, "Input");
  const std::vector<std::string> texts = {"Key / Gamepad",     "Left Click",      "Right Click",
                                          "Middle Click",      "Mouse Button 4",  "Mouse Button 5",
                                          "Mouse Button 6",    "Mouse Button 7",  "Mouse Button 8",
                                          "Horizontal Cursor", "Vertical Cursor", "Mouse Wheel"};
  EXPECT_EQ(Item("listControls").list, texts);
  // Loading selects entry 0: the text box shows, OK waits for a capture.
  EXPECT_EQ(Item("listControls").listIndex, 0);
  EXPECT_TRUE(Item("txtboxButton").visible);
  EXPECT_FALSE(Item("buttonOK").enabled);
  EXPECT_EQ(frmInputButton.Mode, 0);
  EXPECT_EQ(Item("tmrKey").interval, 50);
  for (int entry = 1; entry < 12; ++entry) {
    SCOPED_TRACE(entry);
    Choose(entry);
    EXPECT_EQ(frmInputButton.Mode, 4);
    EXPECT_EQ(frmInputButton.Key, entry - 1);
    EXPECT_FALSE(Item("txtboxButton").visible);
    EXPECT_TRUE(Item("buttonOK").enabled);
  }
  // Back to entry 0: Mode 0, the text emptied, Key kept, OK off until a capture.
  Item("txtboxButton").text = "old";
  Choose(0);
  EXPECT_EQ(frmInputButton.Mode, 0);
  EXPECT_EQ(frmInputButton.Key, 10);
  EXPECT_EQ(Item("txtboxButton").text, "");
  EXPECT_FALSE(Item("buttonOK").enabled);
}

TEST_F(CaptureTest, EachTickTakesTheFirstHeldKeyElseTheFirstHeldButton) {
  controllers = {"joystick:7"};
  const struct {
    const char* name;
    std::vector<int> keys;
    std::vector<int> buttons;
    int mode;
    int key;
    const char* text;
  } cases[] = {
      {"a key and a button together: the key", {0x1E}, {2}, 2, 0x1E, "A"},
      {"two keys: the lower scan code", {0x30, 0x1E}, {}, 2, 0x1E, "A"},
      {"a button alone", {}, {3, 5}, 8, 3, "Button 4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    frmInputButton.Show();
    heldKeys.fill(0);
    heldButtons.fill(0);
    for (int k : c.keys) heldKeys[static_cast<std::size_t>(k)] = 0x80;
    for (int b : c.buttons) heldButtons[static_cast<std::size_t>(b)] = 0x80;
    frmInputButton.tmrKey_Timer();
    EXPECT_EQ(frmInputButton.Mode, c.mode);
    EXPECT_EQ(frmInputButton.Key, c.key);
    EXPECT_EQ(Item("txtboxButton").text, c.text);
    EXPECT_TRUE(Item("buttonOK").enabled);
    frmInputButton.Unload();
  }
}

TEST_F(CaptureTest, LaterTicksReplaceTheCaptureAndEmptyOnesChangeNothing) {
  frmInputButton.Show();
  heldKeys[0x10] = 0x80;  // Q
  frmInputButton.tmrKey_Timer();
  heldKeys.fill(0);
  heldKeys[0x01] = 0x81;  // Escape: only bit 7 counts
  heldKeys[0x02] = 0x7F;
  frmInputButton.tmrKey_Timer();
  EXPECT_EQ(frmInputButton.Key, 0x01);
  heldKeys.fill(0);
  frmInputButton.tmrKey_Timer();
  EXPECT_EQ(frmInputButton.Mode, 2);
  EXPECT_EQ(frmInputButton.Key, 0x01);
  EXPECT_TRUE(Item("buttonOK").enabled);
  // A mouse entry stops the polling: nothing held changes the mouse choice.
  Choose(11);
  heldKeys[0x1E] = 0x80;
  frmInputButton.tmrKey_Timer();
  EXPECT_EQ(frmInputButton.Mode, 4);
  EXPECT_EQ(frmInputButton.Key, 10);
}

TEST_F(CaptureTest, WithoutAControllerOnlyKeysAreTaken) {
  inputDevices.joystickState.buttons[0] = 0x80;  // left over from another window
  heldButtons[1] = 0x80;
  frmInputButton.Show();
  frmInputButton.tmrKey_Timer();
  EXPECT_EQ(frmInputButton.Mode, 0);
  EXPECT_FALSE(Item("buttonOK").enabled);
  EXPECT_EQ(calls, (std::vector<std::string>{"CreateKeyboard 22"}));
}

TEST_F(CaptureTest, DevicesAreMadeWithTheirFlagsAndReleasedOnUnload) {
  controllers = {"joystick:3", "joystick:4"};
  frmInputButton.Show();
  EXPECT_EQ(calls, (std::vector<std::string>{"CreateKeyboard 22", "CreateJoystick joystick:3 0 6"}));
  calls.clear();
  bindingAccepted = false;
  frmInputButton.Unload(ui::kUnloadUser);  // the close box
  EXPECT_FALSE(bindingAccepted);
  EXPECT_EQ(calls, (std::vector<std::string>{"ReleaseKeyboard", "ReleaseJoystick"}));  // no start window

  frmInputButton.Show();
  Choose(3);
  frmInputButton.buttonOK_Click();
  EXPECT_TRUE(bindingAccepted);
  EXPECT_FALSE(frmInputButton.IsLoaded());
}

}  // namespace
}  // namespace kiv
