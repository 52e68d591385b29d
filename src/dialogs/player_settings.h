#pragma once
// The player's own settings: the first-load values of "SETTINGS.INI", the
// window and screen rules of the package's "DATA.INI" [Main Menu] and the
// [Render] values read at each activation of the start window. The option
// dialogs write them; the start window, the game window and the main loop
// read them. Screen size and windowed state live in the graphics globals
// (graphics.videoWidth, videoHeight, videoFormat, videoRefresh,
// videoWindowed), the sound switch in soundGlobals.soundEnabled.
#include <cstdint>

namespace kiv {

struct PlayerSettings {
  // "SETTINGS.INI", read by the first load of the start window.
  std::int32_t adapterIndex = 0;   // [Render] "Adapter"
  std::int32_t deviceIndex = 1;    // [Render] "Device"
  std::int32_t soundVolume = 100;  // [Sound2] "Volume"
  bool voiceEnabled = false;       // [Voice] "Enable" (default DATA.INI "Voice")
  std::int32_t voiceIndex = 0;     // [Voice] "Index"
  std::int32_t voiceRate = 0;      // [Voice] "Rate"
  std::int32_t voiceVolume = 100;  // [Voice] "Volume"
  bool detailTranslucent = true;   // [Detail] "Translucent"
  bool detailShade = true;         // [Detail] "Shade"
  bool detailSpecular = true;      // [Detail] "Specular"
  std::int32_t textInterval = 15;  // [Detail] "TextInterval", milliseconds per character
  // The sound dialog's "Speed": 0 until its OK during this run; written as
  // [Sound] "Tempo" but never read back.
  float soundTempo = 0;

  // "DATA.INI" [Main Menu], read at each activation.
  bool fullscreenDefault = true;        // "Fullscreen"
  std::int32_t designWidth = 800;       // "Video Width" (videoWidth of the game)
  std::int32_t designHeight = 600;      // "Video Height"
  bool resolutionChangeAllowed = true;  // "Resolution Change"
  bool fullscreenChangeAllowed = true;  // "Fullscreen Change"

  void Reset() { *this = PlayerSettings{}; }
};
extern PlayerSettings playerSettings;

}  // namespace kiv
