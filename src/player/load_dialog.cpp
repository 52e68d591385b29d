#include "player/load_dialog.h"

#include <filesystem>

#include "dialogs/player_settings.h"
#include "player/builtin_message_boxes.h"
#include "player/slot_menu.h"
#include "player/start_window.h"
#include "player/start_window_voice.h"

namespace kiv {

StartLoadWindow frmStartLoad;

namespace {
constexpr const char* kSlotButtons = "buttonSlot";
}  // namespace

StartLoadWindow::StartLoadWindow() : ui::Form("frmStartLoad", 313, 133) {
  caption = "Load Saved Game";
  ui::ControlArrayOf& buttons = AddControlArray(kSlotButtons, ui::ControlKind::Button, kSlotCount);
  for (std::int32_t n = 0; n < kSlotCount; ++n) {
    buttons[static_cast<std::size_t>(n)] = ui::Control{"", "", 4, 4 + 32 * n, 305, 29};
  }
}

void StartLoadWindow::Form_Load() {
  ui::ControlArrayOf& buttons = Controls(kSlotButtons);
  for (std::int32_t n = 0; n < kSlotCount; ++n) {
    ui::Control& button = buttons[static_cast<std::size_t>(n)];
    button.caption = ReadSlotName(n);
    // Only a regular file is a save: a folder or a special file of that name counts as missing.
    std::error_code error;
    button.enabled = std::filesystem::is_regular_file(SlotSavePath(n), error);
  }
  if (playerSettings.voiceEnabled) SpeakMenuText(u"Load Saved Game");
}

void StartLoadWindow::Form_QueryUnload(int& /*cancel*/, int unloadMode) {
  if (unloadMode == ui::kUnloadUser) frmStart.Show();
}

void StartLoadWindow::Control_Click(const std::string& arrayName, int index) {
  if (arrayName == kSlotButtons) buttonSlot_Click(index);
}

void StartLoadWindow::buttonSlot_Click(int index) {
  if (index < 0 || index >= kSlotCount) return;
  if (!playerSettings.voiceEnabled) ReleaseVoice();
  Unload();
  // Start shows the game window once its devices are up, and the start
  // window again when the game is over.
  startWindowDevices.StartGame(SlotSavePath(index));
}

}  // namespace kiv
