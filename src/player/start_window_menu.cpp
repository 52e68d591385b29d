#include "player/start_window_menu.h"

#include "core/folders.h"
#include "core/ini.h"
#include "core/package.h"
#include "data/game_data.h"
#include "dialogs/player_settings.h"
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

std::string SettingsIniPath() { return JoinPath(GetUserGameFolder(), "SETTINGS.INI"); }

void ReadFirstLoadSettings(const MenuIni& menu) {
  const std::string ini = SettingsIniPath();
  PlayerSettings& s = playerSettings;
  s.adapterIndex = IniReadInt(ini, "Render", "Adapter", 0);
  s.deviceIndex = IniReadInt(ini, "Render", "Device", 1);
  // The device works from the graphics globals.
  graphics.videoAdapter = s.adapterIndex;
  graphics.videoDeviceType = s.deviceIndex;
  soundGlobals.soundEnabled = Flag(IniReadInt(ini, "Sound2", "Enable", -1));
  s.soundVolume = IniReadInt(ini, "Sound2", "Volume", 100);
  s.voiceEnabled = Flag(IniReadInt(ini, "Voice", "Enable", menu.Number("Voice", 0)));
  s.voiceIndex = IniReadInt(ini, "Voice", "Index", 0);
  s.voiceRate = IniReadInt(ini, "Voice", "Rate", 0);
  s.voiceVolume = IniReadInt(ini, "Voice", "Volume", 100);
  s.detailTranslucent = Flag(IniReadInt(ini, "Detail", "Translucent", -1));
  s.detailShade = Flag(IniReadInt(ini, "Detail", "Shade", -1));
  s.detailSpecular = Flag(IniReadInt(ini, "Detail", "Specular", -1));
  s.textInterval = IniReadInt(ini, "Detail", "TextInterval", 15);
}

void ReadActivationSettings(const MenuIni& menu) {
  const std::string ini = SettingsIniPath();
  PlayerSettings& s = playerSettings;
  s.fullscreenDefault = Flag(menu.Number("Fullscreen", -1));
  graphics.videoWindowed = Flag(IniReadInt(ini, "Render", "Windowed", s.fullscreenDefault ? 0 : -1));
  s.designWidth = menu.Number("Video Width", 800);
  s.designHeight = menu.Number("Video Height", 600);
  dataSettings.gameVideoWidth = s.designWidth;
  dataSettings.gameVideoHeight = s.designHeight;
  s.resolutionChangeAllowed = Flag(menu.Number("Resolution Change", -1));
  s.fullscreenChangeAllowed = Flag(menu.Number("Fullscreen Change", -1));
}

void ReadScreenSettings() {
  const std::string ini = SettingsIniPath();
  graphics.videoFormat = IniReadInt(ini, "Render", "Format", 22);
  graphics.videoRefresh = IniReadInt(ini, "Render", "Refresh", 0);
  graphics.videoWidth = IniReadInt(ini, "Render", "Width", playerSettings.designWidth);
  graphics.videoHeight = IniReadInt(ini, "Render", "Height", playerSettings.designHeight);
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
