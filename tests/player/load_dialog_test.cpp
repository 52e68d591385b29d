// The start window's load dialog: four slot buttons named from
// "SETTINGS.INI", enabled only for a save file, the spoken title, a slot
// starting the game and the close box bringing the start window back.
#include "player/load_dialog.h"

#include <gtest/gtest.h>

#include "core/ini.h"
#include "player/boxes_install.h"
#include "player/start_window_fixture.h"

namespace kiv::test {
namespace {

class LoadDialogTest : public StartWindowTest {
 protected:
  void SetUp() override {
    StartWindowTest::SetUp();
    Start(std::nullopt);
    ASSERT_TRUE(frmStart.IsLoaded());
    InstallBoxesAndNotices();  // the real dialog behind the start window's button 1
    calls_.clear();
  }
  void TearDown() override {
    if (frmStartLoad.IsLoaded()) frmStartLoad.Unload();
    StartWindowTest::TearDown();
  }
  std::string SlotFile(int n) const { return UserFolder() + "/SAVE" + std::to_string(n) + ".kSV"; }
  ui::ControlArrayOf& Buttons() { return frmStartLoad.Controls("buttonSlot"); }
};

TEST_F(LoadDialogTest, ButtonOneOpensTheDialogWithItsLayout) {
  frmStart.buttonAction_Click(1);
  EXPECT_FALSE(frmStart.IsLoaded());
  ASSERT_TRUE(frmStartLoad.IsLoaded());
  EXPECT_EQ(frmStartLoad.caption, "Load Saved Game");
  EXPECT_EQ(frmStartLoad.clientWidth, 313);
  EXPECT_EQ(frmStartLoad.clientHeight, 133);
  const std::int32_t tops[] = {4, 36, 68, 100};
  for (std::size_t n = 0; n < 4; ++n) {
    const ui::Control& button = Buttons()[n];
    EXPECT_EQ(button.left, 4);
    EXPECT_EQ(button.top, tops[n]);
    EXPECT_EQ(button.width, 305);
    EXPECT_EQ(button.height, 29);
  }
}

TEST_F(LoadDialogTest, CaptionsComeFromTheSaveSectionAndOnlyARegularSaveFileEnablesItsButton) {
  IniWriteString(SettingsIni(), "Save", "Slot0", "Castle");
  IniWriteString(SettingsIni(), "Save", "Slot1", "");
  WriteTestFile(SlotFile(0), std::string("a save"));
  std::filesystem::create_directories(SlotFile(2));  // a folder of that name is no save
  WriteTestFile(SlotFile(3), std::string());
  frmStart.buttonAction_Click(1);
  const struct {
    const char* caption;
    bool enabled;
  } expected[] = {{"Castle", true}, {"", false}, {"Slot 3", false}, {"Slot 4", true}};
  for (std::size_t n = 0; n < 4; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Buttons()[n].caption, expected[n].caption);
    EXPECT_EQ(Buttons()[n].enabled, expected[n].enabled);
  }
}

TEST_F(LoadDialogTest, TheTitleIsSpokenOnlyWhenTheVoiceIsOn) {
  for (const bool voice : {true, false}) {
    SCOPED_TRACE(voice);
    playerSettings.voiceEnabled = voice;
    calls_.clear();
    frmStartLoad.Show();
    EXPECT_EQ(Calls("Speak"),
              voice ? std::vector<std::string>{"Speak Load Saved Game 3"} : std::vector<std::string>{});
    frmStartLoad.Unload();
  }
}

TEST_F(LoadDialogTest, ASlotUnloadsTheDialogAndStartsTheGameWithItsSave) {
  for (const bool voice : {true, false}) {
    SCOPED_TRACE(voice);
    playerSettings.voiceEnabled = voice;
    WriteTestFile(SlotFile(2), std::string("a save"));
    if (frmStart.IsLoaded()) frmStart.Unload();
    frmStartLoad.Show();
    calls_.clear();
    frmStartLoad.buttonSlot_Click(2);
    EXPECT_FALSE(frmStartLoad.IsLoaded());
    std::vector<std::string> expected;
    if (!voice) expected.push_back("SpeechRelease");
    expected.push_back("StartGame [" + SlotFile(2) + "]");
    EXPECT_EQ(Calls(), expected);
  }
}

TEST_F(LoadDialogTest, TheCloseBoxBringsBackTheStartWindowWithANewLoad) {
  frmStart.buttonAction_Click(1);
  calls_.clear();
  EXPECT_TRUE(frmStartLoad.Unload(ui::kUnloadUser));
  EXPECT_FALSE(frmStartLoad.IsLoaded());
  EXPECT_TRUE(frmStart.IsLoaded());
  EXPECT_TRUE(frmStart.IsVisible());
  // Button 1 unloaded the start window: it is loaded anew, and its activation starts the audio again.
  EXPECT_EQ(Calls("SoundStartUp"), std::vector<std::string>{"SoundStartUp"})
      << ::testing::PrintToString(calls_);
}

}  // namespace
}  // namespace kiv::test
