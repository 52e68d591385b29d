// The main loop on a fake clock with injected input: tick measurement, cap and
// game speed, pauses, resizes, Alt+Return, the pointer, slot loads and the
// loop error report.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "core/error.h"
#include "player/loop_fixture.h"

namespace kiv::test {
namespace {

TEST_F(LoopTest, TicksAreCappedByTheFrameRateLimitThenScaledByTheGameSpeed) {
  struct Case {
    std::int32_t frame;  // clock milliseconds per iteration
    std::int32_t limit;
    float speed;
    std::int32_t world;  // what the world update sees
    std::int32_t audio;  // twice the capped, unscaled tick
  };
  const Case cases[] = {
      {100, 30, 1.0f, 33, 66},  {100, 0, 1.0f, 100, 200}, {33, 0, 0.5f, 16, 66},
      {35, 0, 0.5f, 18, 70},    {33, 0, 2.0f, 66, 66},    {100, 30, 2.0f, 66, 66},
      {16, 60, 1.0f, 16, 32},
      // Above 1000 frames per second the cap stays one millisecond.
      {16, 2000, 1.0f, 1, 2},   {16, 1001, 1.0f, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frame << " ms, limit " << c.limit << ", speed " << c.speed);
    ticks.clear();
    audioUpdates.clear();
    iteration = 0;
    shell.quitRequest = false;
    storedProjectSettings.frameRateLimit = c.limit;
    gameData.gameSpeed = c.speed;
    // The loop's Sleep(1) is one millisecond of each frame.
    EveryIteration(3, [this, &c] { clock.Advance(static_cast<std::uint32_t>(c.frame - 1)); });
    Run(3);
    EXPECT_EQ(ticks, (std::vector<std::int32_t>{c.world, c.world, c.world}));
    EXPECT_EQ(audioUpdates, (std::vector<std::int32_t>{c.audio, c.audio, c.audio}));
  }
}

TEST_F(LoopTest, ANegativeTickSleepsZeroAndMeasuresAgain) {
  steps = {[this] { clock.Advance(15); },
           [this] { shell.tickBase = clock.TickCount() + 50; },  // the base lies ahead of the clock
           [this] { clock.Advance(15); }};
  const std::uint64_t sleepsBefore = clock.SleepCalls();
  Run(3);
  EXPECT_EQ(ticks, (std::vector<std::int32_t>{16, 0, 16}));
  // One Sleep(1) in each of the four iterations (the last one quits) and one
  // Sleep(0) for the negative measurement.
  EXPECT_EQ(clock.SleepCalls() - sleepsBefore, 5u);
}

TEST_F(LoopTest, QuitEndsTheLoopWithItsLogLines) {
  EveryIteration(2, [this] { clock.Advance(15); });
  Run(2);
  EXPECT_EQ(ticks.size(), 2u);  // the quit set in the third iteration's events ends it there
  const auto lines = LogLines();
  EXPECT_EQ(lines, (std::vector<std::string>{"Starting game loop.", "Ending game loop."}));
}

TEST_F(LoopTest, ALostDeviceEndsTheLoop) {
  loopPlatform.DeviceExists = [] { return false; };
  Run(5);
  EXPECT_TRUE(ticks.empty());
  EXPECT_EQ(iteration, 1u);
}

TEST_F(LoopTest, ADeviceNeedingAResetIsResetAndTheIterationRestarts) {
  steps = {[this] { cooperativeLevel = gfx::kErrDeviceNotReset; }, [this] { cooperativeLevel = gfx::kOk; }};
  Run(3);
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(LoopTest, InTheBackgroundPauseWhenInactiveStopsAudioAndWorldAndTheFirstTickAfterIsShort) {
  struct Case {
    std::int16_t pauseWhenInactive;
    std::vector<std::int32_t> ticks;
    int pauses;
  };
  const Case cases[] = {
      {-1, {10, 10}, 3},                 // three background iterations skipped; back with a short tick
      {0, {10, 5010, 5010, 5010, 10}, 0},  // play goes on in the background
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pauseWhenInactive);
    ticks.clear();
    iteration = 0;
    audioPauses = 0;
    shell.quitRequest = false;
    storedProjectSettings.pauseWhenInactive = c.pauseWhenInactive;
    auto normal = [this] {
      inFront = true;
      clock.Advance(9);
    };
    auto away = [this] {
      inFront = false;
      clock.Advance(5009);
    };
    steps = {normal, away, away, away, normal};
    Run(5);
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_EQ(audioPauses, c.pauses);
  }
}

TEST_F(LoopTest, ABackBufferOfNoSizePausesWithPauseWhenInactive) {
  storedProjectSettings.pauseWhenInactive = -1;
  graphics.videoWindowed = false;
  graphics.videoWidth = 0;
  graphics.videoHeight = 0;
  Run(2);
  EXPECT_TRUE(ticks.empty());
  EXPECT_EQ(audioPauses, 2);
}

TEST_F(LoopTest, TheWindowSizeIsFollowedButNotWhenMinimisedAndAZeroAreaRestarts) {
  struct Case {
    std::int32_t width, height;
    bool minimised;
    std::int32_t videoWidth;
    int resets;
    std::size_t ticks;
    int refreshes;
  };
  const Case cases[] = {
      {800, 600, false, 800, 1, 1, 1},
      {800, 600, true, 640, 0, 1, 0},
      {0, 480, false, 640, 0, 0, 0},
      {640, 480, false, 640, 0, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.minimised ? " minimised" : ""));
    ticks.clear();
    iteration = 0;
    resets = 0;
    shell.quitRequest = false;
    graphics.videoWidth = 640;
    graphics.videoHeight = 480;
    clientWidth = c.width;
    clientHeight = c.height;
    minimised = c.minimised;
    int refreshes = 0;
    playerHooks.RefreshViewedMaps = [&refreshes](bool force) {
      EXPECT_FALSE(force);
      ++refreshes;
    };
    Run(1);
    EXPECT_EQ(graphics.videoWidth, c.videoWidth);
    EXPECT_EQ(resets, c.resets);
    EXPECT_EQ(ticks.size(), c.ticks);
    EXPECT_EQ(refreshes, c.refreshes);
  }
}

TEST_F(LoopTest, LeftAltReturnSwitchesOnceWhenHeldAndOnlyWhenAllowed) {
  constexpr std::uint8_t kLeftAlt = 56, kRightAlt = 184, kReturn = 28;
  struct Case {
    bool allowed;
    std::uint8_t alt;
    int switches;
  };
  const Case cases[] = {{true, kLeftAlt, 1}, {false, kLeftAlt, 0}, {true, kRightAlt, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.allowed << " key " << int{c.alt});
    iteration = 0;
    resets = 0;
    shell.quitRequest = false;
    inputDevices.Reset();
    graphics.videoWindowed = false;  // from full screen to a window
    playerSettings.fullscreenChangeAllowed = c.allowed;
    // Both keys held over five iterations.
    EveryIteration(5, [&c] {
      inputDevices.keyboardState[c.alt] = 0x80;
      inputDevices.keyboardState[kReturn] = 0x80;
    });
    Run(5);
    EXPECT_EQ(resets, c.switches);
    EXPECT_EQ(graphics.videoWindowed, c.switches == 1);
    if (c.switches == 1) {
      EXPECT_EQ(graphics.presentParameters.windowed, 1);
      EXPECT_EQ(graphics.presentParameters.swapEffect, 1u);
      EXPECT_EQ(graphics.presentParameters.backBufferWidth, 0u);
    }
  }
}

TEST_F(LoopTest, AFailedSwitchIsReportedAndUndoneAndAFailedUndoEndsTheLoop) {
  ASSERT_EQ(GraphicsCreateDirectX(), 0);
  ASSERT_EQ(GraphicsCreateDirect3D(), 0);
  graphics.videoWindowed = false;
  steps = {[] {
    inputDevices.keyboardState[56] = 0x80;
    inputDevices.keyboardState[28] = 0x80;
  }};
  resetResults = {false, true};  // to a window fails, back to full screen works
  Run(2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Change Resolution Error");
  EXPECT_EQ(boxes[0].text, "Could not change resolution.  The video settings might not be appropriately set.");
  EXPECT_EQ(boxes[0].icon, ui::BoxIcon::Information);
  EXPECT_FALSE(graphics.videoWindowed);
  EXPECT_EQ(graphics.presentParameters.windowed, 0);

  // Both directions fail: the loop ends as after an error.
  boxes.clear();
  iteration = 0;
  shell.quitRequest = false;
  inputDevices.Reset();
  resetResults = {false, false};
  Run(5);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].caption, "Critical Error #-1");
  EXPECT_EQ(iteration, 1u);
  EXPECT_EQ(LogLines().back(), "Loop error #-1 while performing: Special Keys (0).");
}

TEST_F(LoopTest, ACapturedPointerMovesByTheDeltasClamped) {
  struct Case {
    std::int16_t captureMouse;
    bool windowed;
  };
  for (const Case& c : {Case{-1, true}, Case{0, false}}) {
    SCOPED_TRACE(c.captureMouse);
    iteration = 0;
    shell.quitRequest = false;
    storedProjectSettings.captureMouse = c.captureMouse;
    graphics.videoWindowed = c.windowed;
    playerInputStates[0].cursorX = 100;
    playerInputStates[0].cursorY = 100;
    std::vector<std::pair<std::int32_t, std::int32_t>> seen;
    playerHooks.WorldUpdate = [&seen] { seen.push_back({playerInputStates[0].cursorX, playerInputStates[0].cursorY}); };
    const std::pair<std::int32_t, std::int32_t> moves[] = {{30, -20}, {-500, 9999}, {10000, -1}};
    for (std::size_t i = 0; i < 3; ++i) {
      steps.push_back([&moves, i] {
        inputDevices.mouseState.x = moves[i].first;
        inputDevices.mouseState.y = moves[i].second;
      });
    }
    Run(3);
    steps.clear();
    EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{{130, 80}, {0, 479}, {639, 478}}));
    EXPECT_TRUE(cursorShown.empty());
  }
}

TEST_F(LoopTest, AFreePointerFollowsTheSystemCursorOnlyWhileTheGameWindowIsInFront) {
  struct Case {
    bool front;
    std::int32_t x, y;
    std::int32_t sprite;
    std::int32_t pointerX, pointerY;
    bool shown;
  };
  const Case cases[] = {
      {true, 10, 20, -1, 10, 20, true},    // over the client area without a cursor sprite
      {true, 10, 20, 4, 10, 20, false},    // with a sprite the system cursor hides
      {true, -5, 700, 4, 0, 479, true},    // outside: clamped, always shown
      {true, 640, 10, 4, 639, 10, true},   // the right edge is outside
      {false, 10, 20, 4, 300, 200, true},  // another window in front: unchanged, shown
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.front << " " << c.x << "," << c.y << " sprite " << c.sprite);
    iteration = 0;
    shell.quitRequest = false;
    cursorShown.clear();
    inFront = c.front;
    cursorX = c.x;
    cursorY = c.y;
    playerInputStates[0].cursorSprite = c.sprite;
    playerInputStates[0].cursorX = 300;
    playerInputStates[0].cursorY = 200;
    Run(1);
    EXPECT_EQ(playerInputStates[0].cursorX, c.pointerX);
    EXPECT_EQ(playerInputStates[0].cursorY, c.pointerY);
    EXPECT_EQ(cursorShown, std::vector<bool>{c.shown});
  }
}

TEST_F(LoopTest, PointerUpdateRunsAfterThePickFlagIsClearedAndButtonsAreTaken) {
  std::vector<std::int16_t> buttons;
  playerHooks.UpdatePointer = [&buttons](std::int32_t player, std::int32_t mode) {
    EXPECT_EQ(player, 0);
    EXPECT_EQ(mode, 0);
    EXPECT_FALSE(shell.pickRendered);
    EXPECT_FALSE(playerInputStates[0].pickColorValid);
    buttons.push_back(playerInputStates[0].mouseButtons[1]);
    buttons.push_back(playerInputStates[0].previousMouseButtons[1]);
    shell.pickRendered = true;
    playerInputStates[0].pickColorValid = true;
  };
  steps = {[] { inputDevices.mouseState.buttons[1] = 0x80; }, [] { inputDevices.mouseState.buttons[1] = 0; }};
  Run(2);
  // Current and previous state of button 1 in each iteration.
  EXPECT_EQ(buttons, (std::vector<std::int16_t>{-1, 0, 0, -1}));
}

TEST_F(LoopTest, ErrorsEscapingAStepEndTheLoopWithTheReport) {
  struct Case {
    std::function<void()> raise;
    std::int32_t number;
    std::string caption;
  };
  const Case cases[] = {
      {[] { RaiseError(9, "Subscript out of range"); }, 9, "Critical Error #9"},
      {[] { RaiseError(453, "Entry point not found"); }, 453, "DLL Error"},
      {[] { throw std::out_of_range("vector"); }, 9, "Critical Error #9"},
      {[] { throw std::bad_alloc(); }, 7, "Critical Error #7"},
      {[] { throw std::overflow_error("too big"); }, 6, "Critical Error #6"},
      {[] { throw std::domain_error("divide by zero"); }, 11, "Critical Error #11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    boxes.clear();
    iteration = 0;
    shell.quitRequest = false;
    LogOpen(temp.File("log.txt"));
    playerHooks.WorldUpdate = [&c] {
      gameData.currentActivity = "Character System";
      shell.activityStep = 12;
      c.raise();
    };
    Run(5);
    EXPECT_EQ(iteration, 1u);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Loop error #" + std::to_string(c.number) + " while performing: Character System (12).");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, c.caption);
    if (c.number == 453) {
      EXPECT_EQ(boxes[0].icon, ui::BoxIcon::Warning);
      EXPECT_TRUE(boxes[0].text.ends_with("\n\nYou may save your map without any data loss."));
    } else {
      EXPECT_EQ(boxes[0].icon, ui::BoxIcon::Error);
      EXPECT_TRUE(boxes[0].text.ends_with("\n\nSaving your map may lead to data loss."));
    }
  }
}

TEST_F(LoopTest, ARestartRequestIsPerformedAfterTheWorldUpdate) {
  std::vector<std::string> order;
  playerHooks.WorldUpdate = [&order] {
    order.push_back("world");
    shell.pendingRestart = true;
  };
  playerHooks.RestartGame = [&order] {
    EXPECT_FALSE(shell.pendingRestart);
    order.push_back("restart");
  };
  playerHooks.DrawFrame = [&order] { order.push_back("draw"); };
  Run(1);
  EXPECT_EQ(order, (std::vector<std::string>{"world", "restart", "draw"}));
}

}  // namespace
}  // namespace kiv::test
