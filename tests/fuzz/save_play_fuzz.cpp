// Loads its input as a save of the sample game and plays it: the input is the
// save's uncompressed stream (the seeds of save_game_fuzz), written as a save
// file; the player starts on it as the load dialog starts it (the start window
// with the sample's package, then the game window with the save) and runs 30
// ticks of the main loop on a fake clock, each with its frame drawn on the
// headless device. A loaded save shows its interfaces, so the Character
// System, bullets, fields and map drawing all run on what the input holds.
// A crash, a sanitizer finding, a hang or gigabytes asked for are faults; a
// save that does not load ends the game before its first tick.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/byte_list.h"
#include "core/data_buffer.h"
#include "core/random.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "platform/ui/message_box.h"
#include "player/game_window.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "support/sample_game.h"
#include "whole_game.h"

// Mesa's GL drivers keep allocations past their context.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

using namespace kiv;

constexpr int kTicks = 30;
constexpr std::uint32_t kStepMs = 16;

os::FakeClock fakeClock{100000};
int ticks = 0;
std::string packagePath;
// The start window makes the program's folder the current one; the fuzzer
// reads its corpus by the paths it was given, from where it was started.
std::filesystem::path startFolder;

ByteList SaveFileOf(const std::uint8_t* data, std::size_t size) {
  uLongf packed = compressBound(static_cast<uLong>(size));
  ByteList file(4 + packed);
  if (compress2(file.data() + 4, &packed, data, static_cast<uLong>(size), 1) != Z_OK) std::abort();
  file.resize(4 + packed);
  std::int32_t offset = 0;
  BufferWriteLong(file, static_cast<std::int32_t>(size), offset);
  return file;
}

void WriteWhole(const std::string& path, const ByteList& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
  std::fclose(file);
}

// The harness of one run: no boxes or voices, the window always in front, the
// clock advanced by each iteration, and the game ended after its last frame.
void InstallRunHooks() {
  ui::SetMessageBoxRecorder([](const std::string&, const std::string&, ui::BoxIcon) {});
  ui::SetOpenUrlRecorder([](const std::string&) {});
  startWindowDevices.SpeechCreateVoice = [] { return 0; };
  startWindowDevices.SpeechGetVoiceCount = [] { return 1; };
  startWindowDevices.SpeechSelectVoice = [](std::int32_t) {};
  startWindowDevices.SpeechSetRate = [](std::int32_t) {};
  startWindowDevices.SpeechSetVolume = [](std::int32_t) {};
  startWindowDevices.SpeechRelease = [] {};
  startWindowDevices.SpeechSpeak = [](const std::u16string&, std::int32_t) {};
  loopPlatform.GameWindowInFront = [] { return true; };
  loopPlatform.CursorClientPosition = [](std::int32_t& x, std::int32_t& y) {
    x = 40;
    y = 30;
  };
  loopPlatform.DoEvents = [] {
    if (shell.mainLoopRunning) fakeClock.Advance(kStepMs - 1);
    ui::DoEvents();
  };
  const auto drawFrame = playerHooks.DrawFrame;
  playerHooks.DrawFrame = [drawFrame] {
    drawFrame();
    if (!shell.loadingTick && ++ticks >= kTicks) shell.quitRequest = true;
  };
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // The player's user folder (log, settings) lies beside the scratch files.
  const std::string data = fuzz::ScratchPath("data");
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  packagePath = fuzz::ScratchPath("DATA.kRC");
  WriteWhole(packagePath, test::SampleGamePackage().Build());
  os::SetClock(&fakeClock);
  startFolder = std::filesystem::current_path();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("play.kSV");
  WriteWhole(path, SaveFileOf(data, size));
  fuzz::ResetWholeGame();
  InstallRunHooks();
  ticks = 0;
  if (!frmStart.Initialize(packagePath)) std::abort();
  RandomSeed(1);
  frmStart.Show();
  if (frmStart.IsLoaded()) frmStart.Unload();
  frmMain.Start(path);
  if (frmStart.IsLoaded()) frmStart.Unload();
  fuzz::ResetWholeGame();
  std::remove(path.c_str());
  std::filesystem::current_path(startFolder);
  return 0;
}
