#include "dialogs/settings_file.h"

#include <fmt/format.h>

#include <cmath>

#include "core/folders.h"
#include "core/ini.h"

namespace kiv {
namespace {

// In the order of SettingKey.
constexpr SettingKeyInfo kKeys[] = {
    {"Render", "Adapter", 0},  {"Render", "Device", 1},    {"Render", "Width", 800},
    {"Render", "Height", 600}, {"Render", "Format", 22},   {"Render", "Refresh", 0},
    {"Render", "Windowed", 0}, {"Voice", "Enable", 0},     {"Voice", "Index", 0},
    {"Voice", "Rate", 0},      {"Voice", "Volume", 100},   {"Detail", "Translucent", -1},
    {"Detail", "Shade", -1},   {"Detail", "Specular", -1}, {"Detail", "TextInterval", 15},
    {"Sound2", "Enable", -1},  {"Sound2", "Volume", 100},  {"Sound", "Tempo", 0},
};
static_assert(std::size(kKeys) == static_cast<std::size_t>(SettingKey::SoundTempo) + 1);

// The shortest decimal text that reads back as the same Single.
std::string RealText(float value) {
  if (value == std::floor(value) && std::fabs(value) < 1e9f)
    return fmt::format("{}", static_cast<long long>(value));
  return fmt::format("{}", value);
}

}  // namespace

std::string SettingsIniPath() { return JoinPath(GetUserGameFolder(), "SETTINGS.INI"); }

const SettingKeyInfo& SettingKeyOf(SettingKey key) { return kKeys[static_cast<std::size_t>(key)]; }

std::int32_t ReadSetting(SettingKey key) { return ReadSetting(key, SettingKeyOf(key).defaultValue); }

std::int32_t ReadSetting(SettingKey key, std::int32_t defaultValue) {
  const SettingKeyInfo& info = SettingKeyOf(key);
  return IniReadInt(SettingsIniPath(), info.section, info.key, defaultValue);
}

void WriteSetting(SettingKey key, std::int32_t value) {
  const SettingKeyInfo& info = SettingKeyOf(key);
  IniWriteString(SettingsIniPath(), info.section, info.key, std::to_string(value));
}

void WriteSettingFlag(SettingKey key, bool on) { WriteSetting(key, on ? -1 : 0); }

void WriteSettingReal(SettingKey key, float value) {
  const SettingKeyInfo& info = SettingKeyOf(key);
  IniWriteString(SettingsIniPath(), info.section, info.key, RealText(value));
}

}  // namespace kiv
