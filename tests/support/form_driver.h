#pragma once
// Drives real forms on the offscreen driver as a person would: clicks with
// the injected mouse at the places where the last frame drew the controls,
// keys and typed text as SDL events, and the real event pump between them.
// Header-only: only test programs that link the forms layer include it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/form.h"

namespace kiv::test {

// Presses and lets go of the mouse at (x, y) of the form, a frame each.
inline void ClickAt(ui::Form& form, int x, int y) {
  for (bool down : {false, true, false}) {
    ui::InjectMouse(form, x, y, down);
    ui::DoEvents();
  }
  ui::ClearInjectedMouse();
}

// Clicks a control (entry -1), a list box line or an open drop-down list's entry.
inline void Click(ui::Form& form, const std::string& array, int index = 0, int entry = -1) {
  ui::DoEvents();  // a frame that shows where everything is
  int x = 0, y = 0;
  ASSERT_TRUE(ui::ControlPoint(form, array, index, entry, x, y)) << array << " " << index << " " << entry;
  ClickAt(form, x, y);
}

// Opens a drop-down list and chooses one of its entries.
inline void Choose(ui::Form& form, const std::string& array, int entry, int index = 0) {
  Click(form, array, index);
  Click(form, array, index, entry);
}

inline void PushKey(ui::Form& form, SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = form.WindowId();
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  SDL_PushEvent(&event);
}

// A key pressed and let go, each in a frame of its own.
inline void PressKey(ui::Form& form, SDL_Scancode scancode) {
  PushKey(form, scancode, true);
  ui::DoEvents();
  PushKey(form, scancode, false);
  ui::DoEvents();
}

inline void TypeText(ui::Form& form, const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  event.text.windowID = form.WindowId();
  SDL_strlcpy(event.text.text, utf8, sizeof(event.text.text));
  SDL_PushEvent(&event);
  ui::DoEvents();
  ui::DoEvents();
}

// The form's client area as drawn now, RGBA rows from the top.
struct FormPixels {
  std::vector<std::uint8_t> rgba;
  int width = 0, height = 0;
  // Dark pixels (text, frames) inside a rectangle.
  int Dark(int x0, int y0, int x1, int y1) const {
    int dark = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y) {
      for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) {
        const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                       static_cast<std::size_t>(x)) *
                                      4];
        if (p[0] < 80 && p[1] < 80 && p[2] < 80) ++dark;
      }
    }
    return dark;
  }
};

inline FormPixels ReadPixels(ui::Form& form) {
  FormPixels pixels;
  EXPECT_TRUE(ui::ReadFormPixels(form, pixels.rgba, pixels.width, pixels.height));
  return pixels;
}

// Writes the pixels to $KIV_DIALOG_PNG_DIR/<name>.png when that variable is set, to look at.
inline void SavePng(const FormPixels& pixels, const std::string& name) {
  const char* folder = std::getenv("KIV_DIALOG_PNG_DIR");
  if (!folder || pixels.rgba.empty()) return;
  const std::string path = std::string(folder) + "/" + name + ".png";
  EXPECT_NE(
      stbi_write_png(path.c_str(), pixels.width, pixels.height, 4, pixels.rgba.data(), pixels.width * 4), 0);
}

}  // namespace kiv::test
