#include "media/window_operations.h"

#include "media/graphics.h"

namespace kiv {

void SetWindowStyleBits(gfx::Window* window, std::uint32_t clearBits, std::uint32_t setBits) {
  if (!window) return;
  window->SetStyle((window->Style() & ~clearBits) | setBits);
}

std::uint32_t SetWindowIconFromFile(gfx::Window* window, const std::string& iconPath) {
  static std::uint32_t nextHandle = 1;
  if (!window || !window->SetIconFromFile(iconPath)) return 0;
  return nextHandle++;
}

void SetCursorVisible(bool show) { gfx::SetSystemCursorVisible(show); }

void SetWindowTopmost(gfx::Window* window, bool topmost, bool moveAndSize) {
  if (!window) return;
  window->SetTopmost(topmost);
  if (topmost && moveAndSize) {
    window->Move(0, 0);
    window->SetClientSize(graphics.videoWidth, graphics.videoHeight);
  }
}

}  // namespace kiv
