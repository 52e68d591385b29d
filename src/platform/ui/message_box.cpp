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

// With withCaption the stderr line is "caption: text" on one line; without, the text as it is.
void ShowUtf8(const std::string& caption, const std::string& text, BoxIcon icon, bool withCaption) {
  // SDL shows the box without SDL_Init and reports failure when it finds no display.
  if (SDL_ShowSimpleMessageBox(SdlFlags(icon), caption.c_str(), text.c_str(), nullptr) == 0) return;
  const std::string line = withCaption ? caption + ": " + OneLine(text) : text;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace

void ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon) {
  if (Recorder()) {
    Recorder()(caption, text, icon);
    return;
  }
  ShowUtf8(AnsiToUtf8(caption), AnsiToUtf8(text), icon, true);
}

void SetMessageBoxRecorder(std::function<void(const std::string&, const std::string&, BoxIcon)> recorder) {
  Recorder() = std::move(recorder);
}

void ShowErrorMessageBox(const std::string& caption, const std::string& text) {
  if (Recorder()) {
    Recorder()(Utf8ToAnsi(caption), Utf8ToAnsi(text), BoxIcon::Error);
    return;
  }
  ShowUtf8(caption, text, BoxIcon::Error, false);
}

}  // namespace kiv::ui
