#include "media/player_input_state.h"

#include "media/input_devices.h"

namespace kiv {

std::array<PlayerInputState, kPlayerInputStateCount> playerInputStates;

void MainLoopPollInput() {
  PlayerInputState& state = playerInputStates[0];
  state.previousCursorX = state.cursorX;
  state.previousCursorY = state.cursorY;
  state.previousRelativeX = state.relativeX;
  state.previousRelativeY = state.relativeY;
  state.previousWheel = state.wheel;
  state.previousMouseButtons = state.mouseButtons;
  state.mouseButtons.fill(0);
  state.pickColorValid = false;

  inputDevices.previousKeyboardState = inputDevices.keyboardState;
  InputPollKeyboard();
  InputPollMouse();
  inputDevices.previousJoystickState = inputDevices.joystickState;
  InputPollJoystick();
}

void MainLoopTakeMouseState() {
  PlayerInputState& state = playerInputStates[0];
  const input::MouseState& mouse = inputDevices.mouseState;
  state.relativeX = mouse.x;
  state.relativeY = mouse.y;
  state.wheel = mouse.z;
  for (std::size_t i = 0; i < state.mouseButtons.size(); ++i)
    state.mouseButtons[i] = mouse.buttons[i] != 0 ? -1 : 0;
}

}  // namespace kiv
