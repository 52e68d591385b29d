#pragma once
// The three small option windows of the start window: frmVoice ("Voice
// Options"), frmDetail ("Detail Options") and frmSound ("Sound Options"). Each
// shows a few in-memory settings; "&OK" keeps the choice in memory and writes
// it to "SETTINGS.INI", "&Cancel" and the close box change nothing.
#include <string>

#include "dialogs/dialog_form.h"

namespace kiv {

class VoiceForm : public DialogForm {
 public:
  VoiceForm();
  void Form_Load() override;
  void Control_Click(const std::string& arrayName, int index) override;
  void buttonOK_Click();
  void buttonCancel_Click();
};
extern VoiceForm frmVoice;

class DetailForm : public DialogForm {
 public:
  DetailForm();
  void Form_Load() override;
  void Control_Click(const std::string& arrayName, int index) override;
  void Control_Change(const std::string& arrayName, int index) override;
  void Control_Scroll(const std::string& arrayName, int index) override;
  void sliderTextInterval_Change();
  void sliderTextInterval_Scroll();
  void buttonOK_Click();
  void buttonCancel_Click();
};
extern DetailForm frmDetail;

class SoundForm : public DialogForm {
 public:
  SoundForm();
  void Form_Load() override;
  void Control_Click(const std::string& arrayName, int index) override;
  void buttonOK_Click();
  void buttonCancel_Click();
};
extern SoundForm frmSound;

}  // namespace kiv
