#include "player/start_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/package.h"
#include "data/game_data.h"
#include "dialogs/input_form.h"
#include "dialogs/option_forms.h"
#include "dialogs/player_settings.h"
#include "dialogs/video_form.h"
#include "media/audio_startup.h"
#include "media/graphics.h"
#include "platform/os/system_folders.h"
#include "player/shell_state.h"
#include "player/start_window_fixture.h"
#include "state/controls_block.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using test::ReadTestFile;
using test::StartWindowTest;
using test::WriteTestFile;

ui::ControlArrayOf& Buttons() { return frmStart.Controls("buttonAction"); }

std::vector<std::int32_t> VisibleTops() {
  std::vector<std::int32_t> tops;
  for (const ui::Control& button : Buttons().items) {
    if (button.visible) tops.push_back(button.top);
  }
  return tops;
}

TEST_F(StartWindowTest, ButtonLayoutFollowsTheMenuCaptions) {
  const struct {
    const char* name;
    const char* menu;  // [Main Menu] lines after the header
    std::vector<std::int32_t> tops;
    std::vector<bool> visible;
  } cases[] = {
      {"all but button 2",
       "",
       {4, 41, 82, 119, 156, 193, 230, 271, 312},
       {true, true, false, true, true, true, true, true, true, true}},
      {"options hidden",
       "Video Options=#\r\nDetail Options=#\r\nInput Options=#\r\nSound Options=#\r\nVoice Options=#\r\n",
       {4, 41, 82, 123},
       {true, true, false, false, false, false, false, false, true, true}},
      {"\"#\" keeps buttons 0 and 9",
       "Start New Game=#\r\nQuit=#\r\nLoad Saved Game=#\r\nWebsite=#\r\n",
       {4, 45, 82, 119, 156, 193, 234},
       {true, false, false, true, true, true, true, true, false, true}},
      {"button 2 never shows",
       "Start Multiplayer Game=Play Together\r\n",
       {4, 41, 82, 119, 156, 193, 230, 271, 312},
       {true, true, false, true, true, true, true, true, true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start("[Main Menu]\r\n" + std::string(c.menu));
    EXPECT_EQ(VisibleTops(), c.tops);
    for (std::size_t i = 0; i < 10; ++i) {
      EXPECT_EQ(Buttons()[i].visible, c.visible[i]) << "button " << i;
      EXPECT_TRUE(!Buttons()[i].visible || Buttons()[i].height == 33) << "button " << i;
    }
    EXPECT_EQ(Buttons()[2].caption, "#");
    frmStart.Unload();
  }
  // "#" on buttons 0 and 9 is their caption.
  EXPECT_EQ(Buttons()[0].left, 420);
  EXPECT_EQ(Buttons()[0].width, 277);
}

TEST_F(StartWindowTest, WithoutDataIniEveryKeyTakesItsDefault) {
  Start(std::nullopt);
  EXPECT_EQ(frmStart.caption, "Welcome to [Game]!");
  const char* captions[] = {"Start New Game", "Load Saved Game", "#",
                            "Video Options",  "Detail Options",  "Input Options",
                            "Sound Options",  "Voice Options",   "Go to [Game] Website!",
                            "Quit [Game]"};
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(Buttons()[i].caption, captions[i]);
  EXPECT_EQ(Buttons()[8].tag, "about:blank");
  EXPECT_FALSE(graphics.videoWindowed);  // "Fullscreen" -1: full screen unless the settings say otherwise
  EXPECT_EQ(dataSettings.gameVideoWidth, 800);
  EXPECT_EQ(dataSettings.gameVideoHeight, 600);
  EXPECT_EQ(graphics.videoWidth, 800);
  EXPECT_EQ(graphics.videoHeight, 600);
  EXPECT_EQ(graphics.videoFormat, 22);
  EXPECT_EQ(graphics.videoRefresh, 0);
  EXPECT_TRUE(playerSettings.resolutionChangeAllowed);
  EXPECT_TRUE(playerSettings.fullscreenChangeAllowed);
  EXPECT_FALSE(playerSettings.voiceEnabled);
  EXPECT_EQ(playerSettings.soundVolume, 100);
  EXPECT_EQ(playerSettings.textInterval, 15);
  EXPECT_EQ(frmStart.gameId, 0);
  EXPECT_TRUE(shell.playing);
}

TEST_F(StartWindowTest, MenuAndSettingsValuesAreRead) {
  const std::string user = dir_.File("data") + "/Kiv/Games/Quest";
  fs::create_directories(user);
  WriteTestFile(user + "/SETTINGS.INI", std::string("[Render]\r\nFormat=23\r\nRefresh=60\r\nWidth=1024\r\n"
                                                    "[Sound2]\r\nEnable=0\r\nVolume=40\r\n"
                                                    "[Detail]\r\nShade=0\r\nTextInterval=30\r\n"));
  Start(
      "[Main Menu]\r\nCaption Title=#\r\nWebsite URL=https://example.invalid/q\r\nVideo Width=640\r\n"
      "Video Height=480\r\nResolution Change=0\r\nFullscreen Change=0\r\n");
  EXPECT_EQ(frmStart.caption, "");
  EXPECT_EQ(Buttons()[8].tag, "https://example.invalid/q");
  EXPECT_EQ(playerSettings.designWidth, 640);
  EXPECT_EQ(dataSettings.gameVideoHeight, 480);
  EXPECT_EQ(graphics.videoWidth, 1024);
  EXPECT_EQ(graphics.videoHeight, 480);  // "Height" defaults to the design height
  EXPECT_EQ(graphics.videoFormat, 23);
  EXPECT_EQ(graphics.videoRefresh, 60);
  EXPECT_FALSE(playerSettings.resolutionChangeAllowed);
  EXPECT_FALSE(playerSettings.fullscreenChangeAllowed);
  EXPECT_FALSE(soundGlobals.soundEnabled);
  EXPECT_EQ(playerSettings.soundVolume, 40);
  EXPECT_FALSE(playerSettings.detailShade);
  EXPECT_TRUE(playerSettings.detailSpecular);
  EXPECT_EQ(playerSettings.textInterval, 30);
}

TEST_F(StartWindowTest, WindowedDefaultsFromFullscreen) {
  const struct {
    const char* fullscreen;  // DATA.INI line
    const char* windowed;    // SETTINGS.INI line
    bool expected;
  } cases[] = {
      {"", "", false},
      {"Fullscreen=0\r\n", "", true},
      {"Fullscreen=1\r\n", "", false},
      {"Fullscreen=0\r\n", "Windowed=0\r\n", false},
      {"Fullscreen=-1\r\n", "Windowed=-1\r\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fullscreen) + c.windowed);
    fs::create_directories(UserFolder());
    WriteTestFile(SettingsIni(), "[Render]\r\n" + std::string(c.windowed));
    Start("[Main Menu]\r\n" + std::string(c.fullscreen));
    EXPECT_EQ(graphics.videoWindowed, c.expected);
    frmStart.Unload();
  }
}

TEST_F(StartWindowTest, TheOneTimeBlockRunsOnceAndEveryActivationSpeaksWithOneVoice) {
  fs::create_directories(UserFolder());
  WriteTestFile(SettingsIni(), std::string("[Voice]\r\nIndex=1\r\nVolume=70\r\n"));
  Start("[Main Menu]\r\nVoice=-1\r\n");
  EXPECT_EQ(playerSettings.voiceVolume, 70);
  WriteTestFile(SettingsIni(), std::string("[Voice]\r\nVolume=20\r\n"));
  frmStart.Unload();
  frmStart.Show();  // a second load and activation
  frmStart.Hide();
  frmStart.Show();                            // a third activation without a load
  EXPECT_EQ(playerSettings.voiceVolume, 70);  // not read again
  EXPECT_EQ(Calls("Create"),
            (std::vector<std::string>{"CreateDirectX", "CreateDirectInput", "CreateDirect3D"}));
  EXPECT_EQ(Calls("SpeechCreateVoice").size(), 1u);
  EXPECT_EQ(Calls("Speak"), std::vector<std::string>(3, "Speak Main Menu 3"));
  EXPECT_EQ(Calls("SelectVoice"), std::vector<std::string>(3, "SelectVoice 1"));
  EXPECT_EQ(Calls("SoundStartUp").size(), 3u);
  EXPECT_EQ(graphics.defaultVertexFormat, 452u);
}

TEST_F(StartWindowTest, AudioAndVoiceFailures) {
  const struct {
    const char* name;
    bool soundStarts;
    std::int32_t voiceResult, voiceCount;
    bool button6, button7, voiceEnabled;
  } cases[] = {
      {"all well", true, 0, 2, true, true, true},
      {"no audio output", false, 0, 2, false, true, true},
      {"no voice object", true, 429, 2, true, false, false},
      {"no voices", true, 0, 0, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    soundStarts = c.soundStarts;
    voiceResult = c.voiceResult;
    voiceCount = c.voiceCount;
    shell.startupDone = false;
    Start("[Main Menu]\r\nVoice=-1\r\n");
    EXPECT_EQ(Buttons()[6].enabled, c.button6);
    EXPECT_EQ(Buttons()[7].enabled, c.button7);
    EXPECT_EQ(playerSettings.voiceEnabled, c.voiceEnabled);
    EXPECT_EQ(Calls("Speak").size(), c.voiceEnabled ? 1u : 0u);
    frmStart.Unload();
    ShutdownDevices();
    Buttons()[6].enabled = Buttons()[7].enabled = true;
    calls_.clear();
  }
  // A voice index beyond the voices falls back to the first.
  voiceCount = 1;
  fs::create_directories(UserFolder());
  WriteTestFile(SettingsIni(), std::string("[Voice]\r\nEnable=-1\r\nIndex=3\r\n"));
  shell.startupDone = false;
  Start(std::nullopt);
  EXPECT_EQ(playerSettings.voiceIndex, 0);
  EXPECT_EQ(Calls("SelectVoice"), (std::vector<std::string>{"SelectVoice 0"}));
}

TEST_F(StartWindowTest, ALaterSpeechErrorOnlyTurnsTheVoiceOff) {
  startWindowDevices.SpeechSpeak = [](const std::u16string&, std::int32_t) {
    throw std::runtime_error("the synthesiser failed");
  };
  Start("[Main Menu]\r\nVoice=-1\r\n");
  EXPECT_TRUE(frmStart.IsLoaded());
  EXPECT_FALSE(playerSettings.voiceEnabled);
  EXPECT_TRUE(Buttons()[7].enabled);
  frmStart.Hide();
  frmStart.Show();  // the voice object stays: not created again
  EXPECT_EQ(Calls("SpeechCreateVoice").size(), 1u);
}

TEST_F(StartWindowTest, ADirectXFailureShowsItsBoxShutsDownAndEnds) {
  const struct {
    int failing;  // 0 root, 1 input, 2 Direct3D
    const char* title;
    const char* textStart;
    std::vector<std::string> created;
  } cases[] = {
      {0,
       "DirectX 8 Initialization Error 5",
       "DirectX 8 couldn't initialize properly.  This could be",
       {"CreateDirectX"}},
      {1,
       "DirectX 8 : DirectInput 8 Initialization Error 5",
       "DirectX 8 : DirectInput 8 couldn't initialize properly.  Although DirectX 8 itself initialized "
       "perfectly.",
       {"CreateDirectX", "CreateDirectInput"}},
      {2,
       "DirectX 8 : Direct3D 8 Initialization Error 5",
       "DirectX 8 : Direct3D 8 couldn't initialize properly.  Although DirectX 8 itself initialized "
       "perfectly.",
       {"CreateDirectX", "CreateDirectInput", "CreateDirect3D"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    directXResult = c.failing == 0 ? 5 : 0;
    directInputResult = c.failing == 1 ? 5 : 0;
    direct3DResult = c.failing == 2 ? 5 : 0;
    shell.startupDone = false;
    boxes_.clear();
    calls_.clear();
    Start("[Main Menu]\r\n");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].substr(0, boxes_[0].find('|')), c.title);
    EXPECT_EQ(boxes_[0].find(std::string("|") + c.textStart), boxes_[0].find('|'));
    EXPECT_EQ(boxes_[0].find("http"), std::string::npos);
    EXPECT_EQ(Calls("Create"), c.created);
    EXPECT_EQ(Calls("Release"),
              (std::vector<std::string>{"ReleaseDirect3D", "ReleaseDirectInput", "ReleaseDirectX"}));
    EXPECT_EQ(Calls("Sound"), (std::vector<std::string>{"SoundShutDown"}));
    EXPECT_FALSE(frmStart.IsLoaded());
    EXPECT_FALSE(ui::AnyFormLoaded());
    EXPECT_TRUE(TempDatExists());  // left behind
    EXPECT_EQ(StartWindowExitCode(), 1);
    ClearStartWindowExitCode();
  }
}

TEST_F(StartWindowTest, TempDatGoesAtTheEndOfEachLoadAndAfterTheActivationsReads) {
  Start("[Main Menu]\r\n");
  EXPECT_FALSE(TempDatExists());
  frmStart.Hide();
  WriteTestFile(PackageTempFilePath(), std::string("stale"));
  frmStart.Show();
  EXPECT_FALSE(TempDatExists());
}

TEST_F(StartWindowTest, ControlsFileIsCheckedAtEachLoad) {
  Start(std::nullopt);
  const std::string file = UserFolder() + "/controls.dat";
  const std::int32_t stamp = controlsStamp;
  // A foreign stamp: deleted, at the first load and again at the next.
  for (int round = 0; round < 2; ++round) {
    WriteTestFile(file, ByteList{0x01, 0x02, 0x03, 0x04, 0x05});
    frmStart.Unload();
    frmStart.Show();
    EXPECT_FALSE(FileExists(file)) << round;
  }
  // The project's stamp over damaged bytes: logged, kept, and the load goes on.
  ByteList damaged(4 + 3, 0xEE);
  for (int k = 0; k < 4; ++k)
    damaged[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(stamp >> (8 * k));
  WriteTestFile(file, damaged);
  frmStart.Unload();
  frmStart.Show();
  EXPECT_TRUE(frmStart.IsLoaded());
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(controlsStamp, stamp);
  const ByteList log = ReadTestFile(UserFolder() + "/ERROR.LOG");
  EXPECT_NE(std::string(log.begin(), log.end()).find("controls.dat"), std::string::npos);
}

TEST_F(StartWindowTest, SavesMoveOnlyWhenTheUserFolderLacksThem) {
  const std::string games = dir_.File("games/Quest");
  fs::create_directories(games);
  fs::create_directories(UserFolder());
  WriteTestFile(games + "/SAVE0.kSV", std::string("old 0"));
  WriteTestFile(games + "/SAVE2.kSV", std::string("old 2"));
  WriteTestFile(UserFolder() + "/SAVE2.kSV", std::string("user 2"));
  Start(std::nullopt);
  EXPECT_FALSE(FileExists(games + "/SAVE0.kSV"));
  EXPECT_EQ(ReadTestFile(UserFolder() + "/SAVE0.kSV"), ByteList({'o', 'l', 'd', ' ', '0'}));
  EXPECT_TRUE(FileExists(games + "/SAVE2.kSV"));
  EXPECT_EQ(ReadTestFile(UserFolder() + "/SAVE2.kSV"), ByteList({'u', 's', 'e', 'r', ' ', '2'}));
  EXPECT_FALSE(FileExists(UserFolder() + "/SAVE1.kSV"));
}

TEST_F(StartWindowTest, NoSavesMoveWhenTheUserFolderIsTheGameFolder) {
  WriteTestFile(dir_.File("blocked"), std::string("a file"));
  setenv("XDG_DATA_HOME", dir_.File("blocked").c_str(), 1);  // no application-data folder
  const std::string games = dir_.File("games/Quest");
  fs::create_directories(games);
  WriteTestFile(games + "/SAVE1.kSV", std::string("mine"));
  Start(std::nullopt);
  EXPECT_EQ(GetUserGameFolder(), games);
  EXPECT_TRUE(FileExists(games + "/SAVE1.kSV"));
}

TEST_F(StartWindowTest, ButtonZeroStartsANewGame) {
  for (bool voice : {true, false}) {
    SCOPED_TRACE(voice);
    shell.startupDone = false;
    Start(std::string("[Main Menu]\r\nStart New Game=&New && Game\r\nVoice=") + (voice ? "-1" : "0") +
          "\r\n");
    calls_.clear();
    frmStart.buttonAction_Click(0);
    EXPECT_FALSE(frmStart.IsLoaded());
    if (voice) {
      EXPECT_EQ(calls_, (std::vector<std::string>{"Speak New  Game 3", "StartGame []"}));
    } else {
      EXPECT_EQ(calls_, (std::vector<std::string>{"SpeechRelease", "StartGame []"}));
    }
  }
}

TEST_F(StartWindowTest, OptionLoadWebsiteAndQuitButtons) {
  Start("[Main Menu]\r\nVoice=-1\r\nWebsite URL=https://example.invalid/game\r\n");
  const struct {
    int index;
    std::vector<std::string> calls;
    bool staysLoaded;
    ui::Form* dialog;  // shown in the start window's place
  } cases[] = {
      {1, {"ShowLoadDialog"}, false, nullptr},
      {3, {"Speak Video Options 3"}, false, &frmVideo},
      {4, {"Speak Deetail Options 3"}, false, &frmDetail},
      {5, {"Speak Input Options 3"}, false, &frmInput},
      {6, {"Speak Sound Options 3"}, false, &frmSound},
      {7, {"Speak Voice Options 3"}, false, &frmVoice},
      {8, {"Speak Loading website. 3"}, true, nullptr},
      {9,
       {"Speak Quit 3", "SpeechRelease", "SoundShutDown", "ReleaseDirect3D", "ReleaseDirectInput",
        "ReleaseDirectX"},
       false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    if (!frmStart.IsLoaded()) frmStart.Show();
    calls_.clear();
    frmStart.buttonAction_Click(c.index);
    EXPECT_EQ(calls_, c.calls);
    EXPECT_EQ(frmStart.IsLoaded(), c.staysLoaded);
    if (!c.dialog) continue;
    EXPECT_TRUE(c.dialog->IsLoaded());
    EXPECT_TRUE(c.dialog->IsVisible());
    c.dialog->Unload(ui::kUnloadUser);  // its close box brings the start window back
    EXPECT_TRUE(frmStart.IsLoaded());
  }
  EXPECT_EQ(urls_, (std::vector<std::string>{"https://example.invalid/game"}));
}

TEST_F(StartWindowTest, TheCloseBoxQuitsAndCodeUnloadsDoNot) {
  Start(std::nullopt);
  calls_.clear();
  EXPECT_TRUE(frmStart.Unload(ui::kUnloadCode));
  EXPECT_TRUE(calls_.empty());
  frmStart.Show();
  calls_.clear();
  EXPECT_TRUE(frmStart.Unload(ui::kUnloadUser));
  EXPECT_EQ(calls_, (std::vector<std::string>{"SpeechRelease", "SoundShutDown", "ReleaseDirect3D",
                                              "ReleaseDirectInput", "ReleaseDirectX"}));
}

TEST_F(StartWindowTest, UnloadDeletesMultiTmpBesideTheProgram) {
  const std::string multi = JoinPath(ProgramFolder(), "MULTI.TMP");
  Start(std::nullopt);
  WriteTestFile(multi, std::string("x"));
  frmStart.Unload();
  EXPECT_FALSE(FileExists(multi));
}

TEST_F(StartWindowTest, APackageElsewhereIsTheGameFolderAndRelativePathsAreMadeAbsolute) {
  const std::string path = WritePackage(std::nullopt, true, "Far Away");
  fs::current_path(dir_.Path());
  ASSERT_TRUE(frmStart.Initialize("games/Far Away/DATA.kRC"));
  EXPECT_EQ(gameFolder, dir_.File("games/Far Away"));
  EXPECT_EQ(gameFolderName, "Far Away");
  frmStart.Show();
  EXPECT_EQ(fs::current_path().string(), ProgramFolder());
  EXPECT_TRUE(fs::is_directory(dir_.File("data") + "/Kiv/Games/Far Away"));
}

TEST_F(StartWindowTest, APackageThatCannotBeLoadedShowsTwoBoxes) {
  const std::string missing = dir_.File("games/None/DATA.kRC");
  EXPECT_FALSE(frmStart.Initialize(missing));
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0], "RunTimeKiv|Could not find:\r\n" + missing);
  EXPECT_EQ(boxes_[1], "Resource File Error|Could not load resource file properly.");
  EXPECT_EQ(StartWindowExitCode(), 1);

  boxes_.clear();
  const std::string damaged = dir_.File("damaged.kRC");
  WriteTestFile(damaged, ByteList{0xA1, 0x86, 0x01, 0x00, 1, 2, 3, 0xFF, 0xFF, 0xFF, 0x7F});
  EXPECT_FALSE(frmStart.Initialize(damaged));
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0].rfind("RunTimeKiv|Internal error: ", 0), 0u) << boxes_[0];
  EXPECT_EQ(boxes_[1], "Resource File Error|Could not load resource file properly.");

  boxes_.clear();
  EXPECT_FALSE(frmStart.Initialize(""));  // no DATA.kRC beside the test program
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1],
            "Resource File Error|Could not load resource file properly.  Make sure DATA.kRC is located "
            "in the same folder as " +
                fs::path(os::ExecutablePath()).stem().string() + ".");
  EXPECT_EQ(gameFolder, ProgramFolder());
}

TEST_F(StartWindowTest, AProjectStateThatCannotBeReadEndsWithAStateError) {
  ASSERT_TRUE(frmStart.Initialize(WritePackage(std::nullopt, false)));
  frmStart.Show();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].rfind("State Error|Cannot load game information from file:\r\n", 0), 0u) << boxes_[0];
  EXPECT_GT(boxes_[0].size(), std::string("State Error|Cannot load game information from file:\r\n").size());
  EXPECT_FALSE(frmStart.IsLoaded());
  EXPECT_FALSE(ui::AnyFormLoaded());
  EXPECT_EQ(StartWindowExitCode(), 1);
  EXPECT_TRUE(Calls("Create").empty());
}

}  // namespace
}  // namespace kiv
