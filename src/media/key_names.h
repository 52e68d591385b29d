#pragma once
// Display names of keyboard keys and of input bindings.
#include <cstdint>
#include <string>

namespace kiv {

// Device kinds of a binding.
inline constexpr std::int32_t kBindNone = 0;
inline constexpr std::int32_t kBindControl = 1;
inline constexpr std::int32_t kBindKeyboard = 2;
inline constexpr std::int32_t kBindMouse = 4;
inline constexpr std::int32_t kBindJoystick = 8;

// Mouse binding codes beyond the buttons 0 to 7.
inline constexpr std::int32_t kMouseHorizontal = 8;
inline constexpr std::int32_t kMouseVertical = 9;
inline constexpr std::int32_t kMouseWheel = 10;

// The name of a keyboard key code; empty for codes without a name.
// Names beginning with "#" are keys of the numeric keypad.
std::u16string KeyName(std::int32_t code);

// The name of a binding of the given device kind (keyboard, mouse or joystick
// button); "None" for any other kind.
std::u16string InputControlName(std::int32_t code, std::int32_t deviceKind);

}  // namespace kiv
