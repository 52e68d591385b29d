// The main loop's own cost per iteration, with empty world-update and frame
// steps on an offscreen device and the fake clock (so its Sleep(1) costs
// nothing), against a bare loop of SDL_PollEvent and the three input polls in
// the same run; and the time from the game window's start to the first tick
// of the generated game.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "core/folders.h"
#include "core/symbol_table.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "platform/gfx/window.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/game_window.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "runtime/runtime_startup.h"
#include "state/project_settings_block.h"
#include "support/sample_game.h"
#include "support/state_block_writer.h"

extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace kiv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kIterations = 2000;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// An offscreen device on a hidden window, with the input devices of a game.
struct OffscreenDevice {
  OffscreenDevice() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    GraphicsCreateDirectX();
    GraphicsCreateDirect3D();
    InputCreateDirectInput();
    graphics.videoWidth = 640;
    graphics.videoHeight = 480;
    graphics.videoWindowed = true;
    window = std::make_unique<gfx::Window>("bench", 640, 480, false, true);
    DeviceStartUp(window.get());
    gameWindowHandle = window->Handle();
  }
  std::unique_ptr<gfx::Window> window;
};

void BM_MainLoopAgainstBarePolls(benchmark::State& state) {
  static OffscreenDevice device;
  os::FakeClock fake;
  os::ScopedClock scope(fake);
  storedProjectSettings.pauseWhenInactive = 0;
  playerHooks.Reset();
  int worldUpdates = 0;
  playerHooks.WorldUpdate = [&worldUpdates] {
    if (++worldUpdates >= kIterations) shell.quitRequest = true;
  };
  playerHooks.DrawFrame = [] {};
  double loopSeconds = 0;
  double bareSeconds = 0;
  for (auto _ : state) {
    worldUpdates = 0;
    shell.quitRequest = false;
    auto start = Clock::now();
    MainLoop();
    loopSeconds += Seconds(start);

    start = Clock::now();
    for (int i = 0; i < kIterations; ++i) {
      SDL_Event event;
      while (SDL_PollEvent(&event) != 0) {
      }
      InputPollKeyboard();
      InputPollMouse();
      InputPollJoystick();
    }
    bareSeconds += Seconds(start);
  }
  const double runs = static_cast<double>(state.iterations()) * kIterations;
  state.counters["loop_ns"] = loopSeconds / runs * 1e9;
  state.counters["bare_ns"] = bareSeconds / runs * 1e9;
  state.counters["ratio"] = loopSeconds / bareSeconds;
}
BENCHMARK(BM_MainLoopAgainstBarePolls)->Unit(benchmark::kMillisecond)->Iterations(20);

// frmMain.Start on the generated game of 200 sets and 20 maps, to its first tick.
void BM_StartToFirstTick(benchmark::State& state) {
  const std::string folder =
      (std::filesystem::temp_directory_path() / ("kiv-start-bench-" + std::to_string(::getpid()))).string();
  std::filesystem::create_directories(folder + "/Generated");
  setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
  test::PackageWriter writer = test::GeneratedGamePackage(200, 20);
  writer.AddCompressed("INTRO.kst", test::ProjectStateBytes(kCurrentFormatVersion, test::StateBlockFixture{}));
  writer.WriteTo(folder + "/Generated/DATA.kRC");
  SymbolTableReset();

  ui::SetWindowlessForms(true);
  RuntimeStartUp();
  startWindowDevices.SpeechCreateVoice = [] { return 1; };  // no voice: nothing to speak
  startWindowDevices.SpeechRelease = [] {};
  loopPlatform.GameWindowInFront = [] { return true; };
  Clock::time_point started;
  double toFirstTick = 0;
  playerHooks.WorldUpdate = [&] {
    toFirstTick = Seconds(started);
    shell.quitRequest = true;
  };
  if (!frmStart.Initialize(folder + "/Generated/DATA.kRC")) {
    state.SkipWithError("the generated package did not load");
    return;
  }
  for (auto _ : state) {
    frmStart.Show();
    frmStart.Unload();
    started = Clock::now();
    frmMain.Start("");
    state.SetIterationTime(toFirstTick);
  }
  if (frmStart.IsLoaded()) frmStart.Unload();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StartToFirstTick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace kiv
