#include <cmath>

#include "dialogs/dialog_devices.h"
#include "dialogs/option_forms.h"
#include "dialogs/player_settings.h"
#include "dialogs/settings_file.h"
#include "media/audio_startup.h"

namespace kiv {

SoundForm frmSound;

SoundForm::SoundForm() : DialogForm("frmSound", 360, 136) { caption = "Sound Options"; }

void SoundForm::Form_Load() {
  ClearControls();
  ui::ControlArrayOf& labels = AddControlArray("txtInfo", ui::ControlKind::Label, 3);
  const char* texts[] = {"Enable :", "Speed :", "Volume :"};
  for (std::size_t i = 0; i < 3; ++i) {
    labels[i].caption = texts[i];
    labels[i].left = 8, labels[i].top = 11 + 28 * static_cast<std::int32_t>(i), labels[i].width = 70;
    labels[i].height = 16;
  }
  AddControl("checkEnable", ui::ControlKind::CheckBox, 80, 8, 272, 20, "Enable Sound Effects and Music");
  AddControl("sliderTempo", ui::ControlKind::Slider, 80, 36, 272, 20);
  AddControl("sliderVolume", ui::ControlKind::Slider, 80, 64, 272, 20);
  AddControl("buttonOK", ui::ControlKind::Button, 160, 102, 92, 25, "&OK").isDefault = true;
  AddControl("buttonCancel", ui::ControlKind::Button, 260, 102, 92, 25, "&Cancel").isCancel = true;

  Item("checkEnable").value = soundGlobals.soundEnabled ? 1 : 0;
  // The tempo is 0 until an OK of this run; it then shows at the slider's minimum.
  const std::int32_t tempo = static_cast<std::int32_t>(std::nearbyint(playerSettings.soundTempo));
  SetSlider(Item("sliderTempo"), 1, 11, 1, 1, tempo);
  SetSlider(Item("sliderVolume"), 0, 100, 10, 2, playerSettings.soundVolume);
  SpeakDialogTitle(u"Sound Options");
}

void SoundForm::Control_Click(const std::string& arrayName, int /*index*/) {
  if (arrayName == "buttonOK") buttonOK_Click();
  if (arrayName == "buttonCancel") buttonCancel_Click();
}

void SoundForm::buttonOK_Click() {
  soundGlobals.soundEnabled = Item("checkEnable").value != 0;
  playerSettings.soundTempo = static_cast<float>(Item("sliderTempo").value);
  playerSettings.soundVolume = Item("sliderVolume").value;
  WriteSettingFlag(SettingKey::Sound2Enable, soundGlobals.soundEnabled);
  WriteSettingReal(SettingKey::SoundTempo, playerSettings.soundTempo);
  WriteSetting(SettingKey::Sound2Volume, playerSettings.soundVolume);
  Unload();
}

void SoundForm::buttonCancel_Click() { Unload(); }

}  // namespace kiv
