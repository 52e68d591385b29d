#pragma once
// Translation of SDL scancodes (physical key positions) to the keyboard key
// codes of the state record: the codes of the PC keyboard's scan-code set 1,
// with 0x80 added for the extended (E0-prefixed) keys.
#include <cstdint>

namespace kiv::input {

// The key code of an SDL scancode; 0 for keys that have none.
std::uint8_t KeyCodeFromScancode(int scancode);

}  // namespace kiv::input
