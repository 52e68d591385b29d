#include "media/input_devices.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "media/controls_table.h"
#include "media/input_binding.h"
#include "media/key_names.h"
#include "media/player_input_state.h"

namespace kiv {
namespace {

constexpr std::int32_t kShared = input::kCoopNonExclusive | input::kCoopForeground;  // 6

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushMotion(int dx, int dy) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.xrel = dx;
  event.motion.yrel = dy;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushWheel(int notches, bool flipped = false) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.y = notches;
  event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushButton(std::uint8_t button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushFocus(std::uint32_t window, bool gained) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = window;
  event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// One main-loop iteration's input work: keep the previous states and poll,
// let the window system take its events, take the mouse state.
void Iterate() {
  MainLoopPollInput();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  MainLoopTakeMouseState();
}

class InputDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    inputDevices.Reset();
    playerInputStates[0] = {};
    ASSERT_EQ(InputCreateDirectInput(), 0);
    ASSERT_EQ(InputCreateKeyboard(0, kShared), 0);
    ASSERT_EQ(InputCreateMouse(0, true, kShared), 0);
    Iterate();  // the first poll acquires the devices
  }
  void TearDown() override {
    inputDevices.Reset();
    controls.clear();
    playerInputStates[0] = {};
    SDL_Quit();
  }
};

TEST_F(InputDevicesTest, KeyEventsSetBit7OfTheirKeyCodes) {
  PushKey(SDL_SCANCODE_A, true);
  PushKey(SDL_SCANCODE_LEFT, true);      // an extended key
  PushKey(SDL_SCANCODE_KP_ENTER, true);  // keypad Enter differs from Enter
  PushKey(SDL_SCANCODE_F24, true);       // a key without a name still has its code
  Iterate();
  input::KeyboardState expected{};
  expected[30] = expected[203] = expected[156] = expected[0x76] = 0x80;
  EXPECT_EQ(inputDevices.keyboardState, expected);
  EXPECT_EQ(inputDevices.previousKeyboardState, input::KeyboardState{});
  EXPECT_EQ(KeyName(203), u"Left");

  PushKey(SDL_SCANCODE_A, false);
  Iterate();
  EXPECT_EQ(inputDevices.keyboardState[30], 0);
  EXPECT_EQ(inputDevices.previousKeyboardState[30], 0x80);
  EXPECT_EQ(inputDevices.keyboardState[203], 0x80);
}

TEST_F(InputDevicesTest, KeyEdgesLastExactlyOneIteration) {
  struct Step {
    bool pressed, held, released;
  };
  // Key 30 goes down before iteration 0 and up before iteration 3.
  const Step steps[] = {{true, true, false},
                        {false, true, false},
                        {false, true, false},
                        {false, false, true},
                        {false, false, false}};
  PushKey(SDL_SCANCODE_A, true);
  for (int i = 0; i < 5; ++i) {
    if (i == 3) PushKey(SDL_SCANCODE_A, false);
    Iterate();
    SCOPED_TRACE(i);
    EXPECT_EQ(InputTestBinding(0, kBindKeyboard, 30, 1, 0), steps[i].pressed);
    EXPECT_EQ(InputTestBinding(0, kBindKeyboard, 30, 0, 0), steps[i].held);
    EXPECT_EQ(InputTestBinding(0, kBindKeyboard, 30, -1, 0), steps[i].released);
  }
}

TEST_F(InputDevicesTest, MouseMovementAndWheelAccumulateUntilRead) {
  PushMotion(5, -3);
  PushMotion(5, -3);
  PushWheel(1);
  PushWheel(2);
  Iterate();
  EXPECT_EQ(inputDevices.mouseState.x, 10);
  EXPECT_EQ(inputDevices.mouseState.y, -6);
  EXPECT_EQ(inputDevices.mouseState.z, 3 * input::kWheelDelta);
  EXPECT_EQ(playerInputStates[0].relativeX, 10);
  EXPECT_EQ(playerInputStates[0].wheel, 360);

  PushWheel(1, /*flipped=*/true);
  Iterate();
  EXPECT_EQ(inputDevices.mouseState.x, 0);
  EXPECT_EQ(inputDevices.mouseState.z, -120);
  EXPECT_EQ(playerInputStates[0].previousRelativeX, 10);
  EXPECT_EQ(playerInputStates[0].previousWheel, 360);
}

TEST_F(InputDevicesTest, WheelIsHeldWhileItMovesAndPressedOnlyFirst) {
  const bool moves[] = {true, true, false, true};
  const bool pressed[] = {true, false, false, true};
  const bool released[] = {false, false, true, false};
  for (int i = 0; i < 4; ++i) {
    if (moves[i]) PushWheel(1);
    Iterate();
    SCOPED_TRACE(i);
    EXPECT_EQ(InputTestBinding(0, kBindMouse, kMouseWheel, 0, 0), moves[i]);
    EXPECT_EQ(InputTestBinding(0, kBindMouse, kMouseWheel, 1, 0), pressed[i]);
    EXPECT_EQ(InputTestBinding(0, kBindMouse, kMouseWheel, -1, 0), released[i]);
  }
}

TEST_F(InputDevicesTest, MouseButtonsInStateOrder) {
  PushButton(SDL_BUTTON_LEFT, true);
  PushButton(SDL_BUTTON_MIDDLE, true);
  PushButton(SDL_BUTTON_X2, true);
  Iterate();
  const std::array<std::uint8_t, 8> expected{0x80, 0, 0x80, 0, 0x80, 0, 0, 0};
  EXPECT_EQ(inputDevices.mouseState.buttons, expected);
  const std::array<std::int16_t, 8> flags{-1, 0, -1, 0, -1, 0, 0, 0};
  EXPECT_EQ(playerInputStates[0].mouseButtons, flags);
  EXPECT_TRUE(InputTestBinding(0, kBindMouse, 2, 1, 0));

  PushButton(SDL_BUTTON_MIDDLE, false);
  Iterate();
  EXPECT_TRUE(InputTestBinding(0, kBindMouse, 2, -1, 0));
  EXPECT_TRUE(InputTestBinding(0, kBindMouse, 0, 0, 0));
  EXPECT_FALSE(InputTestBinding(0, kBindMouse, 0, 1, 0));
}

TEST_F(InputDevicesTest, FourButtonMouseReadsNoFifthButton) {
  ASSERT_EQ(InputCreateMouse(0, false, kShared), 0);
  PushButton(SDL_BUTTON_X1, true);
  PushButton(SDL_BUTTON_X2, true);
  Iterate();
  const std::array<std::uint8_t, 8> expected{0, 0, 0, 0x80, 0, 0, 0, 0};
  EXPECT_EQ(inputDevices.mouseState.buttons, expected);
}

TEST_F(InputDevicesTest, FocusLossClearsStatesUntilFocusReturns) {
  PushKey(SDL_SCANCODE_A, true);
  PushButton(SDL_BUTTON_LEFT, true);
  Iterate();
  ASSERT_EQ(inputDevices.keyboardState[30], 0x80);

  PushFocus(7, false);
  PushMotion(4, 4);  // movement while away is not kept
  Iterate();
  EXPECT_EQ(inputDevices.keyboardState, input::KeyboardState{});
  EXPECT_EQ(inputDevices.mouseState.x, 0);
  EXPECT_EQ(inputDevices.mouseState.buttons[0], 0);
  EXPECT_FALSE(inputDevices.keyboardDevice->IsAcquired());
  EXPECT_TRUE(InputTestBinding(0, kBindKeyboard, 30, -1, 0));

  PushKey(SDL_SCANCODE_S, true);
  Iterate();  // still away: the keyboard cannot be acquired
  EXPECT_EQ(inputDevices.keyboardState[31], 0);

  PushFocus(7, true);
  Iterate();
  EXPECT_TRUE(inputDevices.keyboardDevice->IsAcquired());
  EXPECT_EQ(inputDevices.keyboardState[30], 0);  // held before the loss: no longer known
  EXPECT_EQ(inputDevices.keyboardState[31], 0x80);
}

TEST_F(InputDevicesTest, DeviceOfAnotherWindowKeepsItsAcquisition) {
  ASSERT_EQ(InputCreateKeyboard(3, kShared), 0);
  Iterate();
  PushFocus(7, false);
  Iterate();
  EXPECT_TRUE(inputDevices.keyboardDevice->IsAcquired());
  PushFocus(3, false);
  Iterate();
  EXPECT_FALSE(inputDevices.keyboardDevice->IsAcquired());
}

TEST_F(InputDevicesTest, BackgroundDeviceIgnoresFocus) {
  ASSERT_EQ(InputCreateKeyboard(0, input::kCoopNonExclusive | input::kCoopBackground), 0);
  PushFocus(7, false);
  PushKey(SDL_SCANCODE_S, true);
  Iterate();
  EXPECT_EQ(inputDevices.keyboardState[31], 0x80);
}

TEST_F(InputDevicesTest, AbsentDevicesLeaveTheirStatesUnchanged) {
  InputReleaseKeyboard();
  EXPECT_EQ(inputDevices.keyboardWindow, 0u);
  EXPECT_EQ(inputDevices.keyboardDevice, nullptr);
  inputDevices.keyboardState[5] = 0x80;
  inputDevices.joystickState.buttons[1] = 0x80;
  inputDevices.joystickState.x = 12;
  PushKey(SDL_SCANCODE_A, true);
  InputPollKeyboard();
  InputPollJoystick();
  EXPECT_EQ(inputDevices.keyboardState[5], 0x80);
  EXPECT_EQ(inputDevices.keyboardState[30], 0);
  EXPECT_EQ(inputDevices.joystickState.buttons[1], 0x80);
  EXPECT_EQ(inputDevices.joystickState.x, 12);
}

TEST_F(InputDevicesTest, CreationReportsTheFailingStep) {
  EXPECT_NE(InputCreateJoystick(4, "joystick:12345", false, kShared), 0);
  EXPECT_EQ(inputDevices.joystickDevice, nullptr);
  EXPECT_EQ(inputDevices.joystickWindow, 4u);

  // Both sharing bits at once: the level fails, the device stays and reads
  // as a shared background device would.
  EXPECT_EQ(InputCreateKeyboard(2, 3 | input::kCoopForeground), input::kInputErrInvalidParam);
  ASSERT_NE(inputDevices.keyboardDevice, nullptr);
  PushKey(SDL_SCANCODE_A, true);
  InputPollKeyboard();
  EXPECT_EQ(inputDevices.keyboardState[30], 0x80);

  InputReleaseDirectInput();
  EXPECT_NE(InputCreateKeyboard(0, kShared), 0);
  EXPECT_TRUE(InputListGameControllers().empty());
}

TEST_F(InputDevicesTest, ExclusiveMouseStillReads) {
  ASSERT_EQ(InputCreateMouse(9, true, input::kCoopExclusive | input::kCoopForeground), 0);
  PushMotion(2, 3);  // before the device is acquired: not counted
  Iterate();
  EXPECT_EQ(inputDevices.mouseState.x, 0);
  PushMotion(2, 3);
  Iterate();
  EXPECT_EQ(inputDevices.mouseState.x, 2);
  EXPECT_EQ(inputDevices.mouseState.y, 3);
  ASSERT_EQ(inputDevices.mouseDevice->Unacquire(), 0);
  EXPECT_FALSE(SDL_GetRelativeMouseMode());
}

class VirtualJoystickTest : public InputDevicesTest {
 protected:
  void SetUp() override {
    InputDevicesTest::SetUp();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 8, 34, 2);
    ASSERT_GE(index, 0) << SDL_GetError();
    virtualIndex_ = index;
    joystick_ = SDL_JoystickOpen(index);
    ASSERT_NE(joystick_, nullptr);
    const std::vector<std::string> instances = InputListGameControllers();
    ASSERT_EQ(instances.size(), 1u);
    ASSERT_EQ(InputCreateJoystick(0, instances[0], false, kShared), 0);
  }
  void TearDown() override {
    InputReleaseJoystick();
    if (joystick_ != nullptr) SDL_JoystickClose(joystick_);
    SDL_JoystickDetachVirtual(virtualIndex_);
    InputDevicesTest::TearDown();
  }
  int virtualIndex_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

TEST_F(VirtualJoystickTest, ButtonsAxesAndHatsFillTheRecord) {
  SDL_JoystickSetVirtualButton(joystick_, 2, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(joystick_, 31, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(joystick_, 33, SDL_PRESSED);  // beyond the 32 of the record
  SDL_JoystickSetVirtualAxis(joystick_, 0, 32767);
  SDL_JoystickSetVirtualAxis(joystick_, 1, -32768);
  SDL_JoystickSetVirtualAxis(joystick_, 7, 0);
  SDL_JoystickSetVirtualHat(joystick_, 0, SDL_HAT_RIGHT);
  Iterate();
  const input::JoystickState& state = inputDevices.joystickState;
  std::array<std::uint8_t, 32> buttons{};
  buttons[2] = buttons[31] = 0x80;
  EXPECT_EQ(state.buttons, buttons);
  EXPECT_EQ(state.x, 65535);
  EXPECT_EQ(state.y, 0);
  EXPECT_EQ(state.sliders[1], 32768);
  const std::array<std::int32_t, 4> hats{9000, -1, -1, -1};
  EXPECT_EQ(state.pointOfView, hats);
  EXPECT_EQ(inputDevices.previousJoystickState.buttons[2], 0);
  EXPECT_TRUE(InputTestBinding(0, kBindJoystick, 2, 1, 0));

  Iterate();
  EXPECT_EQ(inputDevices.previousJoystickState.buttons[2], 0x80);
  EXPECT_FALSE(InputTestBinding(0, kBindJoystick, 2, 1, 0));
  EXPECT_TRUE(InputTestBinding(0, kBindJoystick, 2, 0, 0));
}

// A control bound to key 30 and joystick button 2 is pressed in the
// iteration in which either of them goes down.
TEST_F(VirtualJoystickTest, ControlIsPressedByEitherBinding) {
  controls.assign(1, Control{});
  controls[0].slots[0].bindings = {{kBindKeyboard, 30}, {kBindJoystick, 2}};
  Iterate();
  EXPECT_FALSE(InputTestBinding(0, kBindControl, 0, 1, 0));
  SDL_JoystickSetVirtualButton(joystick_, 2, SDL_PRESSED);
  Iterate();
  EXPECT_TRUE(InputTestBinding(0, kBindControl, 0, 1, 0));
  Iterate();
  EXPECT_FALSE(InputTestBinding(0, kBindControl, 0, 1, 0));
  SDL_JoystickSetVirtualButton(joystick_, 2, SDL_RELEASED);
  PushKey(SDL_SCANCODE_A, true);
  Iterate();
  EXPECT_TRUE(InputTestBinding(0, kBindControl, 0, 1, 0));
}

TEST_F(VirtualJoystickTest, UnpluggedControllerReadsAsNothingPressed) {
  SDL_JoystickSetVirtualButton(joystick_, 2, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(joystick_, 0, 1000);
  Iterate();
  ASSERT_EQ(inputDevices.joystickState.buttons[2], 0x80);
  SDL_JoystickClose(joystick_);
  joystick_ = nullptr;
  ASSERT_EQ(SDL_JoystickDetachVirtual(virtualIndex_), 0);
  Iterate();
  EXPECT_EQ(inputDevices.joystickState.buttons[2], 0);
  EXPECT_EQ(inputDevices.joystickState.x, 0);
  EXPECT_EQ(inputDevices.previousJoystickState.buttons[2], 0x80);
}

}  // namespace
}  // namespace kiv
