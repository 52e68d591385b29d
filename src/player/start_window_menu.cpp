#include "player/start_window_menu.h"

#include "core/ini.h"
#include "core/package.h"
#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "dialogs/settings_file.h"
#include "media/audio_startup.h"
#include "media/graphics.h"

namespace kiv {

namespace {
constexpr const char* kMenuSection = "Main Menu";
bool Flag(std::int32_t value) { return value != 0; }
}  // namespace

MenuIni::MenuIni() : present_(PackageExtractToTemp("DATA.INI")) {}

std::string MenuIni::Text(const std::string& key, const std::string& defaultText) const {
  if (!present_) return defaultText;
  return IniReadString(PackageTempFilePath(), kMenuSection, key, defaultText);
}

std::int32_t MenuIni::Number(const std::string& key, std::int32_t defaultValue) const {
  if (!present_) return defaultValue;
  return IniReadInt(PackageTempFilePath(), kMenuSection, key, defaultValue);
}

void ReadFirstLoadSettings(const MenuIni& menu) {
  PlayerSettings& s = playerSettings;
  s.adapterIndex = ReadSetting(SettingKey::RenderAdapter);
  s.deviceIndex = ReadSetting(SettingKey::RenderDevice);
  // The device works from the graphics globals.
  graphics.videoAdapter = s.adapterIndex;
  graphics.videoDeviceType = s.deviceIndex;
  soundGlobals.soundEnabled = Flag(ReadSetting(SettingKey::Sound2Enable));
  s.soundVolume = ReadSetting(SettingKey::Sound2Volume);
  s.voiceEnabled = Flag(ReadSetting(SettingKey::VoiceEnable, menu.Number("Voice", 0)));
  s.voiceIndex = ReadSetting(SettingKey::VoiceIndex);
  s.voiceRate = ReadSetting(SettingKey::VoiceRate);
  s.voiceVolume = ReadSetting(SettingKey::VoiceVolume);
  s.detailTranslucent = Flag(ReadSetting(SettingKey::DetailTranslucent));
  s.detailShade = Flag(ReadSetting(SettingKey::DetailShade));
  s.detailSpecular = Flag(ReadSetting(SettingKey::DetailSpecular));
  s.textInterval = ReadSetting(SettingKey::DetailTextInterval);
}

void ReadActivationSettings(const MenuIni& menu) {
  PlayerSettings& s = playerSettings;
  s.fullscreenDefault = Flag(menu.Number("Fullscreen", -1));
  // Windowed by default exactly when the package does not ask for the full screen.
  graphics.videoWindowed = Flag(ReadSetting(SettingKey::RenderWindowed, s.fullscreenDefault ? 0 : -1));
  s.designWidth = menu.Number("Video Width", 800);
  s.designHeight = menu.Number("Video Height", 600);
  dataSettings.gameVideoWidth = s.designWidth;
  dataSettings.gameVideoHeight = s.designHeight;
  s.resolutionChangeAllowed = Flag(menu.Number("Resolution Change", -1));
  s.fullscreenChangeAllowed = Flag(menu.Number("Fullscreen Change", -1));
}

void ReadScreenSettings() {
  graphics.videoFormat = ReadSetting(SettingKey::RenderFormat);
  graphics.videoRefresh = ReadSetting(SettingKey::RenderRefresh);
  graphics.videoWidth = ReadSetting(SettingKey::RenderWidth, playerSettings.designWidth);
  graphics.videoHeight = ReadSetting(SettingKey::RenderHeight, playerSettings.designHeight);
}

void LayOutMenuButtons(const std::string (&captions)[10], ButtonPlace (&places)[10]) {
  constexpr std::int32_t kHeight = 33, kGap = 4;
  std::int32_t top = kGap;
  int lastPlaced = -1;
  for (int i = 0; i < 10; ++i) {
    if (i >= 1 && i <= 8 && captions[i] == "#") {
      places[i] = ButtonPlace{false, 0, 0};
      continue;
    }
    if (i >= 3 && i <= 7 && lastPlaced < 3) top += kGap;  // the option group
    if (i == 8 || i == 9) top += kGap;
    places[i] = ButtonPlace{true, top, kHeight};
    top += kHeight + kGap;
    lastPlaced = i;
  }
}

}  // namespace kiv
