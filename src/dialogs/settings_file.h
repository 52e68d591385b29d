#pragma once
// "SETTINGS.INI" in the user's folder of the game: the one place that names
// its path and the keys that the start window reads and the option dialogs
// write, with their defaults.
#include <cstdint>
#include <string>

namespace kiv {

// The user folder's "SETTINGS.INI" (also home of the [Save] slot names).
std::string SettingsIniPath();

enum class SettingKey {
  RenderAdapter,
  RenderDevice,
  RenderWidth,
  RenderHeight,
  RenderFormat,
  RenderRefresh,
  RenderWindowed,
  VoiceEnable,
  VoiceIndex,
  VoiceRate,
  VoiceVolume,
  DetailTranslucent,
  DetailShade,
  DetailSpecular,
  DetailTextInterval,
  Sound2Enable,
  Sound2Volume,
  SoundTempo,
};

struct SettingKeyInfo {
  const char* section;
  const char* key;
  // The default when the key is absent; the keys whose default comes from the
  // package's "DATA.INI" (Width, Height, Windowed, Voice Enable) take it from
  // the caller.
  std::int32_t defaultValue;
};
const SettingKeyInfo& SettingKeyOf(SettingKey key);

// Reads a key as a whole number with the profile functions' rules (text that
// is not a number reads 0), with the table's default or the caller's.
std::int32_t ReadSetting(SettingKey key);
std::int32_t ReadSetting(SettingKey key, std::int32_t defaultValue);

// Writes decimal text, Booleans as "-1" and "0", the tempo as real-number text.
// Every other line of the file is kept.
void WriteSetting(SettingKey key, std::int32_t value);
void WriteSettingFlag(SettingKey key, bool on);
void WriteSettingReal(SettingKey key, float value);

}  // namespace kiv
