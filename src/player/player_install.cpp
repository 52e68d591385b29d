#include "player/player_install.h"

#include "core/hooks.h"
#include "data/data_hooks.h"
#include "data/project_state.h"
#include "dialogs/dialog_hooks.h"
#include "media/graphics.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/main_loop.h"
#include "player/message_boxes.h"
#include "player/notices.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "script/trigger_dispatch.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "state/state_hooks.h"

namespace kiv {

namespace {

constexpr std::int32_t kLoadEventSlot = 9;

std::int32_t ActivePlayerMap() {
  const std::int32_t player = shell.currentPlayer;
  if (player < 0 || player >= static_cast<std::int32_t>(projectState.players.size())) return -1;
  return projectState.players[static_cast<std::size_t>(player)].mapIndex;
}

void RestartTickBase() { shell.tickBase = os::GetTickCount(); }

}  // namespace

void InstallPlayerHooks() {
  dataHooks.YieldToWindowSystem = [] { loopPlatform.DoEvents(); };
  dataHooks.QuitRequested = [] { return shell.quitRequest; };
  dataHooks.RestartTickBase = [] { RestartTickBase(); };
  dataHooks.ActivePlayerMap = [] { return ActivePlayerMap(); };
  // A start interface shown as an overlay runs its map's trigger.
  dataHooks.RunOverlayTrigger = [](std::int32_t map) {
    TriggerRun run;
    run.ownerKind = kOwnerMap;
    run.ownerIndex = 0;
    run.map = map;
    ScriptRunTrigger(run);
  };
  dataHooks.ResetShellState = [] {
    RestartTickBase();
    gameState.paused = 0;
    shell.pendingSlotLoad = -1;
    messageBoxState = 0;
    notices.clear();
  };

  stateHooks.ResetTickBase = [] { RestartTickBase(); };
  stateHooks.RunLoadEvent = [] {
    TriggerRun run;
    run.ownerKind = kOwnerSystem;
    run.ownerIndex = kLoadEventSlot;
    run.map = ActivePlayerMap();
    ScriptRunTrigger(run);
  };

  scriptHooks.CurrentPlayer = [] { return shell.currentPlayer; };
  scriptHooks.TickCount = [] { return os::GetTickCount(); };

  // The project's pointer flag makes the pointer pick by colour.
  graphicsHooks.pickByColor = [] { return storedProjectSettings.inputPointerFlag != 0; };
  graphicsHooks.captureMouseInWindow = [] { return storedProjectSettings.captureMouse != 0; };
  graphicsHooks.quitRequest = [] { return shell.quitRequest; };
  graphicsHooks.messageBox = [](const std::string& text, const std::string& title, BoxIcon icon) {
    ui::ShowMessageBox(title, text,
                       icon == BoxIcon::kInformation ? ui::BoxIcon::Information : ui::BoxIcon::Error);
  };
  // Each option dialog shows the start window again when it unloads.
  dialogHooks.ShowStartWindow = [] { frmStart.Show(); };
  SetMessageBoxHook([](const std::string& caption, const std::string& text) {
    ui::ShowMessageBox(caption, text, ui::BoxIcon::Error);
  });
}

}  // namespace kiv
