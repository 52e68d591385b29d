// The option dialogs in real windows on the offscreen driver, used only
// through the forms layer: clicks at the controls' places, keys and typed text
// as SDL events, a virtual game controller, the fake clock for the capture
// timer. Each window is also drawn once, probed and written as a PNG
// ($KIV_DIALOG_PNG_DIR) to look at.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/controls_file.h"
#include "dialogs/dialogs_fixture.h"
#include "dialogs/input_button_form.h"
#include "dialogs/input_form.h"
#include "dialogs/option_forms.h"
#include "dialogs/video_form.h"
#include "platform/os/clock.h"
#include "support/form_driver.h"

namespace kiv {
namespace {

using test::Choose;
using test::Click;
using test::ReadPixels;
using test::SavePng;

class WindowedDialogs : public test::DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    ui::SetWindowlessForms(false);
  }
  void TearDown() override {
    ui::ClearInjectedMouse();
    for (ui::Form* form : std::initializer_list<ui::Form*>{&frmInputButton, &frmInput, &frmVideo, &frmVoice,
                                                           &frmDetail, &frmSound}) {
      if (form->IsLoaded()) form->Unload();
    }
    InputReleaseDirectInput();
    DialogsTest::TearDown();
  }
  static ui::Control& Item(ui::Form& form, const char* name, int index = 0) {
    return form.Controls(name).Item(index);
  }
  // The real keyboard and controller devices in place of the made-up ones.
  void UseRealInput() {
    ASSERT_EQ(InputCreateDirectInput(), 0);
    DialogDevices real;
    real.Reset();
    DialogDevices& d = dialogDevices;
    d.CreateKeyboard = real.CreateKeyboard;
    d.ListGameControllers = real.ListGameControllers;
    d.CreateJoystick = real.CreateJoystick;
    d.PollKeyboard = real.PollKeyboard;
    d.PollJoystick = real.PollJoystick;
    d.ReleaseKeyboard = real.ReleaseKeyboard;
    d.ReleaseJoystick = real.ReleaseJoystick;
  }
};

TEST_F(WindowedDialogs, VoiceDialogEveryControlThenOk) {
  playerSettings.voiceIndex = 0;
  playerSettings.voiceRate = 0;
  playerSettings.voiceVolume = 50;
  frmVoice.Show();
  ASSERT_NE(frmVoice.WindowHandle(), nullptr);
  ui::DoEvents();
  const test::FormPixels pixels = ReadPixels(frmVoice);
  SavePng(pixels, "voice");
  EXPECT_EQ(pixels.width, 360);
  for (int top : {11, 39, 67, 95}) EXPECT_GT(pixels.Dark(8, top, 78, top + 16), 10) << top;  // the labels
  EXPECT_GT(pixels.Dark(110, 8, 300, 28), 10);                                               // "Enable Voice"

  Click(frmVoice, "checkEnable");
  EXPECT_EQ(Item(frmVoice, "checkEnable").value, 1);
  Choose(frmVoice, "listVoices", 1);
  EXPECT_EQ(Item(frmVoice, "listVoices").listIndex, 1);
  test::ClickAt(frmVoice, 340, 74);  // right of the rate's thumb: one large step up
  EXPECT_EQ(Item(frmVoice, "sliderRate").value, 5);
  test::ClickAt(frmVoice, 90, 102);  // left of the volume's thumb: one down
  EXPECT_EQ(Item(frmVoice, "sliderVolume").value, 45);
  Click(frmVoice, "buttonOK");
  EXPECT_FALSE(frmVoice.IsLoaded());
  EXPECT_EQ(SettingsText(), "[Voice]\r\nEnable=-1\r\nIndex=1\r\nRate=5\r\nVolume=45\r\n");
}

TEST_F(WindowedDialogs, DetailDialogDraggedSliderUpdatesTheLabelThenOk) {
  playerSettings.textInterval = 15;
  frmDetail.Show();
  ui::DoEvents();
  const test::FormPixels pixels = ReadPixels(frmDetail);
  SavePng(pixels, "detail");
  EXPECT_GT(pixels.Dark(8, 92, 200, 108), 20);  // "Text Interval : 15ms per character"
  EXPECT_EQ(pixels.Dark(8, 30, 60, 90), 0);     // the hidden second label
  for (const char* check : {"checkTranslucent", "checkShade", "checkSpecular"}) Click(frmDetail, check);
  // Drag the thumb from 15 to the far right.
  int x = 0, y = 0;
  ASSERT_TRUE(ui::ControlPoint(frmDetail, "sliderTextInterval", 0, -1, x, y));
  const int thumb = 8 + 6 + (404 - 12) * 14 / 49;
  ui::InjectMouse(frmDetail, thumb, y, false);
  ui::DoEvents();
  ui::InjectMouse(frmDetail, thumb, y, true);
  ui::DoEvents();
  ui::InjectMouse(frmDetail, 300, y, true);
  ui::DoEvents();
  const std::string dragging = frmDetail.Controls("txtInfo")[2].caption;
  ui::InjectMouse(frmDetail, 420, y, true);
  ui::DoEvents();
  ui::InjectMouse(frmDetail, 420, y, false);
  ui::DoEvents();
  ui::ClearInjectedMouse();
  EXPECT_NE(dragging, "Text Interval : 15ms per character");  // each scroll step shows
  EXPECT_EQ(Item(frmDetail, "sliderTextInterval").value, 50);
  EXPECT_EQ(frmDetail.Controls("txtInfo")[2].caption, "Text Interval : 50ms per character");
  Click(frmDetail, "buttonOK");
  EXPECT_EQ(SettingsText(), "[Detail]\r\nTranslucent=0\r\nShade=0\r\nSpecular=0\r\nTextInterval=50\r\n");
}

TEST_F(WindowedDialogs, SoundDialogChangedThenEscapeCancels) {
  playerSettings.soundVolume = 60;
  frmSound.Show();
  ui::DoEvents();
  const test::FormPixels pixels = ReadPixels(frmSound);
  SavePng(pixels, "sound");
  EXPECT_GT(pixels.Dark(110, 8, 330, 28), 20);  // "Enable Sound Effects and Music"
  Click(frmSound, "checkEnable");
  test::ClickAt(frmSound, 340, 46);  // the tempo: one step up from 1
  test::ClickAt(frmSound, 90, 74);   // the volume: ten down
  EXPECT_EQ(Item(frmSound, "checkEnable").value, 0);
  EXPECT_EQ(Item(frmSound, "sliderTempo").value, 2);
  EXPECT_EQ(Item(frmSound, "sliderVolume").value, 50);
  test::PressKey(frmSound, SDL_SCANCODE_ESCAPE);
  EXPECT_FALSE(frmSound.IsLoaded());
  EXPECT_FALSE(std::filesystem::exists(SettingsIniPath()));
  EXPECT_TRUE(soundGlobals.soundEnabled);
  EXPECT_EQ(playerSettings.soundVolume, 60);
}

TEST_F(WindowedDialogs, VideoDialogModeThenWindowedSizeTypedIn) {
  adapters = {"Offscreen Display", "Second Display"};
  graphics.videoWindowed = false;
  frmVideo.Show();
  ui::DoEvents();
  test::FormPixels pixels = ReadPixels(frmVideo);
  SavePng(pixels, "video");
  for (int top : {11, 41, 71, 101}) EXPECT_GT(pixels.Dark(8, top, 78, top + 16), 10) << top;
  EXPECT_GT(pixels.Dark(84, 68, 300, 88), 20);  // the mode list's text; no size boxes there
  Choose(frmVideo, "listAdapter", 1);
  EXPECT_EQ(calls.back(), "EnumDisplayModes 1");
  Choose(frmVideo, "listDevice", 1);
  Choose(frmVideo, "listDisplayMode", 3);
  Click(frmVideo, "buttonOK");
  EXPECT_FALSE(frmVideo.IsLoaded());
  EXPECT_EQ(SettingsText(),
            "[Render]\r\nAdapter=1\r\nDevice=2\r\nWidth=1024\r\nHeight=768\r\nFormat=22\r\nRefresh=60\r\n"
            "Windowed=0\r\n");

  frmVideo.Show();
  Click(frmVideo, "checkWindow");
  pixels = ReadPixels(frmVideo);
  EXPECT_FALSE(Item(frmVideo, "listDisplayMode").visible);
  EXPECT_EQ(pixels.Dark(262, 68, 388, 88), 0);  // the hidden mode list leaves its right part empty
  Click(frmVideo, "txtboxSize", 0);
  test::TypeText(frmVideo, "1280");
  Click(frmVideo, "txtboxSize", 1);
  test::TypeText(frmVideo, "720");
  EXPECT_EQ(frmVideo.Controls("txtboxSize")[0].text, "1280");
  test::PressKey(frmVideo, SDL_SCANCODE_RETURN);  // the default button
  EXPECT_FALSE(frmVideo.IsLoaded());
  EXPECT_NE(SettingsText().find("Width=1280\r\nHeight=720\r\nFormat=22\r\nRefresh=60\r\nWindowed=-1\r\n"),
            std::string::npos)
      << SettingsText();
}

TEST_F(WindowedDialogs, InputSetAddsAHeldKeyThroughTheCaptureWindowAndRemovesALine) {
  UseRealInput();
  os::FakeClock clock;
  os::ScopedClock useClock(clock);
  controls.assign(3, Control{});
  const char16_t* names[] = {u"Walk Up", u"Action", u"Menu"};
  for (std::size_t i = 0; i < 3; ++i) controls[i].displayName = names[i];
  controls[0].slots[0].bindings = {{2, 200}};
  frmInput.Show();
  ui::DoEvents();
  test::FormPixels pixels = ReadPixels(frmInput);
  SavePng(pixels, "input_set");
  EXPECT_GT(pixels.Dark(8, 6, 100, 20), 10);     // "Walk Up"
  EXPECT_GT(pixels.Dark(8, 206, 100, 220), 10);  // "Menu"
  EXPECT_EQ(Item(frmInput, "scrollWindow").enabled, false);

  bool captured = false;
  ui::SetModalLoopHook([&](ui::Form& modal) {
    if (captured) return;
    captured = true;
    ASSERT_EQ(&modal, &frmInputButton);
    ui::DoEvents();
    test::FormPixels capture = ReadPixels(frmInputButton);
    SavePng(capture, "input_button");
    EXPECT_GT(capture.Dark(10, 8, 120, 28), 10);  // "Key / Gamepad"
    // The owner takes no click while the capture window is up.
    test::ClickAt(frmInput, 444, 379);
    EXPECT_TRUE(frmInput.IsLoaded());
    // Choose a mouse entry, then back to keys; OK waits for a capture.
    Choose(frmInputButton, "listControls", 3);
    EXPECT_FALSE(Item(frmInputButton, "txtboxButton").visible);
    EXPECT_EQ(ReadPixels(frmInputButton).Dark(8, 38, 208, 58), 0);  // the hidden text box
    Choose(frmInputButton, "listControls", 0);
    EXPECT_FALSE(Item(frmInputButton, "buttonOK").enabled);
    test::PushKey(frmInputButton, SDL_SCANCODE_A, true);
    ui::DoEvents();
    clock.Advance(50);
    ui::DoEvents();
    test::PushKey(frmInputButton, SDL_SCANCODE_A, false);
    EXPECT_EQ(Item(frmInputButton, "txtboxButton").text, "A");
    EXPECT_TRUE(Item(frmInputButton, "buttonOK").enabled);
    Click(frmInputButton, "buttonOK");
    if (modal.IsLoaded()) modal.Unload(ui::kUnloadUser);  // a failed step must not leave the pump waiting
  });
  Click(frmInput, "buttonInputAdd", 1);  // control 0, player 2
  ui::SetModalLoopHook(nullptr);
  ASSERT_TRUE(captured);
  ASSERT_EQ(controls[0].slots[1].bindings.size(), 1u);
  EXPECT_EQ(controls[0].slots[1].bindings[0].mode, 2);
  EXPECT_EQ(controls[0].slots[1].bindings[0].key, 0x1E);
  EXPECT_EQ(Item(frmInput, "listInput", 1).list, (std::vector<std::string>{"A"}));
  // "--" on player 1's selected line.
  Click(frmInput, "listInput", 0, 0);
  EXPECT_EQ(Item(frmInput, "listInput", 0).listIndex, 0);
  Click(frmInput, "buttonInputRemove", 0);
  EXPECT_TRUE(controls[0].slots[0].bindings.empty());
  Click(frmInput, "buttonOK");
  EXPECT_FALSE(frmInput.IsLoaded());
  EXPECT_TRUE(std::filesystem::is_regular_file(JoinPath(GetUserGameFolder(), kControlsFileName)));
}

TEST_F(WindowedDialogs, AVirtualControllerButtonIsCaptured) {
  // The offscreen windows never hold the keyboard focus, without which SDL drops controller presses.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  UseRealInput();
  os::FakeClock clock;
  os::ScopedClock useClock(clock);
  const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 0);
  ASSERT_GE(device, 0) << SDL_GetError();
  SDL_Joystick* joystick = SDL_JoystickOpen(device);
  ASSERT_NE(joystick, nullptr);
  frmInputButton.Show();
  ui::DoEvents();
  SDL_JoystickSetVirtualButton(joystick, 3, 1);
  clock.Advance(50);
  ui::DoEvents();
  EXPECT_EQ(frmInputButton.Mode, 8);
  EXPECT_EQ(frmInputButton.Key, 3);
  EXPECT_EQ(Item(frmInputButton, "txtboxButton").text, "Button 4");
  frmInputButton.Unload();
  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(device);
}

TEST_F(WindowedDialogs, ManyRowsScrollInsideTheirClippingArea) {
  controls.assign(30, Control{});
  for (std::size_t i = 0; i < controls.size(); ++i)
    controls[i].displayName = u"Control " + AnsiToUtf16(std::to_string(i));
  frmInput.Show();
  ui::DoEvents();
  ASSERT_TRUE(Item(frmInput, "scrollWindow").enabled);
  int x = 0, y = 0;
  EXPECT_FALSE(ui::ControlPoint(frmInput, "buttonInputAdd", 4 * 10, -1, x, y));  // row 10 is clipped away
  const test::FormPixels before = ReadPixels(frmInput);
  EXPECT_EQ(before.Dark(8, 360, 490, 374), 0);  // nothing drawn past the clipping area
  // The lower arrow, then a page below the thumb.
  test::ClickAt(frmInput, 506, 350);
  EXPECT_EQ(Item(frmInput, "scrollWindow").value, 1);
  EXPECT_EQ(Item(frmInput, "picStats").top, -1);
  test::ClickAt(frmInput, 506, 300);
  EXPECT_EQ(Item(frmInput, "scrollWindow").value, 1 + 396);
  EXPECT_EQ(Item(frmInput, "picStats").top, -397);
  ui::DoEvents();
  EXPECT_TRUE(ui::ControlPoint(frmInput, "buttonInputAdd", 4 * 4, -1, x, y));  // row 4 has come into view
  EXPECT_FALSE(ui::ControlPoint(frmInput, "buttonInputAdd", 0, -1, x, y));     // row 0 has gone
}

}  // namespace
}  // namespace kiv
