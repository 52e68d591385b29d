#pragma once
// The start window: loads the package once per process, lays out its menu
// from "DATA.INI" at every load, reads the settings and creates the devices at
// the first, starts audio and speech and speaks "Main Menu" at every
// activation. Its buttons start a game, open the load dialog or an option
// dialog, open the game's website, or quit.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/form.h"

namespace kiv {

class StartWindow : public ui::Form {
 public:
  StartWindow();
  // The process's package path from the command line (empty: "DATA.kRC"
  // beside the program). False when the package could not be loaded (the
  // boxes were shown; the program ends).
  bool Initialize(const std::string& commandLine);

  void Form_Load() override;
  void Form_Activate() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Unload(int& cancel) override;
  void Control_Click(const std::string& arrayName, int index) override;
  void buttonAction_Click(int index);

  // "game.ini" [game] "id" of the program's folder, read at each load (the
  // number of the game's page on the editor's service).
  std::int32_t gameId = 0;
};
extern StartWindow frmStart;

// Releases speech, the audio output and the graphics and input roots, in that order.
void ShutdownDevices();
// Creates the voice once, selects and sets it, and speaks "Main Menu" when the voice is on.
void InitSpeechVoice();

// What the program returns when its last window has gone: 0, or 1 after the
// start window ended it on an error (project state, device creation).
int StartWindowExitCode();
void ClearStartWindowExitCode();  // for tests that run the start window again

// The device, audio, speech and game-start operations of the start window.
// They are the media layer's and frmMain.Start; tests put recorders in their place.
struct StartWindowDevices {
  std::function<std::int32_t()> CreateDirectX;
  std::function<std::int32_t()> CreateDirectInput;
  std::function<std::int32_t()> CreateDirect3D;
  std::function<void()> ReleaseDirect3D;
  std::function<void()> ReleaseDirectInput;
  std::function<void()> ReleaseDirectX;
  std::function<bool()> SoundStartUp;   // false: no audio output
  std::function<void()> SoundShutDown;  // the MIDI sound font, then the audio output
  std::function<std::int32_t()> SpeechCreateVoice;
  std::function<std::int32_t()> SpeechGetVoiceCount;
  std::function<void(std::int32_t)> SpeechSelectVoice;
  std::function<void(std::int32_t)> SpeechSetRate;
  std::function<void(std::int32_t)> SpeechSetVolume;
  std::function<void(const std::u16string& text, std::int32_t flags)> SpeechSpeak;
  std::function<void()> SpeechRelease;
  std::function<void(const std::string& savePath)> StartGame;  // frmMain.Start
  void Reset();
};
extern StartWindowDevices startWindowDevices;

// The windows that the start window hands over to and that are not built yet.
// Until they are, the start window comes straight back.
struct StartWindowHooks {
  std::function<void()> ShowLoadDialog;  // frmStartLoad
  void Reset();
};
extern StartWindowHooks startWindowHooks;

}  // namespace kiv
