// What the shell installs for the libraries below it answers from the shell's state.
#include <gtest/gtest.h>

#include "core/hooks.h"
#include "data/data_hooks.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/message_boxes.h"
#include "player/player_install.h"
#include "player/shell_state.h"
#include "script/script_hooks.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "state/state_hooks.h"

namespace kiv {
namespace {

class PlayerInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallPlayerHooks();
    shell.Reset();
    ui::SetMessageBoxRecorder([this](const std::string& caption, const std::string& text, ui::BoxIcon icon) {
      boxes.push_back(caption + "|" + text + "|" + std::to_string(static_cast<int>(icon)));
    });
  }
  void TearDown() override {
    ui::SetMessageBoxRecorder(nullptr);
    SetMessageBoxHook(nullptr);
    dataHooks.Reset();
    stateHooks.Reset();
    scriptHooks.Reset();
    graphicsHooks.Reset();
    shell.Reset();
    projectState.Reset();
    storedProjectSettings.Reset();
    messageBoxState = 0;
    gameState.Reset();
  }
  std::vector<std::string> boxes;
};

TEST_F(PlayerInstallTest, ClockQuitAndTickBaseAreTheShells) {
  os::FakeClock clock(4242);
  os::ScopedClock scope(clock);
  EXPECT_EQ(scriptHooks.TickCount(), 4242u);
  dataHooks.RestartTickBase();
  EXPECT_EQ(shell.tickBase, 4242u);
  clock.Advance(8);
  stateHooks.ResetTickBase();
  EXPECT_EQ(shell.tickBase, 4250u);

  EXPECT_FALSE(dataHooks.QuitRequested());
  EXPECT_FALSE(graphicsHooks.quitRequest());
  shell.quitRequest = true;
  EXPECT_TRUE(dataHooks.QuitRequested());
  EXPECT_TRUE(graphicsHooks.quitRequest());
}

TEST_F(PlayerInstallTest, TheGameDataResetResetsTheShellsPart) {
  os::FakeClock clock(777);
  os::ScopedClock scope(clock);
  shell.tickBase = 5;
  shell.pendingSlotLoad = 3;
  gameState.paused = 1;
  messageBoxState = 19;
  dataHooks.ResetShellState();
  EXPECT_EQ(shell.tickBase, 777u);
  EXPECT_EQ(shell.pendingSlotLoad, -1);
  EXPECT_EQ(gameState.paused, 0);
  EXPECT_EQ(messageBoxState, 0);
}

TEST_F(PlayerInstallTest, CurrentPlayerAndItsMap) {
  projectState.players.resize(2);
  projectState.players[1].mapIndex = 4;
  EXPECT_EQ(scriptHooks.CurrentPlayer(), 0);
  EXPECT_EQ(dataHooks.ActivePlayerMap(), -1);
  shell.currentPlayer = 1;
  EXPECT_EQ(scriptHooks.CurrentPlayer(), 1);
  EXPECT_EQ(dataHooks.ActivePlayerMap(), 4);
  shell.currentPlayer = 7;  // no such player
  EXPECT_EQ(dataHooks.ActivePlayerMap(), -1);
}

TEST_F(PlayerInstallTest, ProjectFlagsReachTheGraphicsCode) {
  storedProjectSettings.captureMouse = -1;
  storedProjectSettings.inputPointerFlag = 0;
  EXPECT_TRUE(graphicsHooks.captureMouseInWindow());
  EXPECT_FALSE(graphicsHooks.pickByColor());
  storedProjectSettings.captureMouse = 0;
  storedProjectSettings.inputPointerFlag = -1;
  EXPECT_FALSE(graphicsHooks.captureMouseInWindow());
  EXPECT_TRUE(graphicsHooks.pickByColor());
}

TEST_F(PlayerInstallTest, BoxesOfTheLowerLibrariesAreTheFormsBoxes) {
  ShowGraphicsBox("No device.", "DirectX Error", BoxIcon::kCritical);
  ShowGraphicsBox("Switched.", "Note", BoxIcon::kInformation);
  ShowErrorBox("Script Error", "Bad token.");
  EXPECT_EQ(boxes, (std::vector<std::string>{"DirectX Error|No device.|0", "Note|Switched.|2",
                                             "Script Error|Bad token.|0"}));
}

}  // namespace
}  // namespace kiv
