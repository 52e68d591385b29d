#include "platform/ui/key_codes.h"

#include <SDL.h>

#include <string>

#include "core/text_encoding.h"

namespace kiv::ui {

int VirtualKeyFromSdl(std::int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_0: return 96;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    case SDLK_NUMLOCKCLEAR: return 144;
    case SDLK_SCROLLLOCK: return 145;
    case SDLK_SEMICOLON: return 186;
    case SDLK_EQUALS: return 187;
    case SDLK_COMMA: return 188;
    case SDLK_MINUS: return 189;
    case SDLK_PERIOD: return 190;
    case SDLK_SLASH: return 191;
    case SDLK_BACKQUOTE: return 192;
    case SDLK_LEFTBRACKET: return 219;
    case SDLK_BACKSLASH: return 220;
    case SDLK_RIGHTBRACKET: return 221;
    case SDLK_QUOTE: return 222;
    default: return 0;
  }
}

int ShiftBitsFromSdl(std::uint16_t mod) {
  int bits = 0;
  if (mod & KMOD_SHIFT) bits |= 1;
  if (mod & KMOD_CTRL) bits |= 2;
  if (mod & KMOD_ALT) bits |= 4;
  return bits;
}

std::vector<int> KeyAsciiFromText(std::string_view utf8) {
  std::vector<int> codes;
  const std::u16string units = Utf8ToUtf16(utf8);
  for (char16_t unit : units) {
    const std::string ansi = Utf16ToAnsi(std::u16string(1, unit));
    // Utf16ToAnsi writes '?' for a character without a Windows-1252 form.
    if (ansi.size() != 1 || (ansi[0] == '?' && unit != u'?')) continue;
    codes.push_back(static_cast<unsigned char>(ansi[0]));
  }
  return codes;
}

}  // namespace kiv::ui
