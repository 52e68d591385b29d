#include "media/input_binding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/error.h"
#include "media/controls_table.h"
#include "media/input_devices.h"
#include "media/key_names.h"
#include "media/player_input_state.h"

namespace kiv {
namespace {

enum class Expect { kFalse, kTrue, kError9 };

Control MakeControl(std::uint8_t current, std::uint8_t previous, std::vector<InputBinding> bindings,
                    int player = 0) {
  Control control;
  BindingSlot& slot = control.slots[static_cast<std::size_t>(player)];
  slot.current = current;
  slot.previous = previous;
  slot.bindings = std::move(bindings);
  return control;
}

// One iteration's states, chosen so that every kind of edge is present once.
class InputBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inputDevices.Reset();
    auto& keys = inputDevices.keyboardState;
    auto& previousKeys = inputDevices.previousKeyboardState;
    keys[30] = previousKeys[30] = 0x80;  // A held
    keys[31] = 0x80;                     // S just pressed
    previousKeys[32] = 0x80;             // D just released
    keys[33] = 0x81;                     // only bit 7 counts
    previousKeys[33] = 0x01;
    inputDevices.joystickState.buttons[2] = 0x80;  // button 2 just pressed
    inputDevices.joystickState.buttons[3] = inputDevices.previousJoystickState.buttons[3] = 0x80;

    PlayerInputState& mouse = playerInputStates[0];
    mouse = {};
    mouse.mouseButtons[0] = -1;          // left just pressed
    mouse.previousMouseButtons[1] = -1;  // right just released
    mouse.relativeX = 5;                 // started moving sideways
    mouse.relativeY = mouse.previousRelativeY = 3;
    mouse.previousWheel = 120;  // wheel stopped

    controls = {
        /*0*/ MakeControl(1, 1, {{kBindKeyboard, 31}}),
        /*1*/ MakeControl(0, 0, {{kBindKeyboard, 40}, {kBindJoystick, 2}}),
        /*2*/ MakeControl(0, 0, {}),
        /*3*/ MakeControl(0, 0, {{kBindControl, 3}, {kBindControl, 4}}),
        /*4*/ MakeControl(0, 0, {{kBindControl, 3}, {kBindKeyboard, 30}}),
        /*5*/ MakeControl(1, 0, {}, /*player=*/1),
        /*6*/ MakeControl(0, 0, {{kBindControl, 99}}),
        /*7*/ MakeControl(0, 0, {{0x20, 31}, {0x22, 31}}),
        /*8*/ MakeControl(1, 1, {{kBindKeyboard, 30}}),
        /*9*/ MakeControl(0, 1, {}),
    };
  }
  void TearDown() override {
    controls.clear();
    playerInputStates[0] = {};
    inputDevices.Reset();
  }
};

struct BindingCase {
  std::string name;
  int player;
  int mode;
  int key;
  int edge;
  int inputIndex;
  Expect expected;
};

TEST_F(InputBindingTest, AnswersEveryCase) {
  constexpr int kPressed = 1;
  constexpr int kHeld = 0;
  constexpr int kReleased = -1;
  const BindingCase cases[] = {
      // A negative key is false before any table is looked at.
      {"negative key, control", 9, kBindControl, -1, kHeld, 0, Expect::kFalse},
      {"negative key, keyboard", 0, kBindKeyboard, -1, kHeld, 5, Expect::kFalse},
      // Keyboard.
      {"held key held", 0, kBindKeyboard, 30, kHeld, 0, Expect::kTrue},
      {"held key not pressed", 0, kBindKeyboard, 30, kPressed, 0, Expect::kFalse},
      {"held key not released", 0, kBindKeyboard, 30, kReleased, 0, Expect::kFalse},
      {"new key pressed", 0, kBindKeyboard, 31, kPressed, 0, Expect::kTrue},
      {"new key held", 0, kBindKeyboard, 31, kHeld, 0, Expect::kTrue},
      {"lifted key released", 0, kBindKeyboard, 32, kReleased, 0, Expect::kTrue},
      {"lifted key not held", 0, kBindKeyboard, 32, kHeld, 0, Expect::kFalse},
      {"only bit 7 counts", 0, kBindKeyboard, 33, kPressed, 0, Expect::kTrue},
      {"key 255 is in range", 0, kBindKeyboard, 255, kHeld, 0, Expect::kFalse},
      {"key 256 out of range", 0, kBindKeyboard, 256, kHeld, 0, Expect::kError9},
      {"keyboard, input index 1", 0, kBindKeyboard, 30, kHeld, 1, Expect::kFalse},
      {"keyboard, negative input index", 0, kBindKeyboard, 30, kHeld, -1, Expect::kTrue},
      {"keyboard ignores the player", 7, kBindKeyboard, 30, kHeld, 0, Expect::kTrue},
      // The lowest of the four bits decides: mode 6 is keyboard only.
      {"mode 6 is keyboard", 0, 6, 32, kReleased, 0, Expect::kTrue},
      {"mode 6 is not mouse", 0, 6, 10, kReleased, 0, Expect::kFalse},
      {"mode 0", 0, 0, 30, kHeld, 0, Expect::kFalse},
      {"mode 16", 0, 16, 30, kHeld, 0, Expect::kFalse},
      {"mode 18 is keyboard", 0, 18, 30, kHeld, 0, Expect::kTrue},
      // Mouse buttons, movement and wheel.
      {"left button pressed", 0, kBindMouse, 0, kPressed, 0, Expect::kTrue},
      {"right button released", 0, kBindMouse, 1, kReleased, 0, Expect::kTrue},
      {"right button not held", 0, kBindMouse, 1, kHeld, 0, Expect::kFalse},
      {"button 7 up", 0, kBindMouse, 7, kHeld, 0, Expect::kFalse},
      {"sideways movement pressed", 0, kBindMouse, kMouseHorizontal, kPressed, 0, Expect::kTrue},
      {"vertical movement held", 0, kBindMouse, kMouseVertical, kHeld, 0, Expect::kTrue},
      {"vertical movement not pressed", 0, kBindMouse, kMouseVertical, kPressed, 0, Expect::kFalse},
      {"wheel released", 0, kBindMouse, kMouseWheel, kReleased, 0, Expect::kTrue},
      {"mouse key 11", 0, kBindMouse, 11, kHeld, 0, Expect::kFalse},
      {"mouse, input index 1", 0, kBindMouse, 0, kPressed, 1, Expect::kFalse},
      {"mouse, negative input index", 0, kBindMouse, 0, kPressed, -1, Expect::kError9},
      // Joystick buttons.
      {"joystick button pressed", 0, kBindJoystick, 2, kPressed, 0, Expect::kTrue},
      {"joystick button held", 0, kBindJoystick, 3, kHeld, 0, Expect::kTrue},
      {"held joystick button not pressed", 0, kBindJoystick, 3, kPressed, 0, Expect::kFalse},
      {"joystick button 31 in range", 0, kBindJoystick, 31, kHeld, 0, Expect::kFalse},
      {"joystick button 32 out of range", 0, kBindJoystick, 32, kHeld, 0, Expect::kError9},
      {"joystick, input index 1", 0, kBindJoystick, 2, kPressed, 1, Expect::kFalse},
      // Controls: slot bytes first, then the bindings in order.
      {"slot bytes held", 0, kBindControl, 0, kHeld, 0, Expect::kTrue},
      {"held slot pressed through a binding", 0, kBindControl, 0, kPressed, 0, Expect::kTrue},
      {"held slot, held binding, not pressed", 0, kBindControl, 8, kPressed, 0, Expect::kFalse},
      {"held slot not released", 0, kBindControl, 0, kReleased, 0, Expect::kFalse},
      {"slot released", 0, kBindControl, 9, kReleased, 0, Expect::kTrue},
      {"second binding pressed", 0, kBindControl, 1, kPressed, 0, Expect::kTrue},
      {"control without bindings", 0, kBindControl, 2, kHeld, 0, Expect::kFalse},
      {"bindings are masked with 0x1F", 0, kBindControl, 7, kHeld, 0, Expect::kTrue},
      {"control ignores the input index", 0, kBindControl, 0, kHeld, 3, Expect::kTrue},
      {"slot of player 1", 1, kBindControl, 5, kPressed, 0, Expect::kTrue},
      {"same control, player 0", 0, kBindControl, 5, kPressed, 0, Expect::kFalse},
      {"player 3 is in range", 3, kBindControl, 2, kHeld, 0, Expect::kFalse},
      {"player 4 out of range", 4, kBindControl, 0, kHeld, 0, Expect::kError9},
      {"player -1 out of range", -1, kBindControl, 0, kHeld, 0, Expect::kError9},
      {"control outside the table", 0, kBindControl, 10, kHeld, 0, Expect::kError9},
      {"bound control outside the table", 0, kBindControl, 6, kHeld, 0, Expect::kError9},
      // Controls bound to themselves end instead of recursing.
      {"cycle reaches a held key", 0, kBindControl, 3, kHeld, 0, Expect::kTrue},
      {"cycle with nothing pressed", 0, kBindControl, 3, kPressed, 0, Expect::kFalse},
  };
  for (const BindingCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<bool> answer;
    int error = 0;
    try {
      answer = InputTestBinding(c.player, c.mode, c.key, c.edge, c.inputIndex);
    } catch (const KivError& e) {
      error = e.Number();
    }
    switch (c.expected) {
      case Expect::kTrue:
        EXPECT_EQ(answer, std::optional<bool>(true));
        break;
      case Expect::kFalse:
        EXPECT_EQ(answer, std::optional<bool>(false));
        break;
      case Expect::kError9:
        EXPECT_EQ(error, 9);
        break;
    }
  }
}

// Control bindings are followed a fixed number of controls deep.
TEST_F(InputBindingTest, ChainsOfControlsEndAtAFixedDepth) {
  auto chain = [](int length) {
    controls.assign(static_cast<std::size_t>(length), Control{});
    for (int c = 0; c + 1 < length; ++c)
      controls[static_cast<std::size_t>(c)].slots[0].bindings = {{kBindControl, c + 1}};
    controls.back().slots[0].bindings = {{kBindKeyboard, 31}};
  };
  chain(kMaxControlNesting);
  EXPECT_TRUE(InputTestBinding(0, kBindControl, 0, 1, 0));
  chain(kMaxControlNesting + 1);
  EXPECT_FALSE(InputTestBinding(0, kBindControl, 0, 1, 0));
}

// Forty controls each bound to all forty: the test still ends at once, and
// finds a key bound at the far end or answers false without one.
TEST_F(InputBindingTest, DenseControlGraphEnds) {
  controls.assign(40, Control{});
  for (Control& control : controls) {
    for (int target = 0; target < 40; ++target) control.slots[0].bindings.push_back({kBindControl, target});
  }
  EXPECT_FALSE(InputTestBinding(0, kBindControl, 0, 1, 0));
  controls[39].slots[0].bindings.push_back({kBindKeyboard, 31});
  EXPECT_TRUE(InputTestBinding(0, kBindControl, 0, 1, 0));
}

}  // namespace
}  // namespace kiv
