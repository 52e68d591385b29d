#pragma once
// The player's input state: mouse movement and buttons of this main-loop
// iteration and of the previous one, the gesture stroke being drawn and the
// cursor. It belongs with the player shell and its main loop; it stays here
// until that library exists, because the binding test and the gestures read it.
#include <array>
#include <cstdint>

#include "core/identifier.h"
#include "media/gestures.h"

namespace kiv {

struct PlayerInputState {
  // The object under the pointer (map -1 and index -1: none; kind 2 zone, 3
  // actor, 9 field) and the one under it when the action button went down.
  std::int32_t targetMap = -1;
  std::int32_t targetKind = 0;
  std::int32_t targetIndex = -1;
  std::int32_t actionState = 0;  // 1 while the action button is held, else its last change
  std::uint32_t pickColor = 0;   // the pick image's colour under the pointer (0 outside)
  bool pickColorValid = false;   // read in this frame; cleared every iteration
  std::int32_t pressMap = -1;
  std::int32_t pressKind = 0;
  std::int32_t pressIndex = -1;
  std::int32_t relativeX = 0;
  std::int32_t relativeY = 0;
  std::int32_t wheel = 0;
  std::int32_t previousRelativeX = 0;
  std::int32_t previousRelativeY = 0;
  std::int32_t previousWheel = 0;
  std::array<std::int16_t, 8> mouseButtons{};  // -1 down, 0 up
  std::array<std::int16_t, 8> previousMouseButtons{};
  Stroke stroke;  // the gesture being drawn
  // The pointer in back-buffer pixels, and where it was in the previous iteration.
  std::int32_t cursorX = 0;
  std::int32_t cursorY = 0;
  std::int32_t previousCursorX = 0;
  std::int32_t previousCursorY = 0;
  // Script-readable; nothing on this platform moves them.
  float accelerometerX = 0.0f;
  float accelerometerY = 0.0f;
  float accelerometerZ = 0.0f;
  // The cursor's sprite set (-1 none, -2 not found: cursorSpriteId is kept) and colour.
  std::int32_t cursorSprite = -1;
  Identifier cursorSpriteId;
  std::int32_t cursorColor = -1;
};

// The player has one input state, index 0.
inline constexpr int kPlayerInputStateCount = 1;
extern std::array<PlayerInputState, kPlayerInputStateCount> playerInputStates;

// The main loop's input steps of one iteration, in order. The first keeps the
// previous pointer position, mouse values and button flags of input state 0,
// clears the button flags and the pick colour's validity, then keeps the
// previous keyboard and joystick states and polls all three devices; the
// second, later in the iteration, takes the mouse state into input state 0.
void MainLoopPollInput();
void MainLoopTakeMouseState();

}  // namespace kiv
