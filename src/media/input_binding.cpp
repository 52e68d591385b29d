#include "media/input_binding.h"

#include <algorithm>
#include <vector>

#include "core/error.h"
#include "media/controls_table.h"
#include "media/input_devices.h"
#include "media/key_names.h"
#include "media/player_input_state.h"

namespace kiv {
namespace {

[[noreturn]] void RaiseSubscript() { RaiseError(kErrIndex, "Subscript out of range"); }

bool EdgeOf(bool downNow, bool downBefore, std::int32_t edge) {
  if (edge > 0) return downNow && !downBefore;
  if (edge == 0) return downNow;
  return downBefore && !downNow;
}

bool Down(std::uint8_t stateByte) { return (stateByte & input::kDownBit) != 0; }

// The controls already tested in one call. A control's answer depends only on
// the player and the edge, so a control met again (through a cycle or through
// two of its bindings) would answer false again: it is not tested twice.
struct ControlWalk {
  std::vector<std::int32_t> tested;
  int depth = 0;  // controls on the current path
};

bool TestBinding(std::int32_t player, std::int32_t mode, std::int32_t key, std::int32_t edge,
                 std::int32_t inputIndex, ControlWalk& walk);

bool TestControl(std::int32_t player, std::int32_t control, std::int32_t edge, ControlWalk& walk) {
  if (player < 0 || player >= kPlayerCount) RaiseSubscript();
  if (static_cast<std::size_t>(control) >= controls.size()) RaiseSubscript();
  if (walk.depth >= kMaxControlNesting) return false;
  if (std::find(walk.tested.begin(), walk.tested.end(), control) != walk.tested.end()) return false;
  walk.tested.push_back(control);
  const BindingSlot& slot =
      controls[static_cast<std::size_t>(control)].slots[static_cast<std::size_t>(player)];
  if (slot.current != 0 || slot.previous != 0) {
    bool answer;
    if (edge > 0) {
      answer = slot.current == 1 && slot.previous == 0;
    } else if (edge == 0) {
      answer = slot.current == 1;
    } else {
      answer = slot.current == 0 && slot.previous == 1;
    }
    if (answer) return true;
  }
  ++walk.depth;
  bool answer = false;
  for (const InputBinding& binding : slot.bindings) {
    if (TestBinding(player, binding.mode & 0x1F, binding.key, edge, 0, walk)) {
      answer = true;
      break;
    }
  }
  --walk.depth;
  return answer;
}

bool TestMouse(std::int32_t key, std::int32_t edge, std::int32_t inputIndex) {
  if (inputIndex >= kPlayerInputStateCount) return false;
  if (inputIndex < 0) RaiseSubscript();
  const PlayerInputState& state = playerInputStates[static_cast<std::size_t>(inputIndex)];
  if (key <= 7) {
    const std::size_t button = static_cast<std::size_t>(key);
    return EdgeOf(state.mouseButtons[button] != 0, state.previousMouseButtons[button] != 0, edge);
  }
  switch (key) {
    case kMouseHorizontal:
      return EdgeOf(state.relativeX != 0, state.previousRelativeX != 0, edge);
    case kMouseVertical:
      return EdgeOf(state.relativeY != 0, state.previousRelativeY != 0, edge);
    case kMouseWheel:
      return EdgeOf(state.wheel != 0, state.previousWheel != 0, edge);
    default:
      return false;
  }
}

bool TestBinding(std::int32_t player, std::int32_t mode, std::int32_t key, std::int32_t edge,
                 std::int32_t inputIndex, ControlWalk& walk) {
  if (key < 0) return false;
  if ((mode & kBindControl) != 0) return TestControl(player, key, edge, walk);
  if ((mode & kBindKeyboard) != 0) {
    if (inputIndex > 0) return false;
    if (key > 255) RaiseSubscript();
    const std::size_t code = static_cast<std::size_t>(key);
    return EdgeOf(Down(inputDevices.keyboardState[code]), Down(inputDevices.previousKeyboardState[code]),
                  edge);
  }
  if ((mode & kBindMouse) != 0) return TestMouse(key, edge, inputIndex);
  if ((mode & kBindJoystick) != 0) {
    if (inputIndex > 0) return false;
    if (key > 31) RaiseSubscript();
    const std::size_t button = static_cast<std::size_t>(key);
    return EdgeOf(Down(inputDevices.joystickState.buttons[button]),
                  Down(inputDevices.previousJoystickState.buttons[button]), edge);
  }
  return false;
}

}  // namespace

bool InputTestBinding(std::int32_t player, std::int32_t mode, std::int32_t key, std::int32_t edge,
                      std::int32_t inputIndex) {
  ControlWalk walk;
  return TestBinding(player, mode, key, edge, inputIndex, walk);
}

}  // namespace kiv
