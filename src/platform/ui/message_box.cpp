#include "platform/ui/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <utility>

#include "core/text_encoding.h"

namespace kiv::ui {
namespace {

std::function<void(const std::string&, const std::string&, BoxIcon)>& Recorder() {
  static std::function<void(const std::string&, const std::string&, BoxIcon)> recorder;
  return recorder;
}

Uint32 SdlFlags(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Warning:
      return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::Information:
      return SDL_MESSAGEBOX_INFORMATION;
    case BoxIcon::Error:
      break;
  }
  return SDL_MESSAGEBOX_ERROR;
}

// Line breaks of the box become blanks on the one line of standard error.
std::string OneLine(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
  }
  return out;
}

void ShowUtf8(const std::string& caption, const std::string& text, BoxIcon icon) {
  // SDL shows the box without SDL_Init and reports failure when it finds no display.
  if (SDL_ShowSimpleMessageBox(SdlFlags(icon), caption.c_str(), text.c_str(), nullptr) == 0) return;
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), OneLine(text).c_str());
  std::fflush(stderr);
}

}  // namespace

void ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon) {
  if (Recorder()) {
    Recorder()(caption, text, icon);
    return;
  }
  ShowUtf8(AnsiToUtf8(caption), AnsiToUtf8(text), icon);
}

void SetMessageBoxRecorder(std::function<void(const std::string&, const std::string&, BoxIcon)> recorder) {
  Recorder() = std::move(recorder);
}

void ShowErrorMessageBox(const std::string& caption, const std::string& text) {
  if (Recorder()) {
    Recorder()(Utf8ToAnsi(caption), Utf8ToAnsi(text), BoxIcon::Error);
    return;
  }
  ShowUtf8(caption, text, BoxIcon::Error);
}

}  // namespace kiv::ui
