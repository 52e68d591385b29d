#include "player/game_window.h"

#include <SDL.h>

#include <memory>

#include "core/error.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/log.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/game_loading.h"
#include "data/map_references.h"
#include "dialogs/player_settings.h"
#include "mathkiv/math_init.h"
#include "media/device_reset.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/network_startup.h"
#include "media/sound_volumes.h"
#include "platform/gfx/window.h"
#include "platform/os/clock.h"
#include "player/main_loop.h"
#include "player/message_boxes.h"
#include "player/notices.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "state/project_settings_block.h"
#include "state/save_game.h"
#include "state/state_block.h"

namespace kiv {

GameWindow frmMain;

namespace {

constexpr std::int32_t kAllGroups = 0x3EFFF;
constexpr std::int32_t kOwnerKindCharacter = 3;
constexpr std::uint32_t kSizingAndMaximise = 0x50000;

// The game window's own SDL window, made by Start and adopted by the form.
std::unique_ptr<gfx::Window> gameWindow;

std::string ErrorText(std::exception_ptr error) {
  std::string message;
  const std::int32_t number = ErrorNumberOf(error, message);
  return "Error " + std::to_string(number) + ": " + message;
}

void ShowStateError(std::exception_ptr error) {
  ui::ShowMessageBox("State Error", "Cannot load game information from file:\n" + ErrorText(error),
                     ui::BoxIcon::Error);
}

// Unloads the resource groups a sequence that stopped early had loaded, so
// that the next game loads them again.
void UnloadGroupsLoadedSoFar() {
  if (shell.loadedGroups != 0) playerHooks.UnloadResources(static_cast<std::int32_t>(shell.loadedGroups));
}

// The loading steps between StartUpLoad and the resources: every set, the
// interfaces, relinking and the input sets. False when they did not all run.
bool LoadSetsAndLinks() {
  try {
    if (!LoadAllSets(false)) return false;
    LoadAllInterfaces();
    RelinkLoadedMaps();
    ResolveInputSetIds();
    return true;
  } catch (...) {
    ShowStateError(std::current_exception());
    return false;
  }
}

void BeginSavedOrNewGame(std::string& savePath) {
  if (!savePath.empty()) {
    if (LoadGame(savePath) != 0) shell.quitRequest = true;
    savePath.clear();
  } else {
    NewGame();
  }
}

}  // namespace

GameWindow::GameWindow() : ui::Form("frmMain", 800, 600) {}

void GameWindow::Start(const std::string& rGAME) {
  caption = gameFolderName;
  LogOpen(JoinPath(GetUserGameFolder(), "log.txt"));

  const bool resizable = playerSettings.resolutionChangeAllowed;
  // A window kept for a device that outlived the last game goes once the new device is made.
  std::unique_ptr<gfx::Window> previousWindow = std::move(gameWindow);
  gameWindow = std::make_unique<gfx::Window>(caption, graphics.videoWidth, graphics.videoHeight, false, resizable);
  gameWindow->SetIconFromFile(JoinPath(gameFolder, "icon.ico"));
  if (!resizable) {
    gameWindow->SetStyle(gameWindow->Style() & ~kSizingAndMaximise);
  }
  AdoptWindow(gameWindow.get());
  gameWindowHandle = gameWindow->Handle();

  bool started = false;
  try {
    started = DeviceStartUp(gameWindow.get());
  } catch (...) {
    const std::string text = ErrorText(std::current_exception());
    LogWriteLine("Device start-up failed: " + text);
    ui::ShowMessageBox("DirectX Error", "Could not start the graphics and input devices.\n" + text,
                       ui::BoxIcon::Error);
  }
  previousWindow.reset();
  if (started) {
    Show();
    std::string savePath = rGAME;
    StartGame(savePath);
  }

  LogWriteLine("Terminating DirectX.");
  playerHooks.ShutdownGraphics();
  LogWriteLine("Fixing window.");
  if (!graphics.videoWindowed && gameWindow) SDL_MaximizeWindow(gameWindow->Handle());
  LogWriteLine("Unloading.");
  Unload(ui::kUnloadCode);
  gameWindowHandle = nullptr;
  // The device draws into the window: the window stays (hidden) while a device lives.
  if (graphics.direct3dDevice) {
    SDL_HideWindow(gameWindow->Handle());
  } else {
    gameWindow.reset();
  }
  LogWriteLine("Closing log.");
  LogClose();
}

void GameWindow::Form_Activate() { InputUpdateMouseCooperation(); }

void GameWindow::Form_KeyDown(int& keyCode, int shift) {
  (void)shift;
  if (keyCode == 18) keyCode = 0;  // Alt alone would open the window menu
}

void GameWindow::Form_KeyPress(int& keyAscii) { MessageBoxTypeKey(keyAscii); }

void GameWindow::Form_QueryUnload(int& cancel, int unloadMode) {
  if (unloadMode == ui::kUnloadUser) {
    // The game ends through the main loop, which unloads the window by code.
    shell.quitRequest = true;
    cancel = 1;
  }
}

void GameWindow::Form_Unload(int& cancel) {
  (void)cancel;
  frmStart.Show();
  LogWriteLine("Unloading window finally.");
}

void StartGame(std::string& savePath) {
  const GameRunningScope running;  // errors of this game show as notices
  shell.currentPlayer = 0;
  shell.quitRequest = false;
  shell.screenScale = 1.0f;
  shell.playing = true;
  SoundSetGlobalVolumes(playerSettings.soundVolume);

  if (!StartUpLoad()) {
    UnloadGroupsLoadedSoFar();
  } else if (!LoadSetsAndLinks()) {
    UnloadGroupsLoadedSoFar();
  } else {
    LogWriteLine("Loading remaining resources.");
    if (playerHooks.InitResources(kAllGroups) == 0) {
      LogWriteLine("Updating DirectX.");
      InputUpdateMouseCooperation();
      bool begun = false;
      try {
        BeginSavedOrNewGame(savePath);
        begun = true;
      } catch (...) {
        ShowStateError(std::current_exception());
      }
      if (begun) {
        LogWriteLine("Starting game.");
        shell.loadingFade = 1000;
        MainLoop();
      }
    }
    LogWriteLine("Terminating all resources.");
    playerHooks.UnloadResources(kAllGroups);
  }
  InputUpdateMouseCooperation();
  LogWriteLine("Terminating data.");
  ResetGameData();
}

bool StartUpLoad() {
  shell.quitRequest = false;
  shell.drawingFrame = false;
  scriptEngine.tickStamp = os::GetTickCount();
  try {
    if (shell.loadedGroups == 0) {
      shell.loadingText.clear();
      shell.loadingProgress = 0;
      LogWriteLine("Loading font sets.");
      LoadFontSets();
      LogWriteLine("Loading font resources.");
      playerHooks.InitResources(1);
      LogWriteLine("Initializing screen.");
      playerHooks.RefreshViewedMaps(true);
      LogWriteLine("Loading sound sets.");
      LoadSoundSets();
      if (shell.quitRequest) return false;
      playerHooks.ShowLoadingProgress("Loading data packages...", 0);
      shell.tickBase = os::GetTickCount();
    }
    playerHooks.InitMessageBoxes(true);
    LogWriteLine("Initializing MathKiv.");
    MathInit(dataSettings.gridCellSize, storedProjectSettings.mathInitValue);
    LogWriteLine("Initializing winsock.");
    NetworkStartUp();
  } catch (...) {
    ShowStateError(std::current_exception());
    return false;
  }
  LogWriteLine("Finished starting game.");
  scriptEngine.tickStamp = os::GetTickCount();
  return true;
}

void NewGame() {
  // Scripts may remove characters from the list: its length is read again each time.
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(gameData.maps[-1].actors.size()); ++i) {
    ScriptRaiseObjectEvent(kOwnerKindCharacter, i, kSymTriggerActorLoaded, -1);
    if (i >= static_cast<std::int32_t>(gameData.maps[-1].actors.size())) break;
    if (gameData.maps[-1].actors[static_cast<std::size_t>(i)].removed == 0) {
      ScriptRaiseObjectEvent(kOwnerKindCharacter, i, kSymTriggerActorExistenceChanged, -1);
    }
  }

  MapNameReference& start = storedProjectSettings.startMap;
  std::int32_t startMap = ResolveMapReference(start.index, start.name, start.id, false, true);
  if (startMap < 0) startMap = -1;

  if (startMap >= 0) {
    for (Actor& actor : gameData.maps[-1].actors) {
      actor.x = static_cast<float>(storedProjectSettings.startX);
      actor.y = static_cast<float>(storedProjectSettings.startY);
      actor.z = static_cast<float>(storedProjectSettings.startZ);
    }
    // Each move takes the character out of the off-map list, so the next one
    // in the original order moves up by the number already moved.
    const auto count = static_cast<std::int32_t>(gameData.maps[-1].actors.size());
    for (std::int32_t k = 0; k < count; ++k) {
      const auto remaining = static_cast<std::int32_t>(gameData.maps[-1].actors.size());
      const std::int32_t index = k - (count - remaining);
      if (index < 0 || index >= remaining) break;
      playerHooks.SetCharacterPosition(index, -1, startMap, 0, 0);
    }
  }

  TriggerRun run;
  run.ownerKind = 0;
  run.ownerIndex = 0;
  run.map = startMap;
  ScriptRunTrigger(run);
}

void LoadProjectState(bool reset) {
  (void)reset;  // the game-data reset is always the full one
  ResetGameData();
  LoadProjectState();
}

}  // namespace kiv
