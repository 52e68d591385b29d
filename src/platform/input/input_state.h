#pragma once
// The state records that the input devices fill when they are read, laid out
// as the game code expects them: every button or key byte has bit 7 set while
// it is down.
#include <array>
#include <cstdint>

namespace kiv::input {

inline constexpr std::uint8_t kDownBit = 0x80;

// 256 bytes indexed by keyboard key code (the scan-code numbering of the
// key-name table); bit 7 set = key down.
using KeyboardState = std::array<std::uint8_t, 256>;

// Relative movement since the last read, wheel movement (120 per notch,
// positive away from the user) and 8 button bytes.
struct MouseState {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::array<std::uint8_t, 8> buttons{};
};
static_assert(sizeof(MouseState) == 20);

// The 80-byte joystick record: six axes (0 to 65535, centre 32768), two
// sliders, four point-of-view hats (hundredths of degrees clockwise from up,
// -1 when centred) and 32 button bytes.
struct JoystickState {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::int32_t rx = 0;
  std::int32_t ry = 0;
  std::int32_t rz = 0;
  std::array<std::int32_t, 2> sliders{};
  std::array<std::int32_t, 4> pointOfView{};
  std::array<std::uint8_t, 32> buttons{};
};
static_assert(sizeof(JoystickState) == 80);

}  // namespace kiv::input
