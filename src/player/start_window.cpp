#include "player/start_window.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/folders.h"
#include "core/ini.h"
#include "core/log.h"
#include "core/package.h"
#include "core/random.h"
#include "core/text_encoding.h"
#include "dialogs/controls_file.h"
#include "dialogs/input_form.h"
#include "dialogs/option_forms.h"
#include "dialogs/player_settings.h"
#include "dialogs/video_form.h"
#include "media/graphics.h"
#include "platform/gfx/window.h"
#include "platform/os/system_folders.h"
#include "player/game_window.h"
#include "player/shell_state.h"
#include "player/start_window_menu.h"
#include "player/start_window_voice.h"

namespace kiv {

StartWindow frmStart;

namespace {

namespace fs = std::filesystem;

int exitCode = 0;

constexpr const char* kButtons = "buttonAction";

// [Main Menu] keys and defaults of the ten buttons.
constexpr const char* kButtonKeys[10][2] = {
    {"Start New Game", "Start New Game"}, {"Load Saved Game", "Load Saved Game"},
    {"Start Multiplayer Game", "#"},      {"Video Options", "Video Options"},
    {"Detail Options", "Detail Options"}, {"Input Options", "Input Options"},
    {"Sound Options", "Sound Options"},   {"Voice Options", "Voice Options"},
    {"Website", "Go to [Game] Website!"}, {"Quit", "Quit [Game]"},
};

// The program's file name without its extension.
std::string ProgramName() { return fs::path(os::ExecutablePath()).stem().string(); }

std::string WithoutAccessMarks(const std::string& caption) {
  std::string text;
  for (char c : caption) {
    if (c != '&') text += c;
  }
  return text;
}

// Moves the saves of an older installation from the game folder into the
// user folder. A save that is missing, or that the user folder has already,
// stays where it is.
void MoveOldSaves() {
  const std::string userFolder = GetUserGameFolder();
  if (userFolder == gameFolder) return;
  for (int n = 0; n < 4; ++n) {
    const std::string name = "SAVE" + std::to_string(n) + ".kSV";
    const fs::path from = JoinPath(gameFolder, name);
    const fs::path to = JoinPath(userFolder, name);
    std::error_code error;
    if (!fs::is_regular_file(from, error) || fs::exists(to, error)) continue;
    fs::rename(from, to, error);
    if (error == std::errc::cross_device_link) {
      // Another file system: copy, and remove the old one only once the copy stands.
      if (fs::copy_file(from, to, error) && !error) fs::remove(from, error);
    }
  }
}

// Ends the program from a load of the start window: no window is left.
void EndFromLoad(int code) {
  exitCode = code;
  frmStart.Unload();
}

}  // namespace

int StartWindowExitCode() { return exitCode; }
void ClearStartWindowExitCode() { exitCode = 0; }

StartWindow::StartWindow() : ui::Form("frmStart", 700, 500) {
  ui::ControlArrayOf& buttons = AddControlArray(kButtons, ui::ControlKind::Button, 10);
  for (std::size_t i = 0; i < 10; ++i) {
    buttons[i] = ui::Control{kButtonKeys[i][1], "", 420, 4 + 37 * static_cast<std::int32_t>(i), 277, 33};
  }
  buttons[0].isDefault = true;
  buttons[9].isCancel = true;
  ui::ControlArrayOf& info = AddControlArray("txtInfo", ui::ControlKind::Label, 2);
  info[0] = ui::Control{"Custom", "", 420, 468, 277, 15};
  info[1] = ui::Control{"", "", 420, 484, 277, 15};
  // The web page is left out: the picture box only marks its place.
  AddControlArray("picSite", ui::ControlKind::PictureBox, 1)[0] = ui::Control{"", "", 4, 4, 413, 493};
}

bool StartWindow::Initialize(const std::string& commandLine) {
  RandomSeedFromClock();
  int result = 0;
  if (!commandLine.empty()) {
    // Made absolute now: the load changes the current folder.
    std::error_code error;
    fs::path absolute = fs::absolute(commandLine, error);
    const std::string path = error ? commandLine : absolute.lexically_normal().string();
    gameFolder = PackageFolderOf(path);
    if (gameFolder.empty()) gameFolder = ProgramFolder();
    result = PackageLoad(path, kPackageOldNameLength);
    if (result != 0) {
      ui::ShowMessageBox("Resource File Error", "Could not load resource file properly.", ui::BoxIcon::Error);
    }
  } else {
    gameFolder = ProgramFolder();
    result = PackageLoad(JoinPath(gameFolder, "DATA.kRC"), kPackageOldNameLength);
    if (result != 0) {
      ui::ShowMessageBox("Resource File Error",
                         "Could not load resource file properly.  Make sure DATA.kRC is located in the same "
                         "folder as " +
                             Utf8ToAnsi(ProgramName()) + ".",
                         ui::BoxIcon::Error);
    }
  }
  gameFolderName = GameFolderName(gameFolder);
  if (result != 0) exitCode = 1;
  return result == 0;
}

void StartWindow::Form_Load() {
  // 1. The program's folder is the current folder.
  if (chdir(ProgramFolder().c_str()) != 0) {
    // Nothing here opens files by relative name; the folder only matters to the game's own files.
  }
  // 2, 3.
  MoveOldSaves();
  shell.playing = true;
  // 4. The project state; a package whose state cannot be read ends the program.
  try {
    LoadProjectState(true);
  } catch (const std::exception& error) {
    ui::ShowMessageBox("State Error",
                       std::string("Cannot load game information from file:\r\n") + error.what(),
                       ui::BoxIcon::Error);
    if (shell.startupDone) ShutdownDevices();
    EndFromLoad(1);
    return;
  }
  // 5. The user's own bindings; a damaged file is noted and the project's bindings stand.
  try {
    LoadControlsFile();
  } catch (const std::exception& error) {
    ErrorLogAppend(std::string("Could not read ") + kControlsFileName + ": " + error.what());
  }
  // 6. "DATA.INI" as "TEMP.DAT".
  const MenuIni menu;
  // 7. The icon.
  if (SDL_Window* handle = WindowHandle()) {
    gfx::Window window(handle);
    window.SetIconFromFile(JoinPath(gameFolder, "icon.ico"));
  }
  // 8. Captions.
  const std::string title = menu.Text("Caption Title", "Welcome to [Game]!");
  caption = title == "#" ? std::string() : title;
  ui::ControlArrayOf& buttons = Controls(kButtons);
  std::string captions[10];
  for (std::size_t i = 0; i < 10; ++i) captions[i] = menu.Text(kButtonKeys[i][0], kButtonKeys[i][1]);
  buttons[8].tag = menu.Text("Website URL", "about:blank");
  captions[2] = "#";
  // 9. Layout.
  ButtonPlace places[10];
  LayOutMenuButtons(captions, places);
  for (std::size_t i = 0; i < 10; ++i) {
    buttons[i].caption = captions[i];
    buttons[i].visible = places[i].visible;
    if (!places[i].visible) continue;
    buttons[i].top = places[i].top;
    buttons[i].height = places[i].height;
  }
  // 10. The page's game number (the page itself is left out).
  gameId = IniReadInt(JoinPath(ProgramFolder(), "game.ini"), "game", "id", 0);
  // 11. Once per process: the settings and the DirectX objects.
  if (!shell.startupDone) {
    shell.startupDone = true;
    ReadFirstLoadSettings(menu);
    std::int32_t number = startWindowDevices.CreateDirectX();
    std::string boxTitle, boxText;
    if (number != 0) {
      boxTitle = "DirectX 8 Initialization Error " + std::to_string(number);
      boxText =
          "DirectX 8 couldn't initialize properly.  This could be that you do not have the required DirectX "
          "8 "
          "libraries, or you do not have DirectX 8 installed at all.\r\n\r\nCheck that the graphics and "
          "input "
          "libraries the player needs are installed, or install the game again with its setup program.";
    } else if ((number = startWindowDevices.CreateDirectInput()) != 0) {
      boxTitle = "DirectX 8 : DirectInput 8 Initialization Error " + std::to_string(number);
      boxText =
          "DirectX 8 : DirectInput 8 couldn't initialize properly.  Although DirectX 8 itself initialized "
          "perfectly.  This is a major error and is beyond our control to fix this problem.\r\n\r\nPlease "
          "report it to the maker of your operating system's input support.";
    } else {
      graphics.defaultVertexFormat = 452;  // the screen-vertex format
      if ((number = startWindowDevices.CreateDirect3D()) != 0) {
        boxTitle = "DirectX 8 : Direct3D 8 Initialization Error " + std::to_string(number);
        boxText =
            "DirectX 8 : Direct3D 8 couldn't initialize properly.  Although DirectX 8 itself initialized "
            "perfectly.  This is a major error and is beyond our control to fix this problem.\r\n\r\nPlease "
            "report it to the maker of your graphics driver.";
      }
    }
    if (number != 0) {
      ui::ShowMessageBox(boxTitle, boxText, ui::BoxIcon::Error);
      ShutdownDevices();
      EndFromLoad(1);  // "TEMP.DAT" stays behind
      return;
    }
  }
  // 12.
  PackageDeleteTemp();
}

void StartWindow::Form_Activate() {
  {
    const MenuIni menu;
    ReadActivationSettings(menu);
  }
  PackageDeleteTemp();
  ReadScreenSettings();
  if (!startWindowDevices.SoundStartUp()) Controls(kButtons)[6].enabled = false;
  InitSpeechVoice();
}

void StartWindow::Form_QueryUnload(int& /*cancel*/, int unloadMode) {
  if (unloadMode != ui::kUnloadUser) return;
  if (playerSettings.voiceEnabled) SpeakMenuText(u"Quit");
  ShutdownDevices();
}

void StartWindow::Form_Unload(int& /*cancel*/) {
  try {
    DeleteFileIfExists(JoinPath(ProgramFolder(), "MULTI.TMP"));
  } catch (const std::exception&) {
    // Every error is ignored: the file is a left-over of another mode.
  }
}

void StartWindow::Control_Click(const std::string& arrayName, int index) {
  if (arrayName == kButtons) buttonAction_Click(index);
}

void StartWindow::buttonAction_Click(int index) {
  switch (index) {
    case 0:
      if (playerSettings.voiceEnabled) {
        SpeakMenuText(AnsiToUtf16(WithoutAccessMarks(Controls(kButtons)[0].caption)));
      } else {
        ReleaseVoice();
      }
      Unload();
      startWindowDevices.StartGame(std::string());
      break;
    case 1:
      Unload();
      startWindowHooks.ShowLoadDialog();
      break;
    case 3:
      Unload();
      frmVideo.Show();
      break;
    case 4:
      Unload();
      frmDetail.Show();
      break;
    case 5:
      Hide();
      if (playerSettings.voiceEnabled) SpeakMenuText(u"Input Options");
      Unload();
      frmInput.Show();
      break;
    case 6:
      Unload();
      frmSound.Show();
      break;
    case 7:
      Unload();
      frmVoice.Show();
      break;
    case 8:
      ui::OpenUrl(Controls(kButtons)[8].tag);
      if (playerSettings.voiceEnabled) SpeakMenuText(u"Loading website.");
      break;
    case 9: {
      int cancel = 0;
      Form_QueryUnload(cancel, ui::kUnloadUser);
      Unload();
      break;
    }
    default:
      break;  // button 2 is never shown
  }
}

}  // namespace kiv
