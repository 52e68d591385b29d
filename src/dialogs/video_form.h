#pragma once
// frmVideo ("Video Options"): the display adapter, the rendering device and
// either a full-screen display mode or a window size, kept in memory and in
// "SETTINGS.INI" [Render]. The package's "DATA.INI" may forbid changing the
// resolution or the full-screen state.
#include <cstdint>
#include <string>

#include "dialogs/dialog_form.h"

namespace kiv {

// "800x600x60Hz 32bit ID:22": the text of a display mode's entry.
std::string VideoModeText(std::int32_t width, std::int32_t height, std::int32_t refresh, std::int32_t format);

class VideoForm : public DialogForm {
 public:
  VideoForm();
  void Form_Load() override;
  void Control_Click(const std::string& arrayName, int index) override;

  void listAdapter_Click();
  void checkWindow_Click();
  void buttonOK_Click();
  void buttonCancel_Click();
};
extern VideoForm frmVideo;

}  // namespace kiv
