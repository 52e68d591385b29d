#include "dialogs/option_forms.h"

#include <gtest/gtest.h>

#include "dialogs/dialogs_fixture.h"

namespace kiv {
namespace {

using test::DialogsTest;

class OptionFormsTest : public DialogsTest {
 protected:
  void TearDown() override {
    for (ui::Form* form : std::initializer_list<ui::Form*>{&frmVoice, &frmDetail, &frmSound}) {
      if (form->IsLoaded()) form->Unload();
    }
    DialogsTest::TearDown();
  }
  static ui::Control& Item(ui::Form& form, const char* name) { return form.Controls(name).Item(0); }
};

TEST_F(OptionFormsTest, EachOkWritesItsKeysInOrderAndKeepsTheOtherLines) {
  WriteSettings("[Save]\r\nSlot0=Castle\r\n[Voice]\r\nEnable=0\r\nOwn=1\r\n");
  playerSettings.voiceIndex = 1;
  frmVoice.Show();
  Item(frmVoice, "checkEnable").value = 1;
  Item(frmVoice, "sliderRate").value = -3;
  Item(frmVoice, "sliderVolume").value = 40;
  frmVoice.buttonOK_Click();
  frmDetail.Show();
  Item(frmDetail, "checkShade").value = 0;
  Item(frmDetail, "sliderTextInterval").value = 25;
  frmDetail.buttonOK_Click();
  frmSound.Show();
  Item(frmSound, "checkEnable").value = 0;
  Item(frmSound, "sliderTempo").value = 7;
  Item(frmSound, "sliderVolume").value = 64;
  frmSound.buttonOK_Click();
  EXPECT_EQ(SettingsText(),
            "[Save]\r\nSlot0=Castle\r\n"
            "[Voice]\r\nEnable=-1\r\nOwn=1\r\nIndex=1\r\nRate=-3\r\nVolume=40\r\n"
            "[Detail]\r\nTranslucent=-1\r\nShade=0\r\nSpecular=-1\r\nTextInterval=25\r\n"
            "[Sound2]\r\nEnable=0\r\nVolume=64\r\n"
            "[Sound]\r\nTempo=7\r\n");
  // In memory too: the start window reads the file only at its first load.
  EXPECT_TRUE(playerSettings.voiceEnabled);
  EXPECT_EQ(playerSettings.voiceRate, -3);
  EXPECT_FALSE(playerSettings.detailShade);
  EXPECT_EQ(playerSettings.textInterval, 25);
  EXPECT_FALSE(soundGlobals.soundEnabled);
  EXPECT_EQ(playerSettings.soundVolume, 64);
  EXPECT_FLOAT_EQ(playerSettings.soundTempo, 7.0f);
  // The voice switched on by the first OK speaks the next titles.
  EXPECT_EQ(calls, (std::vector<std::string>{"ShowStartWindow", "Speak Deetail Options 3", "ShowStartWindow",
                                             "Speak Sound Options 3", "ShowStartWindow"}));
}

TEST_F(OptionFormsTest, CancelAndTheCloseBoxChangeNothing) {
  for (ui::Form* form : std::initializer_list<ui::Form*>{&frmVoice, &frmDetail, &frmSound}) {
    for (bool closeBox : {false, true}) {
      SCOPED_TRACE(form->Name() + (closeBox ? " close box" : " cancel"));
      form->Show();
      for (const char* check : {"checkEnable", "checkShade"}) {
        try {
          Item(*form, check).value = 0;
        } catch (const std::exception&) {
        }
      }
      if (closeBox) {
        form->Unload(ui::kUnloadUser);
      } else {
        form->Control_Click("buttonCancel", 0);
      }
      EXPECT_FALSE(form->IsLoaded());
    }
  }
  EXPECT_FALSE(std::filesystem::exists(SettingsIniPath()));
  EXPECT_TRUE(soundGlobals.soundEnabled);
  EXPECT_TRUE(playerSettings.detailShade);
  EXPECT_EQ(calls.size(), 6u);  // each unload shows the start window
}

TEST_F(OptionFormsTest, VoiceListIndexAndNoVoices) {
  const struct {
    const char* name;
    std::vector<std::string> installed;
    std::int32_t stored;
    std::int32_t shown;
    std::int32_t saved;
  } cases[] = {
      {"stored voice", {"English", "German"}, 1, 1, 1},
      {"beyond the installed voices", {"English", "German"}, 2, 0, 0},
      {"negative", {"English"}, -1, 0, 0},
      {"no voice", {}, 0, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    voices = c.installed;
    playerSettings.voiceIndex = c.stored;
    frmVoice.Show();
    const ui::Control& list = Item(frmVoice, "listVoices");
    EXPECT_EQ(list.list, c.installed);
    EXPECT_EQ(list.listIndex, c.shown);
    EXPECT_EQ(list.enabled, !c.installed.empty());
    frmVoice.buttonOK_Click();
    EXPECT_EQ(playerSettings.voiceIndex, c.saved);
  }
}

TEST_F(OptionFormsTest, TitlesAreSpokenOnlyWithTheVoiceOn) {
  for (bool voice : {false, true}) {
    SCOPED_TRACE(voice);
    playerSettings.voiceEnabled = voice;
    calls.clear();
    for (ui::Form* form : std::initializer_list<ui::Form*>{&frmVoice, &frmDetail, &frmSound}) {
      form->Show();
      form->Unload();
    }
    std::vector<std::string> spoken;
    for (const std::string& call : calls) {
      if (call.rfind("Speak", 0) == 0) spoken.push_back(call);
    }
    if (voice) {
      EXPECT_EQ(spoken, (std::vector<std::string>{"Speak Voice Options 3", "Speak Deetail Options 3",
                                                  "Speak Sound Options 3"}));
    } else {
      EXPECT_TRUE(spoken.empty());
    }
  }
  EXPECT_EQ(frmDetail.caption, "Detail Options");
}

TEST_F(OptionFormsTest, TheDetailLabelFollowsTheSlider) {
  playerSettings.textInterval = 50;
  frmDetail.Show();
  EXPECT_EQ(frmDetail.Controls("txtInfo")[2].caption, "Text Interval : 50ms per character");
  Item(frmDetail, "sliderTextInterval").value = 5;
  frmDetail.sliderTextInterval_Scroll();
  EXPECT_EQ(frmDetail.Controls("txtInfo")[2].caption, "Text Interval : 5ms per character");
  Item(frmDetail, "sliderTextInterval").value = 10;
  frmDetail.sliderTextInterval_Change();
  EXPECT_EQ(frmDetail.Controls("txtInfo")[2].caption, "Text Interval : 10ms per character");
}

TEST_F(OptionFormsTest, SlidersHoldTheirRangesAndStoredValuesOutsideShowClamped) {
  const struct {
    ui::Form* form;
    const char* slider;
    std::int32_t min, max, large, small;
  } sliders[] = {
      {&frmVoice, "sliderRate", -10, 10, 5, 1},        {&frmVoice, "sliderVolume", 0, 100, 5, 1},
      {&frmDetail, "sliderTextInterval", 1, 50, 5, 5}, {&frmSound, "sliderTempo", 1, 11, 1, 1},
      {&frmSound, "sliderVolume", 0, 100, 10, 2},
  };
  // A hand-edited file: out of range, and not a number (which reads 0).
  WriteSettings(
      "[Voice]\r\nRate=50\r\nVolume=-5\r\n[Detail]\r\nTextInterval=abc\r\n[Sound2]\r\nVolume=250\r\n");
  playerSettings.voiceRate = ReadSetting(SettingKey::VoiceRate);
  playerSettings.voiceVolume = ReadSetting(SettingKey::VoiceVolume);
  playerSettings.textInterval = ReadSetting(SettingKey::DetailTextInterval);
  playerSettings.soundVolume = ReadSetting(SettingKey::Sound2Volume);
  EXPECT_EQ(playerSettings.textInterval, 0);
  for (const auto& s : sliders) {
    SCOPED_TRACE(s.slider);
    s.form->Show();
    const ui::Control& slider = Item(*s.form, s.slider);
    EXPECT_EQ(slider.min, s.min);
    EXPECT_EQ(slider.max, s.max);
    EXPECT_EQ(slider.largeChange, s.large);
    EXPECT_EQ(slider.smallChange, s.small);
    EXPECT_GE(slider.value, s.min);
    EXPECT_LE(slider.value, s.max);
    s.form->Control_Click("buttonOK", 0);
  }
  EXPECT_EQ(playerSettings.voiceRate, 10);
  EXPECT_EQ(playerSettings.voiceVolume, 0);
  EXPECT_EQ(playerSettings.textInterval, 1);
  EXPECT_EQ(playerSettings.soundVolume, 100);
}

TEST_F(OptionFormsTest, TheTempoStartsAtTheMinimumAndShowsTheChoiceOfThisRun) {
  WriteSettings("[Sound]\r\nTempo=9\r\n");  // never read back
  frmSound.Show();
  EXPECT_EQ(Item(frmSound, "sliderTempo").value, 1);
  frmSound.buttonOK_Click();
  EXPECT_FLOAT_EQ(playerSettings.soundTempo, 1.0f);
  EXPECT_NE(SettingsText().find("Tempo=1\r\n"), std::string::npos);
  frmSound.Show();
  Item(frmSound, "sliderTempo").value = 4;
  frmSound.buttonOK_Click();
  frmSound.Show();
  EXPECT_EQ(Item(frmSound, "sliderTempo").value, 4);
}

}  // namespace
}  // namespace kiv
