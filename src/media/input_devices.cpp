#include "media/input_devices.h"

namespace kiv {

InputDevices inputDevices;

void InputDevices::Reset() {
  // Devices before the input object, so that nothing outlives SDL's input systems.
  keyboardDevice.reset();
  mouseDevice.reset();
  joystickDevice.reset();
  directInput.reset();
  keyboardWindow = mouseWindow = joystickWindow = 0;
  keyboardState = {};
  previousKeyboardState = {};
  mouseState = {};
  joystickState = {};
  previousJoystickState = {};
}

namespace {

std::int32_t CreateDevice(std::string_view name, std::int32_t format, std::uint32_t window,
                          std::int32_t cooperativeFlags, std::unique_ptr<input::InputDevice>& device) {
  if (!inputDevices.directInput) return input::kInputErrNoSystem;
  if (std::int32_t result = inputDevices.directInput->CreateDevice(name, device); result != 0) return result;
  if (std::int32_t result = device->SetDataFormat(format); result != 0) return result;
  return device->SetCooperativeLevel(window, cooperativeFlags);
}

// Reads into `state` through a scratch copy so that a failing read clears it.
template <typename State>
void PollDevice(input::InputDevice* device, State& state) {
  if (device == nullptr) return;
  device->Acquire();
  device->Poll();
  State fresh = state;
  state = device->GetState(fresh) == input::kInputOk ? fresh : State{};
}

void ReleaseDevice(std::unique_ptr<input::InputDevice>& device, std::uint32_t& window) {
  window = 0;
  if (device) device->Unacquire();
  device.reset();
}

}  // namespace

std::int32_t InputCreateDirectInput() { return input::InputSystem::Create(inputDevices.directInput); }

std::int32_t InputCreateKeyboard(std::uint32_t window, std::int32_t cooperativeFlags) {
  inputDevices.keyboardWindow = window;
  return CreateDevice(input::kSysKeyboardName, input::kFormatKeyboard, window, cooperativeFlags,
                      inputDevices.keyboardDevice);
}

std::int32_t InputCreateMouse(std::uint32_t window, bool eightButtons, std::int32_t cooperativeFlags) {
  inputDevices.mouseWindow = window;
  return CreateDevice(input::kSysMouseName, eightButtons ? input::kFormatMouse8Buttons : input::kFormatMouse,
                      window, cooperativeFlags, inputDevices.mouseDevice);
}

std::int32_t InputCreateJoystick(std::uint32_t window, const std::string& instance, bool extended,
                                 std::int32_t cooperativeFlags) {
  inputDevices.joystickWindow = window;
  return CreateDevice(instance, extended ? input::kFormatJoystickExtended : input::kFormatJoystick, window,
                      cooperativeFlags, inputDevices.joystickDevice);
}

std::vector<std::string> InputListGameControllers() {
  if (!inputDevices.directInput) return {};
  return inputDevices.directInput->ListAttachedGameControllers();
}

void InputPollKeyboard() { PollDevice(inputDevices.keyboardDevice.get(), inputDevices.keyboardState); }
void InputPollMouse() { PollDevice(inputDevices.mouseDevice.get(), inputDevices.mouseState); }
void InputPollJoystick() { PollDevice(inputDevices.joystickDevice.get(), inputDevices.joystickState); }

void InputReleaseKeyboard() { ReleaseDevice(inputDevices.keyboardDevice, inputDevices.keyboardWindow); }
void InputReleaseJoystick() { ReleaseDevice(inputDevices.joystickDevice, inputDevices.joystickWindow); }
void InputReleaseDirectInput() { inputDevices.directInput.reset(); }

}  // namespace kiv
