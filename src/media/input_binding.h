#pragma once
// Whether, for a player, a control or a single binding was just pressed, is
// held or was just released, comparing this main-loop iteration's device
// states with the previous iteration's.
#include <cstdint>

namespace kiv {

// One test follows control bindings at most this many controls deep; the
// ones beyond answer false. A control met a second time in the same test (a
// control bound to itself, directly or through others) answers false at once.
inline constexpr int kMaxControlNesting = 16;

// player: 0 to 3 (control tests); mode: a device kind, its lowest bit among
// 1 control, 2 keyboard, 4 mouse, 8 joystick button decides; key: control
// index, key code, mouse code or button; edge: above 0 pressed, 0 held, below
// 0 released; inputIndex: the player input state (only 0 exists).
// A negative key is false. Raises 9 for a player, control, key code or button
// outside its table and for a negative input index in a mouse test.
bool InputTestBinding(std::int32_t player, std::int32_t mode, std::int32_t key, std::int32_t edge,
                      std::int32_t inputIndex);

}  // namespace kiv
