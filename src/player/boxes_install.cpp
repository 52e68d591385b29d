#include "player/boxes_install.h"

#include "core/hooks.h"
#include "core/text_encoding.h"
#include "player/builtin_message_boxes.h"
#include "player/load_dialog.h"
#include "player/notices.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/slot_menu.h"
#include "player/start_window.h"

namespace kiv {

void InstallBoxesAndNotices() {
  playerHooks.InitMessageBoxes = [](bool firstTime) { InitMessageBoxes(firstTime); };
  playerHooks.MessageBoxSystem = [] { RunSystemMessageBoxes(); };
  playerHooks.MessageSystem = [] { AgeNotices(shell.frameElapsed); };
  startWindowHooks.ShowLoadDialog = [] { frmStartLoad.Show(); };
  SetNoticeHook([](const std::string& text, bool merge) {
    if (GameRunning()) PostNotice(AnsiToUtf16(text), merge);
  });
}

}  // namespace kiv
