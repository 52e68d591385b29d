#include "core/text_encoding.h"
#include "dialogs/dialog_devices.h"
#include "dialogs/option_forms.h"
#include "dialogs/player_settings.h"
#include "dialogs/settings_file.h"

namespace kiv {

VoiceForm frmVoice;

VoiceForm::VoiceForm() : DialogForm("frmVoice", 360, 164) { caption = "Voice Options"; }

void VoiceForm::Form_Load() {
  ClearControls();
  ui::ControlArrayOf& labels = AddControlArray("txtInfo", ui::ControlKind::Label, 4);
  const char* texts[] = {"Enable :", "Voice :", "Speed :", "Volume :"};
  for (std::size_t i = 0; i < 4; ++i) {
    labels[i].caption = texts[i];
    labels[i].left = 8, labels[i].top = 11 + 28 * static_cast<std::int32_t>(i), labels[i].width = 70;
    labels[i].height = 16;
  }
  AddControl("checkEnable", ui::ControlKind::CheckBox, 80, 8, 260, 20, "Enable Voice");
  AddControl("listVoices", ui::ControlKind::DropDown, 80, 36, 272, 20);
  AddControl("sliderRate", ui::ControlKind::Slider, 80, 64, 272, 20);
  AddControl("sliderVolume", ui::ControlKind::Slider, 80, 92, 272, 20);
  AddControl("buttonOK", ui::ControlKind::Button, 160, 130, 92, 25, "&OK").isDefault = true;
  AddControl("buttonCancel", ui::ControlKind::Button, 260, 130, 92, 25, "&Cancel").isCancel = true;

  Item("checkEnable").value = playerSettings.voiceEnabled ? 1 : 0;
  ui::Control& voices = Item("listVoices");
  voices.Clear();
  const std::int32_t count = std::max(dialogDevices.VoiceCount(), 0);
  for (std::int32_t i = 0; i < count; ++i) voices.AddItem(Utf16ToAnsi(dialogDevices.VoiceName(i)));
  const std::int32_t index = playerSettings.voiceIndex;
  if (voices.list.empty()) {
    voices.enabled = false;  // no voice to choose
  } else {
    voices.listIndex = index >= 0 && index < count ? index : 0;
  }
  SetSlider(Item("sliderRate"), -10, 10, 5, 1, playerSettings.voiceRate);
  SetSlider(Item("sliderVolume"), 0, 100, 5, 1, playerSettings.voiceVolume);
  SpeakDialogTitle(u"Voice Options");
}

void VoiceForm::Control_Click(const std::string& arrayName, int /*index*/) {
  if (arrayName == "buttonOK") buttonOK_Click();
  if (arrayName == "buttonCancel") buttonCancel_Click();
}

void VoiceForm::buttonOK_Click() {
  playerSettings.voiceEnabled = Item("checkEnable").value != 0;
  playerSettings.voiceIndex = std::max(Item("listVoices").listIndex, 0);
  playerSettings.voiceRate = Item("sliderRate").value;
  playerSettings.voiceVolume = Item("sliderVolume").value;
  WriteSettingFlag(SettingKey::VoiceEnable, playerSettings.voiceEnabled);
  WriteSetting(SettingKey::VoiceIndex, playerSettings.voiceIndex);
  WriteSetting(SettingKey::VoiceRate, playerSettings.voiceRate);
  WriteSetting(SettingKey::VoiceVolume, playerSettings.voiceVolume);
  Unload();
}

void VoiceForm::buttonCancel_Click() { Unload(); }

}  // namespace kiv
