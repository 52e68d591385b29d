#pragma once
// Shared window operations of the start window, the game window and the
// settings dialogs.
#include <cstdint>
#include <string>

#include "platform/gfx/window.h"

namespace kiv {

void SetWindowStyleBits(gfx::Window* window, std::uint32_t clearBits, std::uint32_t setBits);
// A non-zero icon handle, 0 when the icon could not be loaded.
std::uint32_t SetWindowIconFromFile(gfx::Window* window, const std::string& iconPath);
void SetCursorVisible(bool show);
// With moveAndSize the window also goes to (0, 0) at the video width and height.
void SetWindowTopmost(gfx::Window* window, bool topmost, bool moveAndSize);

}  // namespace kiv
