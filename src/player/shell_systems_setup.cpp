#include "player/shell_systems_setup.h"

#include "data/data_hooks.h"
#include "data/project_state.h"
#include "media/audio_startup.h"
#include "player/game_reset.h"
#include "player/input_system.h"
#include "player/loading_progress.h"
#include "player/message_boxes.h"
#include "player/player_hooks.h"
#include "player/resource_groups.h"
#include "player/script_message_state.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv {

namespace {

constexpr std::int32_t kWaitNoSystemMenu = 1;
constexpr std::int32_t kWaitMusicEnded = 4;
constexpr std::int32_t kWaitNoInterface = 0x20;
constexpr std::int32_t kWaitInnClosed = 16;

// A wait for the music's end never waits on music that cannot play: with the
// sound off, nothing queued, or a first entry that names no sound.
bool MusicWaitOver() {
  if (!soundGlobals.soundEnabled || soundGlobals.musicList.empty() || soundGlobals.musicList.front() < 0) {
    return true;
  }
  return soundGlobals.musicEnded.load();
}

}  // namespace

void InstallShellSystems() {
  playerHooks.WorldUpdate = [] { WorldUpdate(); };
  playerHooks.InitResources = [](std::int32_t groups) { return InitResources(groups); };
  playerHooks.UnloadResources = [](std::int32_t groups) { UnloadResources(groups); };
  playerHooks.ShowLoadingProgress = [](const std::string& text, float step) { ShowLoadingProgress(text, step); };
  playerHooks.RefreshViewedMaps = [](bool reset) { RefreshViewedMaps(reset); };
  playerHooks.RestartGame = [] { RestartGame(); };
  playerHooks.ShutdownGraphics = [] { ShutdownGraphics(); };

  stateHooks.ReloadGameData = [](std::int32_t mode) { ReloadGameData(mode != 0); };
  stateHooks.InitResources = [](std::uint32_t mask) { InitResources(static_cast<std::int32_t>(mask)); };
  stateHooks.ShowLoadingProgress = [](const std::string& text, float step) { ShowLoadingProgress(text, step); };
  stateHooks.RefreshViewedMaps = [](std::int32_t mode) { RefreshViewedMaps(mode != 0); };

  dataHooks.ShowLoadingProgress = [](const std::string& text, float step) { ShowLoadingProgress(text, step); };
  dataHooks.RefreshViewedMaps = [](std::int32_t flag) { RefreshViewedMaps(flag != 0); };
  dataHooks.SetInputSetEnabled = [](std::int32_t player, std::int32_t set, bool enabled) {
    SetInputSetEnabled(player, set, enabled ? 1 : 0);
  };

  triggerHooks.TickElapsed = [] { return shell.frameElapsed; };
  triggerHooks.SystemMenuOpen = [] { return messageBoxState != 0; };
  // The shop wait (8) belongs to its command and stays met here.
  triggerHooks.WaitFlagMet = [](std::int32_t flag) {
    switch (flag) {
      case kWaitNoSystemMenu:
        return messageBoxState == 0;
      case kWaitMusicEnded:
        return MusicWaitOver();
      case kWaitNoInterface:
        return projectState.currentPlayerInterface.index < 0;
      case kWaitInnClosed:
        return innRequest.done != 0;
      default:
        return true;
    }
  };
}

}  // namespace kiv
