#include "dialogs/dialog_devices.h"
#include "dialogs/option_forms.h"
#include "dialogs/player_settings.h"
#include "dialogs/settings_file.h"

namespace kiv {

DetailForm frmDetail;

DetailForm::DetailForm() : DialogForm("frmDetail", 420, 164) { caption = "Detail Options"; }

void DetailForm::Form_Load() {
  ClearControls();
  ui::ControlArrayOf& labels = AddControlArray("txtInfo", ui::ControlKind::Label, 3);
  labels[0].caption = "Visual :";
  labels[0].left = 8, labels[0].top = 11, labels[0].width = 60, labels[0].height = 16;
  labels[1].visible = false;  // the design's second label holds no text
  labels[2].left = 8, labels[2].top = 92, labels[2].width = 404, labels[2].height = 16;
  AddControl("checkTranslucent", ui::ControlKind::CheckBox, 72, 8, 340, 20,
             "Render translucent and transparent effects.");
  AddControl("checkShade", ui::ControlKind::CheckBox, 72, 32, 340, 20,
             "Render shading (smoother lighting, dials and text).");
  AddControl("checkSpecular", ui::ControlKind::CheckBox, 72, 56, 340, 20,
             "Render high-light effects (object flashing, etc...).");
  AddControl("sliderTextInterval", ui::ControlKind::Slider, 8, 108, 404, 20);
  AddControl("buttonOK", ui::ControlKind::Button, 220, 134, 92, 25, "&OK").isDefault = true;
  AddControl("buttonCancel", ui::ControlKind::Button, 320, 134, 92, 25, "&Cancel").isCancel = true;

  Item("checkTranslucent").value = playerSettings.detailTranslucent ? 1 : 0;
  Item("checkShade").value = playerSettings.detailShade ? 1 : 0;
  Item("checkSpecular").value = playerSettings.detailSpecular ? 1 : 0;
  SetSlider(Item("sliderTextInterval"), 1, 50, 5, 5, playerSettings.textInterval);
  sliderTextInterval_Change();
  SpeakDialogTitle(u"Deetail Options");  // spelt for the voice; the caption reads "Detail Options"
}

void DetailForm::Control_Click(const std::string& arrayName, int /*index*/) {
  if (arrayName == "buttonOK") buttonOK_Click();
  if (arrayName == "buttonCancel") buttonCancel_Click();
}

void DetailForm::Control_Change(const std::string& arrayName, int /*index*/) {
  if (arrayName == "sliderTextInterval") sliderTextInterval_Change();
}

void DetailForm::Control_Scroll(const std::string& arrayName, int /*index*/) {
  if (arrayName == "sliderTextInterval") sliderTextInterval_Scroll();
}

void DetailForm::sliderTextInterval_Change() {
  Controls("txtInfo")[2].caption =
      "Text Interval : " + std::to_string(Item("sliderTextInterval").value) + "ms per character";
}

void DetailForm::sliderTextInterval_Scroll() { sliderTextInterval_Change(); }

void DetailForm::buttonOK_Click() {
  playerSettings.detailTranslucent = Item("checkTranslucent").value != 0;
  playerSettings.detailShade = Item("checkShade").value != 0;
  playerSettings.detailSpecular = Item("checkSpecular").value != 0;
  playerSettings.textInterval = Item("sliderTextInterval").value;
  WriteSettingFlag(SettingKey::DetailTranslucent, playerSettings.detailTranslucent);
  WriteSettingFlag(SettingKey::DetailShade, playerSettings.detailShade);
  WriteSettingFlag(SettingKey::DetailSpecular, playerSettings.detailSpecular);
  WriteSetting(SettingKey::DetailTextInterval, playerSettings.textInterval);
  Unload();
}

void DetailForm::buttonCancel_Click() { Unload(); }

}  // namespace kiv
