#include "dialogs/dialog_devices.h"

#include "dialogs/player_settings.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/speech.h"

namespace kiv {

DialogDevices dialogDevices;

void DialogDevices::Reset() {
  EnumAdapters = [] { GraphicsEnumAdapters(); };
  EnumDisplayModes = [](std::int32_t adapter) { GraphicsEnumDisplayModes(adapter); };
  DeviceTypeAvailable = [](std::int32_t adapter, std::int32_t deviceType) {
    return GraphicsGetDeviceCaps(adapter, deviceType) == 0;
  };
  VoiceCount = [] { return SpeechGetVoiceCount(u"", u""); };
  VoiceName = [](std::int32_t index) { return SpeechGetVoiceName(index); };
  Speak = [](const std::u16string& text, std::int32_t flags) { SpeechSpeak(text, flags); };
  CreateKeyboard = [](std::uint32_t window, std::int32_t flags) {
    return InputCreateKeyboard(window, flags);
  };
  ListGameControllers = [] { return InputListGameControllers(); };
  CreateJoystick = [](std::uint32_t window, const std::string& instance, bool extended, std::int32_t flags) {
    return InputCreateJoystick(window, instance, extended, flags);
  };
  PollKeyboard = [] { InputPollKeyboard(); };
  PollJoystick = [] { InputPollJoystick(); };
  ReleaseKeyboard = [] { InputReleaseKeyboard(); };
  ReleaseJoystick = [] { InputReleaseJoystick(); };
}

namespace {
struct InitialDevices {
  InitialDevices() { dialogDevices.Reset(); }
};
const InitialDevices initialDevices;
}  // namespace

void SpeakDialogTitle(const std::u16string& title) {
  if (playerSettings.voiceEnabled) dialogDevices.Speak(title, kSpeakAsync | kSpeakPurge);
}

}  // namespace kiv
