#pragma once
// The main loop on a fake clock with a scripted window system: each
// iteration's DoEvents runs the test's step for that iteration; the world
// update records the ticks; boxes and the log are captured.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/log.h"
#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/player_input_state.h"
#include "platform/gfx/d3d_types.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "state/project_settings_block.h"
#include "support/temp_dir.h"

namespace kiv::test {

struct RecordedBox {
  std::string caption, text;
  ui::BoxIcon icon;
};

class LoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
    gameFolder = temp.File("games/LoopGame");
    gameFolderName = "LoopGame";
    shell.Reset();
    playerHooks.Reset();
    loopPlatform.Reset();
    graphics.Reset();
    inputDevices.Reset();
    playerInputStates[0] = PlayerInputState{};
    storedProjectSettings.Reset();
    storedProjectSettings.frameRateLimit = 0;
    storedProjectSettings.pauseWhenInactive = 0;
    gameData.gameSpeed = 1.0f;
    playerSettings.Reset();
    graphics.videoWidth = 640;
    graphics.videoHeight = 480;
    graphics.videoWindowed = true;

    loopPlatform.DoEvents = [this] {
      const std::size_t i = iteration++;
      if (i >= stopAfter) {
        shell.quitRequest = true;
        return;
      }
      if (i < steps.size() && steps[i]) steps[i]();
    };
    loopPlatform.DeviceExists = [] { return true; };
    loopPlatform.TestCooperativeLevel = [this] { return cooperativeLevel; };
    loopPlatform.ResetDevice = [this] {
      ++resets;
      if (resetResults.empty()) return true;
      const bool result = resetResults.front();
      resetResults.erase(resetResults.begin());
      return result;
    };
    loopPlatform.GameWindowInFront = [this] { return inFront; };
    loopPlatform.GameWindowMinimised = [this] { return minimised; };
    loopPlatform.ClientSize = [this](std::int32_t& w, std::int32_t& h) {
      w = clientWidth;
      h = clientHeight;
    };
    loopPlatform.CursorClientPosition = [this](std::int32_t& x, std::int32_t& y) {
      x = cursorX;
      y = cursorY;
    };
    loopPlatform.ShowSystemCursor = [this](bool show) { cursorShown.push_back(show); };
    loopPlatform.AudioStart = [this] { ++audioStarts; };
    loopPlatform.AudioPause = [this] { ++audioPauses; };
    loopPlatform.AudioUpdate = [this](std::int32_t ms) { audioUpdates.push_back(ms); };
    playerHooks.WorldUpdate = [this] { ticks.push_back(shell.worldStepTime); };
    ui::SetMessageBoxRecorder([this](const std::string& caption, const std::string& text, ui::BoxIcon icon) {
      boxes.push_back({caption, text, icon});
    });
    LogOpen(temp.File("log.txt"));
  }

  void TearDown() override {
    LogClose();
    ui::SetMessageBoxRecorder(nullptr);
    loopPlatform.Reset();
    playerHooks.Reset();
    shell.Reset();
    graphics.Reset();
    inputDevices.Reset();
    storedProjectSettings.Reset();
    playerSettings.Reset();
    gameData.gameSpeed = 1.0f;
  }

  // Runs the loop for that many iterations; the events of the next one ask to quit.
  void Run(std::size_t iterations) {
    stopAfter = iterations;
    os::ScopedClock scope(clock);
    MainLoop();
  }

  // Every iteration's events advance the clock by ms (the loop's own Sleep(1) adds one).
  void EveryIteration(std::size_t count, const std::function<void()>& step) {
    steps.assign(count, step);
  }

  std::vector<std::string> LogLines() {
    LogClose();
    const ByteList bytes = ReadTestFile(temp.File("log.txt"));
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        lines.push_back(line);
        line.clear();
        ++i;
      } else {
        line += static_cast<char>(bytes[i]);
      }
    }
    return lines;
  }

  TempDir temp;
  os::FakeClock clock{10000};
  std::vector<std::function<void()>> steps;
  std::size_t iteration = 0;
  std::size_t stopAfter = 1;
  gfx::HResult cooperativeLevel = gfx::kOk;
  int resets = 0;
  std::vector<bool> resetResults;
  bool inFront = true;
  bool minimised = false;
  std::int32_t clientWidth = 640;
  std::int32_t clientHeight = 480;
  std::int32_t cursorX = 0;
  std::int32_t cursorY = 0;
  std::vector<bool> cursorShown;
  int audioStarts = 0;
  int audioPauses = 0;
  std::vector<std::int32_t> audioUpdates;
  std::vector<std::int32_t> ticks;
  std::vector<RecordedBox> boxes;
};

}  // namespace kiv::test
