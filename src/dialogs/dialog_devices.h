#pragma once
// The devices that the option dialogs ask: display adapters, their modes and
// device types, the installed voices, speech, and the keyboard and game
// controller that the binding capture polls. They are the media layer's;
// tests put their own adapters, modes, voices and recorders in their place.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/d3d_types.h"

namespace kiv {

struct DialogDevices {
  // Fills graphics.adapterList (left empty when there is none).
  std::function<void()> EnumAdapters;
  // Fills graphics.displayModes for the adapter, in enumeration order.
  std::function<void(std::int32_t adapter)> EnumDisplayModes;
  // True when the device-capability query for (adapter, device type) succeeds.
  std::function<bool(std::int32_t adapter, std::int32_t deviceType)> DeviceTypeAvailable;
  std::function<std::int32_t()> VoiceCount;
  std::function<std::u16string(std::int32_t index)> VoiceName;
  std::function<void(const std::u16string& text, std::int32_t flags)> Speak;
  std::function<std::int32_t(std::uint32_t window, std::int32_t cooperativeFlags)> CreateKeyboard;
  std::function<std::vector<std::string>()> ListGameControllers;
  std::function<std::int32_t(std::uint32_t window, const std::string& instance, bool extended,
                             std::int32_t cooperativeFlags)>
      CreateJoystick;
  // Fill inputDevices.keyboardState and joystickState.
  std::function<void()> PollKeyboard;
  std::function<void()> PollJoystick;
  std::function<void()> ReleaseKeyboard;
  std::function<void()> ReleaseJoystick;
  void Reset();
};
extern DialogDevices dialogDevices;

// Speaks a window title when the voice setting is on (asynchronous, cutting
// off what is being spoken).
void SpeakDialogTitle(const std::u16string& title);

}  // namespace kiv
