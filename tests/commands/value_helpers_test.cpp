// Axis values, the equality that collections search with, and the game's
// keys in SETTINGS.INI.
#include "commands/value_helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/error.h"
#include "script/script_value_ops.h"
#include "core/folders.h"
#include "core/text_encoding.h"
#include "state/project_settings_block.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

void SetFlag(std::size_t number, bool on) { storedProjectSettings.flags[number - 1] = on ? -1 : 0; }

class ProjectFlags : public ::testing::Test {
 protected:
  void SetUp() override { storedProjectSettings.Reset(); }
  void TearDown() override { storedProjectSettings.Reset(); }
};

using AxisValues = ProjectFlags;

TEST_F(AxisValues, WholeValuesOrSinglesBetweenMinusOneAndOne) {
  struct Case {
    bool whole;
    Variant assigned;
    float stored;
    Variant reads;
  };
  const Case cases[] = {
      {true, Variant::Double(0.6), 1.0f, Variant::Long(1)},
      {true, Variant::Long(-7), -1.0f, Variant::Long(-1)},
      {true, Variant::Double(0.4), 0.0f, Variant::Long(0)},
      {true, Variant::Text(u"1"), 1.0f, Variant::Long(1)},
      {false, Variant::Double(0.6), 0.6f, Variant::Single(0.6f)},
      {false, Variant::Double(2.5), 1.0f, Variant::Single(1.0f)},
      {false, Variant::Long(-3), -1.0f, Variant::Single(-1.0f)},
  };
  for (const Case& c : cases) {
    SetFlag(28, c.whole);
    float axis = 0.5f;
    ScriptValue result;
    AxisValueProperty(axis, result, true, c.assigned);
    EXPECT_EQ(axis, c.stored) << c.whole << " " << Utf16ToUtf8(VarToTextLenient(c.assigned));
    AxisValueProperty(axis, result, false, Variant());
    EXPECT_EQ(result.value, c.reads);
    EXPECT_EQ(result.mapIndex, -1);
  }
  // A stored fraction reads whole with the setting on.
  SetFlag(28, true);
  float axis = -0.7f;
  ScriptValue result;
  AxisValueProperty(axis, result, false, Variant());
  EXPECT_EQ(result.value, Variant::Long(-1));
}

using ValuesEqual = ProjectFlags;

TEST_F(ValuesEqual, TextsNumbersAndTheLooseSetting) {
  struct Case {
    Variant a;
    Variant b;
    bool strict;
    bool loose;
  };
  const Case cases[] = {
      {Variant::Text(u"5"), Variant::Long(5), true, true},
      {Variant::Long(5), Variant::Double(5.0), true, true},
      {Variant::Text(u"5"), Variant::Text(u"5.0"), false, true},
      {Variant::Text(u"Key"), Variant::Text(u" key "), false, true},
      {Variant::Text(u"Key"), Variant::Text(u"Key"), true, true},
      {Variant::Text(u"abc"), Variant::Long(5), false, false},
      {Variant::Text(u"5"), Variant::Text(u"6"), false, false},
      {Variant(), Variant::Long(0), true, true},
      {Variant::Text(u""), Variant(), true, true},
      {Variant::Long(1), Variant::Boolean(true), false, false},
      {VarNull(), VarNull(), false, false},
      {Variant::Array(kVarVariant, {}), Variant::Long(0), false, false},
  };
  for (const Case& c : cases) {
    for (const bool loose : {false, true}) {
      SetFlag(23, loose);
      EXPECT_EQ(ScriptValuesEqual(c.a, c.b), loose ? c.loose : c.strict)
          << Utf16ToUtf8(VarToTextLenient(c.a)) << " = " << Utf16ToUtf8(VarToTextLenient(c.b)) << " loose " << loose;
    }
  }
}

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", dir_.Path().c_str(), 1);
    gameFolder = dir_.Path() + "/Game";
  }
  void TearDown() override { unsetenv("XDG_DATA_HOME"); }

  std::string Path() const { return JoinPath(GetUserGameFolder(), "SETTINGS.INI"); }
  std::string File() const {
    if (!FileExists(Path())) return "";
    const ByteList bytes = test::ReadTestFile(Path());
    return std::string(bytes.begin(), bytes.end());
  }

  test::TempDir dir_;
};

TEST_F(Settings, RoundTripKeepsOtherLinesAndAMissingKeyGivesTheDefault) {
  test::WriteTestFile(Path(), "[Render]\r\nWidth=800\r\n");
  EXPECT_EQ(ScriptLoadSetting(u"Game", u"Level", u"none"), u"none");
  ScriptSaveSetting(u"Game", u"Level", u"3");
  ScriptSaveSetting(u"Game", u"Name", u"Ana\u00efs");
  EXPECT_EQ(ScriptLoadSetting(u"Game", u"Level", u"none"), u"3");
  EXPECT_EQ(ScriptLoadSetting(u"Game", u"Name", u""), u"Ana\u00efs");
  EXPECT_EQ(ScriptLoadSetting(u"Render", u"Width", u"0"), u"800");
  ScriptSaveSetting(u"Render", u"Width", u"1024");  // scripts may change the player's own keys
  EXPECT_EQ(ScriptLoadSetting(u"Render", u"Width", u"0"), u"1024");
  EXPECT_EQ(ScriptLoadSetting(u"Game", u"Missing", u"default"), u"default");
}

TEST_F(Settings, TextsThatWouldWriteOtherKeysAreRefusedAndTheFileStays) {
  test::WriteTestFile(Path(), "[Render]\r\nWidth=800\r\n");
  const std::string before = File();
  struct Case {
    std::u16string section, key, value;
  };
  const Case refused[] = {
      {u"Game", u"Level", u"3\r\n[Render]\r\nWidth=1"},
      {u"Game", u"Level", u"3\nWidth=1"},
      {u"Game\r", u"Level", u"3"},
      {u"Game", u"Le\nvel", u"3"},
      {u"Game", u"Width=1", u"3"},
      {u"Render]", u"Width", u"3"},
  };
  for (const Case& c : refused) {
    try {
      ScriptSaveSetting(c.section, c.key, c.value);
      ADD_FAILURE() << "accepted " << Utf16ToUtf8(c.key);
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), kErrData);
    }
    EXPECT_EQ(File(), before);
  }
  // A NUL ends a text, as the profile call reads it.
  ScriptSaveSetting(u"Game", u"Level", std::u16string(u"3\0\r\nWidth=1", 11));
  EXPECT_EQ(ScriptLoadSetting(u"Game", u"Level", u""), u"3");
  EXPECT_EQ(ScriptLoadSetting(u"Render", u"Width", u""), u"800");
}

}  // namespace
}  // namespace kiv
