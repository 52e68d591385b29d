#pragma once
// The player's input devices: the input object, the system keyboard, the
// system mouse and one game controller, each polled once per main-loop
// iteration into its state record. Window handles are SDL window ids.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/input/input_state.h"
#include "platform/input/input_system.h"

namespace kiv {

struct InputDevices {
  std::unique_ptr<input::InputSystem> directInput;
  std::unique_ptr<input::InputDevice> keyboardDevice;
  std::uint32_t keyboardWindow = 0;
  std::unique_ptr<input::InputDevice> mouseDevice;
  std::uint32_t mouseWindow = 0;
  std::unique_ptr<input::InputDevice> joystickDevice;
  std::uint32_t joystickWindow = 0;

  input::KeyboardState keyboardState{};
  input::KeyboardState previousKeyboardState{};
  input::MouseState mouseState{};
  input::JoystickState joystickState{};
  input::JoystickState previousJoystickState{};

  // Releases every device and the input object and clears the states.
  void Reset();
};

extern InputDevices inputDevices;

// Creation: 0, or the error number of the first failing step. A device whose
// later step failed stays stored; its polls then fail and clear its state.
std::int32_t InputCreateDirectInput();
std::int32_t InputCreateKeyboard(std::uint32_t window, std::int32_t cooperativeFlags);
std::int32_t InputCreateMouse(std::uint32_t window, bool eightButtons, std::int32_t cooperativeFlags);
std::int32_t InputCreateJoystick(std::uint32_t window, const std::string& instance, bool extended,
                                 std::int32_t cooperativeFlags);

// Instance texts of the attached game controllers (empty without the input object).
std::vector<std::string> InputListGameControllers();

// Acquire, poll and read; a failed read clears the record; an absent device
// leaves it unchanged. Never raise.
void InputPollKeyboard();
void InputPollMouse();
void InputPollJoystick();

void InputReleaseKeyboard();
void InputReleaseJoystick();
void InputReleaseDirectInput();

}  // namespace kiv
