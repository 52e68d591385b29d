#include "dialogs/settings_file.h"

#include <gtest/gtest.h>

#include "dialogs/dialogs_fixture.h"

namespace kiv {
namespace {

using test::DialogsTest;

TEST_F(DialogsTest, TheKeyTableWithItsDefaults) {
  const struct {
    SettingKey key;
    const char* section;
    const char* name;
    std::int32_t defaultValue;
  } rows[] = {
      {SettingKey::RenderAdapter, "Render", "Adapter", 0},
      {SettingKey::RenderDevice, "Render", "Device", 1},
      {SettingKey::RenderFormat, "Render", "Format", 22},
      {SettingKey::RenderRefresh, "Render", "Refresh", 0},
      {SettingKey::VoiceIndex, "Voice", "Index", 0},
      {SettingKey::VoiceRate, "Voice", "Rate", 0},
      {SettingKey::VoiceVolume, "Voice", "Volume", 100},
      {SettingKey::DetailTranslucent, "Detail", "Translucent", -1},
      {SettingKey::DetailShade, "Detail", "Shade", -1},
      {SettingKey::DetailSpecular, "Detail", "Specular", -1},
      {SettingKey::DetailTextInterval, "Detail", "TextInterval", 15},
      {SettingKey::Sound2Enable, "Sound2", "Enable", -1},
      {SettingKey::Sound2Volume, "Sound2", "Volume", 100},
      {SettingKey::SoundTempo, "Sound", "Tempo", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(SettingKeyOf(row.key).section, row.section);
    EXPECT_STREQ(SettingKeyOf(row.key).key, row.name);
    EXPECT_EQ(ReadSetting(row.key), row.defaultValue);  // no file yet
  }
  // The keys whose default the package gives take the caller's.
  EXPECT_EQ(ReadSetting(SettingKey::RenderWidth, 1024), 1024);
  EXPECT_EQ(ReadSetting(SettingKey::VoiceEnable, -1), -1);
  EXPECT_EQ(SettingsIniPath(), JoinPath(GetUserGameFolder(), "SETTINGS.INI"));
}

TEST_F(DialogsTest, ValuesAreWrittenAsTextAndReadWithTheProfileRules) {
  WriteSettings("[Detail]\r\nTextInterval=fast\r\n");
  EXPECT_EQ(ReadSetting(SettingKey::DetailTextInterval), 0);  // not a number
  WriteSettingFlag(SettingKey::DetailShade, true);
  WriteSettingFlag(SettingKey::DetailSpecular, false);
  WriteSetting(SettingKey::VoiceRate, -7);
  WriteSettingReal(SettingKey::SoundTempo, 2.5f);
  EXPECT_EQ(SettingsText(),
            "[Detail]\r\nTextInterval=fast\r\nShade=-1\r\nSpecular=0\r\n[Voice]\r\nRate=-7\r\n[Sound]"
            "\r\nTempo=2.5\r\n");
  EXPECT_EQ(ReadSetting(SettingKey::VoiceRate), -7);
}

}  // namespace
}  // namespace kiv
