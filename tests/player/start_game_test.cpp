// One game in the game window on the sample package: device start-up, the
// start-game sequence, the main loop on a fake clock and the tear-down, after
// which the start window is back.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>

#include "core/error.h"
#include "core/log.h"
#include "core/symbol_table.h"
#include "core/package.h"
#include "data/data_hooks.h"
#include "data/game_data_reset.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "platform/audio/mixer.h"
#include "platform/os/clock.h"
#include "player/game_window.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "runtime/runtime_startup.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"
#include "player/start_window_fixture.h"

namespace kiv::test {
namespace {

const std::vector<std::string> kFixedLines = {
    "Finished starting game.", "Loading remaining resources.", "Updating DirectX.", "Starting game.",
    "Starting game loop.",     "Ending game loop.",            "Terminating all resources.",
    "Terminating data.",       "Terminating DirectX.",         "Fixing window.",
    "Unloading.",              "Unloading window finally.",    "Closing log."};

class StartGameTest : public StartWindowTest {
 protected:
  void SetUp() override {
    StartWindowTest::SetUp();
    RuntimeStartUp();
    // Ticks of the loading screen are not the game's.
    playerHooks.WorldUpdate = [this] {
      if (shell.loadingTick) return;
      if (++ticks == 3) shell.quitRequest = true;
    };
    loopPlatform.DoEvents = [this] {
      ++iterations;
      ui::DoEvents();
    };
    loopPlatform.GameWindowInFront = [] { return true; };
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    ASSERT_EQ(InputCreateDirectInput(), 0);

    PackageWriter sample = SampleGamePackage();
    const std::string folder = dir_.File("games/Quest");
    std::filesystem::create_directories(folder);
    sample.WriteTo(folder + "/DATA.kRC");
    SymbolTableReset();  // the fixture writers intern names; the game data starts from an empty table
    ASSERT_TRUE(frmStart.Initialize(folder + "/DATA.kRC"));
    frmStart.Show();
    ASSERT_TRUE(frmStart.IsLoaded()) << (boxes_.empty() ? "" : boxes_.front());
    frmStart.Unload();  // as button 0 does before the game starts
  }
  void TearDown() override {
    if (frmMain.IsLoaded()) frmMain.Unload();
    loopPlatform.Reset();
    playerHooks.Reset();
    dataHooks.Reset();
    stateHooks.Reset();
    scriptHooks.Reset();
    triggerHooks.Reset();
    inputDevices.Reset();
    graphics.Reset();
    audio::SetConfig(audio::kConfigGlobalSampleVolume, 10000);
    audio::SetConfig(audio::kConfigGlobalStreamVolume, 10000);
    audio::SetConfig(audio::kConfigGlobalMusicVolume, 10000);
    StartWindowTest::TearDown();
  }

  std::vector<std::string> LogLines() {
    const ByteList bytes = ReadTestFile(UserFolder() + "/log.txt");
    std::vector<std::string> lines;
    std::string text(bytes.begin(), bytes.end());
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
  // The fixed lines of the sequence, in the order the log holds them.
  std::vector<std::string> FixedLines() {
    std::vector<std::string> fixed;
    for (const std::string& line : LogLines()) {
      if (std::find(kFixedLines.begin(), kFixedLines.end(), line) != kFixedLines.end()) fixed.push_back(line);
    }
    return fixed;
  }

  os::FakeClock clock{50000};
  int ticks = 0;
  int iterations = 0;
};

TEST_F(StartGameTest, ANewGameRunsTheLoopAndTearsDownWithTheFixedLinesThenTheStartWindowIsBack) {
  playerSettings.soundVolume = 40;
  os::ScopedClock scope(clock);
  frmMain.Start("");
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(FixedLines(), kFixedLines) << ::testing::PrintToString(LogLines()) << ::testing::PrintToString(boxes_);
  EXPECT_TRUE(frmStart.IsLoaded());
  EXPECT_FALSE(frmMain.IsLoaded());
  EXPECT_EQ(gameFolderName, "Quest");
  EXPECT_EQ(frmMain.caption, "Quest");
  for (int option : {4, 5, 6}) EXPECT_EQ(audio::GetConfig(option), 4000);
  EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

TEST_F(StartGameTest, AMissingOrDamagedSaveRunsNoTick) {
  WriteTestFile(dir_.File("damaged.kSV"), std::string("not a save at all"));
  for (const std::string& save : {dir_.File("missing.kSV"), dir_.File("damaged.kSV")}) {
    SCOPED_TRACE(save);
    ticks = 0;
    iterations = 0;
    if (frmStart.IsLoaded()) frmStart.Unload();
    os::ScopedClock scope(clock);
    frmMain.Start(save);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(frmStart.IsLoaded());
    const auto fixed = FixedLines();
    EXPECT_NE(std::find(fixed.begin(), fixed.end(), "Ending game loop."), fixed.end());
  }
}

TEST_F(StartGameTest, ClosingTheWindowWhileTheFirstLoadRunsShowsNoBox) {
  playerHooks.RefreshViewedMaps = [](bool force) {
    if (!force) return;
    int cancel = 0;
    frmMain.Form_QueryUnload(cancel, ui::kUnloadUser);
    EXPECT_NE(cancel, 0);
  };
  os::ScopedClock scope(clock);
  frmMain.Start("");
  EXPECT_EQ(ticks, 0);
  EXPECT_TRUE(boxes_.empty());
  const auto fixed = FixedLines();
  EXPECT_EQ(fixed, (std::vector<std::string>{"Terminating data.", "Terminating DirectX.", "Fixing window.",
                                             "Unloading.", "Unloading window finally.", "Closing log."}));
  EXPECT_TRUE(frmStart.IsLoaded());
}

TEST_F(StartGameTest, AFailingStartUpStepShowsTheStateErrorWithItsNumberAndMessage) {
  playerHooks.InitMessageBoxes = [](bool) { RaiseError(-1, "No message boxes."); };
  os::ScopedClock scope(clock);
  frmMain.Start("");
  EXPECT_EQ(ticks, 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "State Error|Cannot load game information from file:\nError -1: No message boxes.");
  EXPECT_TRUE(frmStart.IsLoaded());
}

TEST_F(StartGameTest, ResourceGroupsLoadedBeforeAnEarlyStopAreUnloaded) {
  std::vector<std::int32_t> unloaded;
  playerHooks.InitResources = [](std::int32_t groups) {
    shell.loadedGroups |= static_cast<std::uint32_t>(groups);
    return 0;
  };
  playerHooks.UnloadResources = [&unloaded](std::int32_t groups) {
    unloaded.push_back(groups);
    shell.loadedGroups = 0;
  };
  playerHooks.InitMessageBoxes = [](bool) { RaiseError(-1, "No message boxes."); };
  os::ScopedClock scope(clock);
  frmMain.Start("");
  EXPECT_EQ(unloaded, std::vector<std::int32_t>{1});
  EXPECT_EQ(shell.loadedGroups, 0u);
}

TEST_F(StartGameTest, WithoutResolutionChangeTheGameWindowCannotBeResized) {
  for (const bool allowed : {true, false}) {
    SCOPED_TRACE(allowed);
    if (frmStart.IsLoaded()) frmStart.Unload();
    ticks = 0;
    playerSettings.resolutionChangeAllowed = allowed;
    std::uint32_t flags = 0;
    bool shown = false;
    playerHooks.WorldUpdate = [&] {
      if (shell.loadingTick) return;
      flags = SDL_GetWindowFlags(frmMain.WindowHandle());
      shown = frmMain.IsVisible();
      shell.quitRequest = true;
    };
    os::ScopedClock scope(clock);
    frmMain.Start("");
    EXPECT_TRUE(shown);
    EXPECT_EQ((flags & SDL_WINDOW_RESIZABLE) != 0, allowed);
  }
}

}  // namespace
}  // namespace kiv::test
