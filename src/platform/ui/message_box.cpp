#include "platform/ui/message_box.h"

#include <SDL.h>

#include <cstdio>

namespace kiv::ui {

void ShowErrorMessageBox(const std::string& caption, const std::string& text) {
  // SDL shows the box without SDL_Init and reports failure when it finds no display.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) == 0) return;
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

}  // namespace kiv::ui
