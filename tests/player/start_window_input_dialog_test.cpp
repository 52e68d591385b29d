// From the start window's "Input Options" through the input-set dialog and
// the binding capture, in real offscreen windows, to "controls.dat" written
// and the start window back with the new binding.
#include <SDL.h>
#include <gtest/gtest.h>

#include "dialogs/controls_file.h"
#include "dialogs/dialog_devices.h"
#include "dialogs/input_button_form.h"
#include "dialogs/input_form.h"
#include "media/controls_table.h"
#include "platform/os/clock.h"
#include "player/start_window_fixture.h"
#include "state/controls_block.h"
#include "support/form_driver.h"
#include "support/sample_game.h"

namespace kiv {
namespace {

using test::StartWindowTest;

TEST_F(StartWindowTest, InputOptionsAddAHeldKeyForPlayerTwoAndComeBack) {
  ui::SetWindowlessForms(false);
  startWindowDevices.Reset();  // the real devices, audio and voice
  dialogDevices.Reset();
  startWindowDevices.StartGame = [this](const std::string& path) {
    calls_.push_back("StartGame [" + path + "]");
  };
  const std::string path = dir_.File("games/Sample/DATA.kRC");
  std::filesystem::create_directories(dir_.File("games/Sample"));
  test::SampleGamePackage().WriteTo(path);
  ASSERT_TRUE(frmStart.Initialize(path));
  frmStart.Show();
  ASSERT_TRUE(frmStart.IsLoaded());
  // The user's own bindings from an earlier visit: two controls.
  controls.assign(2, Control{});
  controls[0].name = controls[0].displayName = u"Jump";
  controls[1].name = controls[1].displayName = u"Fire";
  controls[0].slots[0].bindings = {{2, 57}};
  SaveControlsFile(kControlsFileName);
  frmStart.Unload();
  frmStart.Show();
  ASSERT_EQ(controls.size(), 2u);

  os::FakeClock clock;
  os::ScopedClock useClock(clock);
  test::Click(frmStart, "buttonAction", 5);
  ASSERT_FALSE(frmStart.IsLoaded());
  ASSERT_TRUE(frmInput.IsLoaded());
  ASSERT_NE(frmInput.WindowHandle(), nullptr);

  bool captured = false;
  ui::SetModalLoopHook([&](ui::Form& modal) {
    if (captured) return;
    captured = true;
    ASSERT_EQ(&modal, &frmInputButton);
    ui::DoEvents();
    test::PushKey(frmInputButton, SDL_SCANCODE_A, true);
    ui::DoEvents();
    clock.Advance(50);
    ui::DoEvents();
    test::PushKey(frmInputButton, SDL_SCANCODE_A, false);
    test::Click(frmInputButton, "buttonOK");
    if (modal.IsLoaded()) modal.Unload(ui::kUnloadUser);  // a failed step must not leave the pump waiting
  });
  test::Click(frmInput, "buttonInputAdd", 1);  // "+" of player 2 in the first row
  ui::SetModalLoopHook(nullptr);
  ASSERT_TRUE(captured);
  EXPECT_EQ(frmInput.Controls("listInput").Item(1).list, (std::vector<std::string>{"A"}));
  EXPECT_TRUE(frmInput.Dirty);

  test::Click(frmInput, "buttonOK");
  EXPECT_FALSE(frmInput.IsLoaded());
  // The start window is back and has read the file again.
  ASSERT_TRUE(frmStart.IsLoaded());
  EXPECT_TRUE(frmStart.IsVisible());
  ASSERT_EQ(controls.size(), 2u);
  ASSERT_EQ(controls[0].slots[1].bindings.size(), 1u);
  EXPECT_EQ(controls[0].slots[1].bindings[0].mode, 2);
  EXPECT_EQ(controls[0].slots[1].bindings[0].key, 0x1E);
  EXPECT_EQ(controls[0].slots[0].bindings.size(), 1u);
  const ByteList bytes = test::ReadTestFile(JoinPath(GetUserGameFolder(), kControlsFileName));
  EXPECT_EQ(ReadControlsKey(bytes), controlsStamp);
  ShutdownDevices();
}

}  // namespace
}  // namespace kiv
