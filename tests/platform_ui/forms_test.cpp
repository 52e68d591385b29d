#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "platform_ui/recording_form.h"

namespace kiv::ui {
namespace {

using test::RecordingForm;

class WindowlessForms : public ::testing::Test {
 protected:
  void SetUp() override { SetWindowlessForms(true); }
  void TearDown() override { SetWindowlessForms(false); }
};

TEST_F(WindowlessForms, ShowLoadsOnceActivatesAndUnloadAsksFirst) {
  RecordingForm form;
  form.Show();
  form.Show();  // already the active form: nothing more
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_TRUE(form.IsVisible());
  EXPECT_TRUE(AnyFormLoaded());
  form.refuseUserClose = true;
  EXPECT_FALSE(form.Unload(kUnloadUser));
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_TRUE(form.Unload());
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(AnyFormLoaded());
  EXPECT_TRUE(form.Unload());  // unloading an unloaded form does nothing
  EXPECT_EQ(form.calls,
            (std::vector<std::string>{"Load", "Activate", "QueryUnload 0", "QueryUnload 1", "Unload"}));
}

TEST_F(WindowlessForms, HideThenShowActivatesAgainAndControlsAreFoundByName) {
  RecordingForm form;
  form.Show();
  form.Hide();
  EXPECT_FALSE(form.IsVisible());
  form.Show();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"Load", "Activate", "Activate"}));
  EXPECT_EQ(form.Controls("buttonTest")[1].caption, "Button 1");
  EXPECT_ANY_THROW(form.Controls("buttonMissing"));
  EXPECT_ANY_THROW(form.Controls("buttonTest")[3]);
  form.Unload();
}

TEST_F(WindowlessForms, TimersTickOnThePlatformClockWhileRunning) {
  os::FakeClock clock;
  os::ScopedClock useClock(clock);
  RecordingForm form;
  Control& timer = form.AddControlArray("tmrPoll", ControlKind::Timer, 1)[0];
  timer.interval = 50;
  form.Show();
  form.calls.clear();
  DoEvents();  // the interval starts
  clock.Advance(49);
  DoEvents();
  EXPECT_TRUE(form.calls.empty());
  clock.Advance(1);
  DoEvents();
  clock.Advance(30);
  DoEvents();
  clock.Advance(20);
  DoEvents();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"Timer tmrPoll 0", "Timer tmrPoll 0"}));
  // Stopped, it does not tick; running again, its interval starts anew.
  form.calls.clear();
  form.Controls("tmrPoll")[0].enabled = false;
  clock.Advance(100);
  DoEvents();
  form.Controls("tmrPoll")[0].enabled = true;
  DoEvents();
  clock.Advance(49);
  DoEvents();
  EXPECT_TRUE(form.calls.empty());
  form.Unload();
  clock.Advance(100);
  DoEvents();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"QueryUnload 1", "Unload"}));
}

TEST_F(WindowlessForms, AModalFormRunsItsOwnPumpUntilItUnloads) {
  RecordingForm owner, modal;
  owner.Show();
  int rounds = 0;
  SetModalLoopHook([&](Form& shown) {
    EXPECT_EQ(&shown, &modal);
    EXPECT_EQ(shown.Owner(), &owner);
    if (++rounds == 3) shown.Unload();
  });
  modal.ShowModal(owner);
  EXPECT_EQ(rounds, 3);
  EXPECT_FALSE(modal.IsLoaded());
  EXPECT_EQ(modal.Owner(), nullptr);
  // Without windows and without a hook no one could act: the form is closed at once.
  SetModalLoopHook(nullptr);
  modal.calls.clear();
  modal.ShowModal(owner);
  EXPECT_FALSE(modal.IsLoaded());
  EXPECT_EQ(modal.calls, (std::vector<std::string>{"Load", "Activate", "QueryUnload 0", "Unload"}));
  owner.Unload();
}

TEST(MessageBoxes, RecorderTakesTheBoxesWithTheirIcons) {
  std::vector<std::string> seen;
  SetMessageBoxRecorder([&](const std::string& caption, const std::string& text, BoxIcon icon) {
    seen.push_back(caption + "|" + text + "|" + std::to_string(static_cast<int>(icon)));
  });
  ShowMessageBox("Resource File Error", "Could not load", BoxIcon::Error);
  ShowMessageBox("Note", "Saved", BoxIcon::Information);
  ShowMessageBox("Careful", "Hm", BoxIcon::Warning);
  ShowErrorMessageBox("Error", "utf-8 \xE2\x82\xAC");  // the launcher's UTF-8 box arrives as Windows-1252
  SetMessageBoxRecorder(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"Resource File Error|Could not load|0", "Note|Saved|2",
                                            "Careful|Hm|1", "Error|utf-8 \x80|0"}));
}

TEST(MessageBoxes, WithoutADisplayTheBoxIsOneLineOnStandardError) {
  ::testing::internal::CaptureStderr();
  ShowMessageBox("State Error", "Cannot load game information from file:\r\nbad", BoxIcon::Error);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "State Error: Cannot load game information from file: bad\n");
}

TEST(OpenUrl, RecorderReceivesTheAddress) {
  std::string opened;
  SetOpenUrlRecorder([&](const std::string& url) { opened = url; });
  OpenUrl("https://example.invalid/client/game.php?i=7");
  SetOpenUrlRecorder(nullptr);
  EXPECT_EQ(opened, "https://example.invalid/client/game.php?i=7");
}

}  // namespace
}  // namespace kiv::ui
