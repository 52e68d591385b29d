#pragma once
// A top-level window that the device draws into (an SDL window with OpenGL).
#include <cstdint>
#include <string>

struct SDL_Window;

namespace kiv::gfx {

class Window {
 public:
  // A new window; hidden windows still carry a drawable (tests, offscreen).
  Window(const std::string& titleUtf8, int width, int height, bool visible, bool resizable);
  // Adopts a window made elsewhere (not destroyed here).
  explicit Window(SDL_Window* existing);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  SDL_Window* Handle() const { return window_; }

  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientSize(int width, int height);
  void Move(int x, int y);
  int Left() const;
  int Top() const;

  // Window style bits in the Windows layout; the caption (0xC00000) gives a
  // border and title bar, the sizing frame (0x40000) makes the window resizable.
  std::uint32_t Style() const { return style_; }
  void SetStyle(std::uint32_t style);
  void SetTopmost(bool topmost);
  // Loads an icon image (PNG, BMP, or an ICO holding PNG or 32-bit images);
  // false when it cannot be read.
  bool SetIconFromFile(const std::string& pathUtf8);

 private:
  SDL_Window* window_ = nullptr;
  bool owned_ = false;
  std::uint32_t style_ = 0x00CF0000;  // an overlapped window with caption, frame and buttons
};

void SetSystemCursorVisible(bool show);

}  // namespace kiv::gfx
