#pragma once
// The key codes and shift bits of the forms' key events (Windows virtual-key
// codes: letters as their capitals, digits as their characters, 13 Return,
// 18 Alt ...), from SDL's key symbols.
#include <cstdint>
#include <string_view>
#include <vector>

namespace kiv::ui {

// 0 for a key without a code.
int VirtualKeyFromSdl(std::int32_t sdlKeycode);
// 1 Shift, 2 Ctrl, 4 Alt, from SDL's modifier bits.
int ShiftBitsFromSdl(std::uint16_t sdlModifiers);
// The Windows-1252 codes of typed UTF-8 text; characters without one are left out.
std::vector<int> KeyAsciiFromText(std::string_view utf8);

}  // namespace kiv::ui
