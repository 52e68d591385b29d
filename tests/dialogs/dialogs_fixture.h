#pragma once
// The option dialogs without a display: a temporary user folder, windowless
// forms, and the dialogs' devices replaced by a made-up machine (adapters,
// modes, voices, keyboard and controller states) with recorders.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/text_encoding.h"
#include "dialogs/dialog_devices.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/player_settings.h"
#include "dialogs/settings_file.h"
#include "media/audio_startup.h"
#include "media/controls_table.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "platform/ui/form.h"
#include "state/controls_block.h"
#include "support/temp_dir.h"

namespace kiv::test {

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedXdg_ = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    setenv("XDG_DATA_HOME", dir_.Path().c_str(), 1);
    savedGameFolder_ = gameFolder;
    gameFolder = "/games/Quest";
    ui::SetWindowlessForms(true);
    playerSettings.Reset();
    graphics.videoWidth = 800, graphics.videoHeight = 600, graphics.videoFormat = 22;
    graphics.videoRefresh = 0, graphics.videoWindowed = false;
    soundGlobals.soundEnabled = true;
    inputDevices.keyboardState.fill(0);
    inputDevices.joystickState = input::JoystickState{};
    controls.clear();
    controlsStamp = 77;

    DialogDevices& d = dialogDevices;
    d.EnumAdapters = [this] {
      graphics.adapterList.assign(adapters.size(), gfx::AdapterIdentifier{});
      for (std::size_t i = 0; i < adapters.size(); ++i) {
        std::memcpy(graphics.adapterList[i].description, adapters[i].data(),
                    std::min<std::size_t>(adapters[i].size(), 512));
      }
    };
    d.EnumDisplayModes = [this](std::int32_t adapter) {
      calls.push_back("EnumDisplayModes " + std::to_string(adapter));
      graphics.displayModes = modes;
    };
    d.DeviceTypeAvailable = [this](std::int32_t, std::int32_t type) {
      return type == 1 ? hardware : software;
    };
    d.VoiceCount = [this] { return static_cast<std::int32_t>(voices.size()); };
    d.VoiceName = [this](std::int32_t i) { return AnsiToUtf16(voices.at(static_cast<std::size_t>(i))); };
    d.Speak = [this](const std::u16string& text, std::int32_t flags) {
      calls.push_back("Speak " + Utf16ToAnsi(text) + " " + std::to_string(flags));
    };
    d.CreateKeyboard = [this](std::uint32_t, std::int32_t flags) {
      calls.push_back("CreateKeyboard " + std::to_string(flags));
      return 0;
    };
    d.ListGameControllers = [this] { return controllers; };
    d.CreateJoystick = [this](std::uint32_t, const std::string& instance, bool extended, std::int32_t flags) {
      calls.push_back("CreateJoystick " + instance + " " + std::to_string(extended) + " " +
                      std::to_string(flags));
      return 0;
    };
    d.PollKeyboard = [this] { inputDevices.keyboardState = heldKeys; };
    d.PollJoystick = [this] { inputDevices.joystickState.buttons = heldButtons; };
    d.ReleaseKeyboard = [this] { calls.push_back("ReleaseKeyboard"); };
    d.ReleaseJoystick = [this] { calls.push_back("ReleaseJoystick"); };
    dialogHooks.ShowStartWindow = [this] { calls.push_back("ShowStartWindow"); };
    ui::SetMessageBoxRecorder([this](const std::string& title, const std::string& text, ui::BoxIcon) {
      boxes.push_back(title + "|" + text);
    });
  }

  void TearDown() override {
    ui::SetModalLoopHook(nullptr);
    ui::SetMessageBoxRecorder(nullptr);
    ui::SetWindowlessForms(false);
    dialogDevices.Reset();
    dialogHooks.Reset();
    playerSettings.Reset();
    controls.clear();
    gameFolder = savedGameFolder_;
    setenv("XDG_DATA_HOME", savedXdg_.c_str(), 1);
  }

  std::string SettingsText() const {
    const ByteList bytes = ReadTestFile(SettingsIniPath());
    return std::string(bytes.begin(), bytes.end());
  }
  void WriteSettings(const std::string& text) {
    std::filesystem::create_directories(GetUserGameFolder());
    WriteTestFile(SettingsIniPath(), text);
  }

  TempDir dir_;
  std::vector<std::string> calls;
  std::vector<std::string> boxes;  // "title|text"
  // The made-up machine.
  std::vector<std::string> adapters{"Main Display"};
  std::vector<gfx::DisplayMode> modes{{640, 480, 60, 22},  {800, 600, 60, 22}, {800, 600, 75, 22},
                                      {1024, 768, 60, 22}, {800, 600, 60, 23}, {639, 800, 60, 22},
                                      {1024, 479, 60, 22}};
  bool hardware = true, software = true;
  std::vector<std::string> voices{"English", "German"};
  std::vector<std::string> controllers;
  input::KeyboardState heldKeys{};
  std::array<std::uint8_t, 32> heldButtons{};

 private:
  std::string savedXdg_;
  std::string savedGameFolder_;
};

}  // namespace kiv::test
