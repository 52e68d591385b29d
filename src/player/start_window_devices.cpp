// The devices of the start window: their creation seam, the voice and the
// shut-down on quitting.
#include "dialogs/player_settings.h"
#include "media/audio_startup.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/speech.h"
#include "player/game_window.h"
#include "player/start_window.h"
#include "player/start_window_voice.h"

namespace kiv {

StartWindowDevices startWindowDevices;
StartWindowHooks startWindowHooks;

namespace {
// The voice object exists (created by an activation, not released since).
bool voiceCreated = false;
}  // namespace

void StartWindowDevices::Reset() {
  CreateDirectX = [] { return GraphicsCreateDirectX(); };
  CreateDirectInput = [] { return InputCreateDirectInput(); };
  CreateDirect3D = [] { return GraphicsCreateDirect3D(); };
  ReleaseDirect3D = [] { GraphicsReleaseDirect3D(); };
  ReleaseDirectInput = [] { InputReleaseDirectInput(); };
  ReleaseDirectX = [] { GraphicsReleaseDirectX(); };
  SoundStartUp = [] { return kiv::SoundStartUp(nullptr); };
  SoundShutDown = [] { kiv::SoundShutDown(); };
  SpeechCreateVoice = [] { return kiv::SpeechCreateVoice(); };
  SpeechGetVoiceCount = [] { return kiv::SpeechGetVoiceCount(u"", u""); };
  SpeechSelectVoice = [](std::int32_t index) { kiv::SpeechSelectVoice(index); };
  SpeechSetRate = [](std::int32_t rate) { kiv::SpeechSetRate(rate); };
  SpeechSetVolume = [](std::int32_t volume) { kiv::SpeechSetVolume(volume); };
  SpeechSpeak = [](const std::u16string& text, std::int32_t flags) { kiv::SpeechSpeak(text, flags); };
  SpeechRelease = [] { kiv::SpeechRelease(); };
  StartGame = [](const std::string& savePath) { frmMain.Start(savePath); };
}

void StartWindowHooks::Reset() {
  ShowLoadDialog = [] { frmStart.Show(); };
}

namespace {
// The seams start with the real operations.
struct InitialSeams {
  InitialSeams() {
    startWindowDevices.Reset();
    startWindowHooks.Reset();
  }
};
const InitialSeams initialSeams;
}  // namespace

void SpeakMenuText(const std::u16string& text) {
  startWindowDevices.SpeechSpeak(text, kSpeakAsync | kSpeakPurge);
}

void ReleaseVoice() {
  startWindowDevices.SpeechRelease();
  voiceCreated = false;
}

void InitSpeechVoice() {
  try {
    if (!voiceCreated) {
      if (startWindowDevices.SpeechCreateVoice() != 0) {
        playerSettings.voiceEnabled = false;
        frmStart.Controls("buttonAction")[7].enabled = false;
        return;
      }
      voiceCreated = true;
      const std::int32_t voices = startWindowDevices.SpeechGetVoiceCount();
      if (voices < playerSettings.voiceIndex + 1) playerSettings.voiceIndex = 0;
      if (voices <= 0) {
        playerSettings.voiceEnabled = false;
        return;
      }
    }
    if (!playerSettings.voiceEnabled) return;
    startWindowDevices.SpeechSelectVoice(playerSettings.voiceIndex);
    startWindowDevices.SpeechSetRate(playerSettings.voiceRate);
    startWindowDevices.SpeechSetVolume(playerSettings.voiceVolume);
    SpeakMenuText(u"Main Menu");
  } catch (const std::exception&) {
    // A voice that fails is switched off quietly; the menu works without it.
    playerSettings.voiceEnabled = false;
  }
}

void ShutdownDevices() {
  ReleaseVoice();
  startWindowDevices.SoundShutDown();
  startWindowDevices.ReleaseDirect3D();
  startWindowDevices.ReleaseDirectInput();
  startWindowDevices.ReleaseDirectX();
}

}  // namespace kiv
