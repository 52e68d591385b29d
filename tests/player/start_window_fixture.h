#pragma once
// The start window without a display: a temporary data folder (XDG variables),
// a package with a chosen "DATA.INI", windowless forms and recorders in place
// of the devices, the voice, the boxes and the game start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "dialogs/dialog_devices.h"
#include "dialogs/player_settings.h"
#include "media/audio_startup.h"
#include "media/graphics.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "player/start_window_voice.h"
#include "runtime/runtime_startup.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"

namespace kiv::test {

class StartWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the package (the sample game's project state, and "DATA.INI" when
  // given) as <temp>/games/<folder>/DATA.kRC and returns its path.
  std::string WritePackage(const std::optional<std::string>& dataIni, bool withProjectState = true,
                           const std::string& folder = "Quest");
  // Initialize with the package, then show the start window.
  void Start(const std::optional<std::string>& dataIni);
  std::string UserFolder() const;
  std::string SettingsIni() const;
  bool TempDatExists() const;
  // The calls that reached the recorders, in order ("CreateDirectX", "Speak Main Menu", ...).
  std::vector<std::string> Calls(const std::string& prefix = "") const;

  TempDir dir_;
  std::vector<std::string> calls_;
  std::vector<std::string> boxes_;  // "title|text"
  std::vector<std::string> urls_;
  // Results the recorders give.
  std::int32_t directXResult = 0, directInputResult = 0, direct3DResult = 0;
  bool soundStarts = true;
  std::int32_t voiceResult = 0;
  std::int32_t voiceCount = 2;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> savedEnv_;
  std::string savedCwd_;
};

namespace fixture {
inline const char* const kEnvNames[] = {"XDG_DATA_HOME", "HOME", "TMPDIR"};

inline ByteList BytesOf(const std::string& text) { return ByteList(text.begin(), text.end()); }
}  // namespace fixture

inline void StartWindowTest::SetUp() {
  for (const char* name : fixture::kEnvNames) {
    const char* old = std::getenv(name);
    savedEnv_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }
  setenv("XDG_DATA_HOME", dir_.File("data").c_str(), 1);
  setenv("HOME", dir_.File("home").c_str(), 1);
  setenv("TMPDIR", dir_.File("tmp").c_str(), 1);
  savedCwd_ = std::filesystem::current_path().string();
  RuntimeStartUp();
  // The fixed names come first, as at the program's start; the package writer interns more.
  SymbolTableReset();
  RegisterScriptIdentifiers();
  ui::SetWindowlessForms(true);
  shell.Reset();
  playerSettings.Reset();
  graphics.videoWindowed = true;
  package.Reset();

  StartWindowDevices& d = startWindowDevices;
  auto record = [this](std::string call) { calls_.push_back(std::move(call)); };
  d.CreateDirectX = [this, record] {
    record("CreateDirectX");
    return directXResult;
  };
  d.CreateDirectInput = [this, record] {
    record("CreateDirectInput");
    return directInputResult;
  };
  d.CreateDirect3D = [this, record] {
    record("CreateDirect3D");
    return direct3DResult;
  };
  d.ReleaseDirect3D = [record] { record("ReleaseDirect3D"); };
  d.ReleaseDirectInput = [record] { record("ReleaseDirectInput"); };
  d.ReleaseDirectX = [record] { record("ReleaseDirectX"); };
  d.SoundStartUp = [this, record] {
    record("SoundStartUp");
    if (!soundStarts) soundGlobals.soundEnabled = false;
    return soundStarts;
  };
  d.SoundShutDown = [record] { record("SoundShutDown"); };
  d.SpeechCreateVoice = [this, record] {
    record("SpeechCreateVoice");
    return voiceResult;
  };
  d.SpeechGetVoiceCount = [this] { return voiceCount; };
  d.SpeechSelectVoice = [record](std::int32_t i) { record("SelectVoice " + std::to_string(i)); };
  d.SpeechSetRate = [](std::int32_t) {};
  d.SpeechSetVolume = [](std::int32_t) {};
  d.SpeechSpeak = [record](const std::u16string& text, std::int32_t flags) {
    record("Speak " + Utf16ToUtf8(text) + " " + std::to_string(flags));
  };
  d.SpeechRelease = [record] { record("SpeechRelease"); };
  d.StartGame = [record](const std::string& path) { record("StartGame [" + path + "]"); };
  // The option dialogs see one adapter with one mode, two voices, and no input devices.
  DialogDevices& dd = dialogDevices;
  dd.EnumAdapters = [] {
    graphics.adapterList.assign(1, gfx::AdapterIdentifier{});
    std::snprintf(graphics.adapterList[0].description, 512, "Test Display");
  };
  dd.EnumDisplayModes = [](std::int32_t) { graphics.displayModes.assign(1, gfx::DisplayMode{800, 600, 60, 22}); };
  dd.DeviceTypeAvailable = [](std::int32_t, std::int32_t) { return true; };
  dd.VoiceCount = [this] { return voiceCount; };
  dd.VoiceName = [](std::int32_t i) { return u"Voice " + AnsiToUtf16(std::to_string(i)); };
  dd.Speak = d.SpeechSpeak;
  dd.CreateKeyboard = [](std::uint32_t, std::int32_t) { return 1; };
  dd.ListGameControllers = [] { return std::vector<std::string>{}; };
  startWindowHooks.ShowLoadDialog = [record] { record("ShowLoadDialog"); };
  ui::SetMessageBoxRecorder([this](const std::string& title, const std::string& text, ui::BoxIcon) {
    boxes_.push_back(title + "|" + text);
  });
  SetMessageBoxHook([](const std::string& title, const std::string& text) {
    ui::ShowMessageBox(title, text, ui::BoxIcon::Error);
  });
  ui::SetOpenUrlRecorder([this](const std::string& url) { urls_.push_back(url); });
}

inline void StartWindowTest::TearDown() {
  if (frmStart.IsLoaded()) frmStart.Unload();
  ReleaseVoice();
  ClearStartWindowExitCode();
  ui::SetWindowlessForms(false);
  ui::SetMessageBoxRecorder(nullptr);
  ui::SetOpenUrlRecorder(nullptr);
  SetMessageBoxHook(nullptr);
  startWindowDevices.Reset();
  startWindowHooks.Reset();
  dialogDevices.Reset();
  shell.Reset();
  playerSettings.Reset();
  package.Reset();
  gameFolder.clear();
  gameFolderName.clear();
  std::filesystem::current_path(savedCwd_);
  for (const auto& [name, value] : savedEnv_) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
}

inline std::string StartWindowTest::WritePackage(const std::optional<std::string>& dataIni,
                                                 bool withProjectState, const std::string& folder) {
  PackageWriter sample = SampleGamePackage();
  PackageWriter writer;
  for (const PackageFixtureEntry& entry : sample.Entries()) {
    if (entry.name == "INTRO.kst" && withProjectState) writer.AddCompressed(entry.name, entry.bytes);
  }
  if (dataIni) writer.AddCompressed("DATA.INI", fixture::BytesOf(*dataIni));
  const std::string games = dir_.File("games/" + folder);
  std::filesystem::create_directories(games);
  const std::string path = games + "/DATA.kRC";
  writer.WriteTo(path);
  return path;
}

inline void StartWindowTest::Start(const std::optional<std::string>& dataIni) {
  ASSERT_TRUE(frmStart.Initialize(WritePackage(dataIni)));
  frmStart.Show();
}

inline std::string StartWindowTest::UserFolder() const { return dir_.File("data") + "/Kiv/Games/Quest"; }
inline std::string StartWindowTest::SettingsIni() const { return UserFolder() + "/SETTINGS.INI"; }
inline bool StartWindowTest::TempDatExists() const { return FileExists(PackageTempFilePath()); }

inline std::vector<std::string> StartWindowTest::Calls(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& call : calls_) {
    if (call.rfind(prefix, 0) == 0) out.push_back(call);
  }
  return out;
}

}  // namespace kiv::test
