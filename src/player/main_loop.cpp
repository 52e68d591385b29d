#include "player/main_loop.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <new>
#include <stdexcept>

#include "core/error.h"
#include "core/folders.h"
#include "core/ini.h"
#include "core/log.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "media/device_reset.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/player_input_state.h"
#include "media/window_operations.h"
#include "platform/audio/mixer.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "state/project_settings_block.h"
#include "state/save_game.h"

namespace kiv {

LoopPlatform loopPlatform;
SDL_Window* gameWindowHandle = nullptr;

namespace {

constexpr std::uint8_t kKeyLeftAlt = 56;
constexpr std::uint8_t kKeyReturn = 28;
constexpr std::int32_t kShowMinimised = 6;

SDL_Window* GameWindowHandle() { return gameWindowHandle; }

std::uint32_t GameWindowFlags() {
  SDL_Window* window = GameWindowHandle();
  return window != nullptr ? SDL_GetWindowFlags(window) : 0;
}

// How an iteration ends: on to the next with the tick base kept, a restart
// (the next tick is measured from now), or the end of the loop.
enum class Next { kIterate, kRestart, kEnd };

bool PauseWhenInactive() { return storedProjectSettings.pauseWhenInactive != 0; }

bool KeyDown(const input::KeyboardState& state, std::uint8_t key) { return state[key] != 0; }

// Sets the presentation parameters for a window or full screen and resets the device.
bool SwitchScreenMode(bool toFullScreen) {
  gfx::PresentParameters& pp = graphics.presentParameters;
  if (toFullScreen) {
    const std::string settings = JoinPath(GetUserGameFolder(), "SETTINGS.INI");
    graphics.videoWidth = IniReadInt(settings, "Render", "Width", dataSettings.gameVideoWidth);
    graphics.videoHeight = IniReadInt(settings, "Render", "Height", dataSettings.gameVideoHeight);
    if (playerHooks.RefreshViewedMaps) playerHooks.RefreshViewedMaps(false);
    std::uint32_t displayFormat = 0;
    std::uint32_t depthFormat = 0;
    GraphicsFindDisplayMode(graphics.videoWidth, graphics.videoHeight,
                            FormatBitsPerPixel(static_cast<std::uint32_t>(graphics.videoFormat)),
                            graphics.videoRefresh, displayFormat, depthFormat, true, true);
    graphics.videoWindowed = false;
    pp.swapEffect = 2;
    pp.backBufferCount = 0;
    pp.backBufferFormat = displayFormat;
    pp.backBufferWidth = static_cast<std::uint32_t>(std::max(graphics.videoWidth, 0));
    pp.backBufferHeight = static_cast<std::uint32_t>(std::max(graphics.videoHeight, 0));
    pp.fullScreenRefreshRateInHz = static_cast<std::uint32_t>(std::max(graphics.videoRefresh, 0));
    pp.windowed = 0;
  } else {
    graphics.videoWindowed = true;
    pp.swapEffect = 1;
    pp.backBufferCount = 0;
    pp.backBufferFormat = graphics.desktopMode.format;
    pp.backBufferWidth = 0;
    pp.backBufferHeight = 0;
    pp.fullScreenRefreshRateInHz = 0;
    pp.windowed = 1;
  }
  return loopPlatform.ResetDevice();
}

// Alt+Return: switches between window and full screen. A failed switch is
// reported and undone; when undoing fails too the game cannot go on.
Next SwitchWindowAndFullScreen() {
  const bool toFullScreen = graphics.videoWindowed;
  if (SwitchScreenMode(toFullScreen)) {
    InputUpdateMouseCooperation();
    return Next::kRestart;
  }
  ui::ShowMessageBox("Change Resolution Error",
                     "Could not change resolution.  The video settings might not be appropriately set.",
                     ui::BoxIcon::Information);
  if (!SwitchScreenMode(!toFullScreen)) {
    RaiseError(-1, "Could not change the resolution back.");
  }
  InputUpdateMouseCooperation();
  return Next::kRestart;
}

// A slot load that a script asked for, with a backup of the running game.
void PerformSlotLoad() {
  const std::int32_t slot = shell.pendingSlotLoad;
  shell.pendingSlotLoad = -1;
  const std::string path = JoinPath(GetUserGameFolder(), "SAVE" + std::to_string(slot) + ".kSV");
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  const std::string backup = JoinPath(GetCommonFolder(), "SAVEX.kSV");
  try {
    SaveGame(backup);
  } catch (...) {
    // Without a backup a failed load could not be undone: skip it, play goes on.
    std::string message;
    const std::int32_t number = ErrorNumberOf(std::current_exception(), message);
    ErrorLogAppend("Could not save the backup \"" + backup + "\" before loading \"" + path + "\" (error " +
                   std::to_string(number) + ": " + message + "); the load was skipped.");
    return;
  }
  if (LoadGame(path) == 0) {
    DeleteFileIfExists(backup);
    return;
  }
  const std::int32_t result = LoadGame(backup);
  if (result == 0) {
    DeleteFileIfExists(backup);
    return;
  }
  // The backup is now the only copy of the game that was running: keep it.
  ErrorLogAppend("Could not load the backup \"" + backup + "\" back after loading \"" + path + "\" failed (error " +
                 std::to_string(result) + "); the backup is kept and the game ends.");
  shell.quitRequest = true;
}

void MovePointer() {
  PlayerInputState& state = playerInputStates[0];
  const std::int32_t width = graphics.videoWidth;
  const std::int32_t height = graphics.videoHeight;
  const bool captured = storedProjectSettings.captureMouse != 0 || !graphics.videoWindowed;
  if (captured) {
    state.cursorX = ClampLong(state.cursorX + state.relativeX, 0, width - 1);
    state.cursorY = ClampLong(state.cursorY + state.relativeY, 0, height - 1);
    return;
  }
  if (!loopPlatform.GameWindowInFront()) {
    loopPlatform.ShowSystemCursor(true);
    return;
  }
  std::int32_t x = 0;
  std::int32_t y = 0;
  loopPlatform.CursorClientPosition(x, y);
  state.cursorX = ClampLong(x, 0, width - 1);
  state.cursorY = ClampLong(y, 0, height - 1);
  const bool inside = x >= 0 && x < width && y >= 0 && y < height;
  loopPlatform.ShowSystemCursor(inside ? state.cursorSprite < 0 : true);
}

Next Iteration() {
  if (shell.quitRequest) {
    LogWriteLine("Ending game loop.");
    return Next::kEnd;
  }
  gameData.currentActivity = "Intro";
  os::Sleep(1);

  gameData.currentActivity = "Input/UI Flush";
  MainLoopPollInput();
  loopPlatform.DoEvents();
  if (!loopPlatform.DeviceExists() || shell.quitRequest) {
    LogWriteLine("Ending game loop.");
    return Next::kEnd;
  }

  gameData.currentActivity = "Co-Operation";
  gfx::HResult level = loopPlatform.TestCooperativeLevel();
  if (level == gfx::kErrDeviceNotReset) {
    loopPlatform.ResetDevice();
    return Next::kRestart;
  }
  if (level != gfx::kOk && PauseWhenInactive()) {
    for (;;) {
      loopPlatform.DoEvents();
      if (shell.quitRequest) return Next::kRestart;
      level = loopPlatform.TestCooperativeLevel();
      if (level == gfx::kErrDeviceNotReset) {
        loopPlatform.ResetDevice();
        return Next::kRestart;
      }
      if (level == gfx::kOk) return Next::kRestart;  // usable again without a reset
      os::Sleep(1);
    }
  }

  if (PauseWhenInactive()) {
    const bool background = graphics.videoWindowed && !loopPlatform.GameWindowInFront();
    const bool noArea = graphics.videoWidth <= 0 && graphics.videoHeight <= 0;
    if (background || noArea) {
      loopPlatform.AudioPause();
      return Next::kRestart;
    }
  }

  gameData.currentActivity = "Tick";
  UpdateTickTime();
  scriptEngine.tickStamp = os::GetTickCount();
  GraphicsUpdateFrameRate();
  const double scaled = std::nearbyint(static_cast<double>(shell.frameElapsed) * gameData.gameSpeed);
  if (!(scaled >= std::numeric_limits<std::int32_t>::min() && scaled <= std::numeric_limits<std::int32_t>::max())) {
    RaiseError(kErrOverflow, "Overflow");
  }
  shell.frameElapsed = static_cast<std::int32_t>(scaled);

  if (graphics.videoWindowed) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    loopPlatform.ClientSize(width, height);
    if ((width != graphics.videoWidth || height != graphics.videoHeight) && !loopPlatform.GameWindowMinimised()) {
      if (width == 0 || height == 0) return Next::kRestart;
      graphics.videoWidth = width;
      graphics.videoHeight = height;
      loopPlatform.ResetDevice();
      if (playerHooks.RefreshViewedMaps) playerHooks.RefreshViewedMaps(false);
    }
  }

  gameData.currentActivity = "Cursors";
  MainLoopTakeMouseState();
  MovePointer();

  shell.pickRendered = false;
  if (playerHooks.UpdatePointer) playerHooks.UpdatePointer(0, 0);

  shell.worldStepTime = shell.frameElapsed;
  if (playerHooks.WorldUpdate) playerHooks.WorldUpdate();

  if (shell.pendingRestart) {
    shell.pendingRestart = false;
    if (playerHooks.RestartGame) playerHooks.RestartGame();
  }
  if (shell.pendingSlotLoad >= 0) PerformSlotLoad();

  if (playerHooks.DrawFrame) playerHooks.DrawFrame();

  gameData.currentActivity = "Special Keys";
  const input::KeyboardState& now = inputDevices.keyboardState;
  const input::KeyboardState& before = inputDevices.previousKeyboardState;
  const bool bothDown = KeyDown(now, kKeyLeftAlt) && KeyDown(now, kKeyReturn);
  const bool bothDownBefore = KeyDown(before, kKeyLeftAlt) && KeyDown(before, kKeyReturn);
  // Only the moment both keys are down switches: holding them switches once.
  if (playerSettings.fullscreenChangeAllowed && bothDown && !bothDownBefore) return SwitchWindowAndFullScreen();
  return Next::kIterate;
}

void ReportLoopError(std::int32_t number) {
  LogWriteLine(LoopErrorLine(number, gameData.currentActivity, shell.activityStep));
  if (number == 453) {
    ui::ShowMessageBox("DLL Error",
                       "Your system contains an old version of a DLL. You must always use the installer when "
                       "installing EngineKiv.\n\nYou may save your map without any data loss.",
                       ui::BoxIcon::Warning);
    return;
  }
  ui::ShowMessageBox("Critical Error #" + std::to_string(number),
                     "An internal error occurred in the basic map construction. Please report this problem on "
                     "the maker's web site, or with the problem report of the editor, saying what the game was "
                     "doing.\n\nSaving your map may lead to data loss.",
                     ui::BoxIcon::Error);
}

}  // namespace

void LoopPlatform::Reset() {
  DoEvents = [] { ui::DoEvents(); };
  DeviceExists = [] { return graphics.direct3dDevice != nullptr; };
  TestCooperativeLevel = []() -> std::int32_t {
    return graphics.direct3dDevice ? graphics.direct3dDevice->TestCooperativeLevel() : gfx::kErrDeviceLost;
  };
  ResetDevice = [] { return ResetDeviceAndTargets(); };
  GameWindowInFront = [] { return (GameWindowFlags() & SDL_WINDOW_INPUT_FOCUS) != 0; };
  GameWindowMinimised = [] { return (GameWindowFlags() & SDL_WINDOW_MINIMIZED) != 0; };
  ClientSize = [](std::int32_t& width, std::int32_t& height) {
    width = graphics.videoWidth;
    height = graphics.videoHeight;
    if (SDL_Window* window = GameWindowHandle()) SDL_GetWindowSize(window, &width, &height);
  };
  CursorClientPosition = [](std::int32_t& x, std::int32_t& y) {
    int left = 0;
    int top = 0;
    SDL_GetGlobalMouseState(&x, &y);
    if (SDL_Window* window = GameWindowHandle()) SDL_GetWindowPosition(window, &left, &top);
    x -= left;
    y -= top;
  };
  ShowSystemCursor = [](bool show) { SetCursorVisible(show); };
  AudioStart = [] { audio::Start(); };
  AudioPause = [] { audio::Pause(); };
  AudioUpdate = [](std::int32_t milliseconds) { audio::Update(milliseconds); };
}

void UpdateTickTime() {
  for (;;) {
    const std::uint32_t now = os::GetTickCount();
    const auto elapsed = static_cast<std::int32_t>(now - shell.tickBase);
    shell.tickBase = now;
    if (elapsed >= 0) {
      shell.frameElapsed = elapsed;
      break;
    }
    os::Sleep(0);
  }
  const std::int32_t limit = storedProjectSettings.frameRateLimit;
  if (limit > 0) {
    // A limit above 1000 frames per second would cap every tick at 0 ms and
    // stop the world: the cap is at least one millisecond.
    const std::int32_t cap = std::max(1000 / limit, 1);
    if (shell.frameElapsed > cap) shell.frameElapsed = cap;
  }
  loopPlatform.AudioStart();
  loopPlatform.AudioUpdate(2 * shell.frameElapsed);
}

std::string LoopErrorLine(std::int32_t number, const std::string& activity, std::int32_t step) {
  return "Loop error #" + std::to_string(number) + " while performing: " + activity + " (" + std::to_string(step) +
         ").";
}

std::int32_t ErrorNumberOf(std::exception_ptr error, std::string& message) {
  try {
    std::rethrow_exception(error);
  } catch (const KivError& e) {
    message = e.what();
    return e.Number();
  } catch (const std::out_of_range& e) {
    message = e.what();
    return kErrIndex;
  } catch (const std::bad_alloc& e) {
    message = e.what();
    return kErrOutOfMemory;
  } catch (const std::length_error& e) {
    message = e.what();
    return kErrOutOfMemory;
  } catch (const std::overflow_error& e) {
    message = e.what();
    return kErrOverflow;
  } catch (const std::underflow_error& e) {
    message = e.what();
    return kErrOverflow;
  } catch (const std::range_error& e) {
    message = e.what();
    return kErrOverflow;
  } catch (const std::domain_error& e) {
    message = e.what();
    return kErrDivisionByZero;
  } catch (const std::exception& e) {
    message = e.what();
    return 51;
  } catch (...) {
    message = "Internal error";
    return 51;
  }
}

void MainLoop() {
  LogWriteLine("Starting game loop.");
  shell.tickBase = os::GetTickCount();
  shell.mainLoopRunning = true;
  for (;;) {
    Next next = Next::kEnd;
    try {
      next = Iteration();
    } catch (...) {
      shell.mainLoopRunning = false;
      std::string message;
      ReportLoopError(ErrorNumberOf(std::current_exception(), message));
      return;
    }
    if (next == Next::kEnd) break;
    if (next == Next::kRestart) shell.tickBase = os::GetTickCount();
  }
  shell.mainLoopRunning = false;
}

}  // namespace kiv
