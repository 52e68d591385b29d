#pragma once
// The built-in message boxes (50) and the one in charge: what typed text into
// a box needs. The boxes' layout, items and drawing come with their builder.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

struct MessageBox {
  bool visible = false;                // shown on the screen
  std::int32_t inputMode = 0;          // 1: the box takes typed text
  std::u16string inputText;
  std::vector<std::int16_t> inputGlyphs;  // inputText laid out with font set 0
  std::int32_t inputLines = 0;
  std::int32_t inputLimit = 0;         // characters; 0x7FFFFDFF: no practical limit
};

inline constexpr int kMessageBoxCount = 50;
extern std::array<MessageBox, kMessageBoxCount> messageBoxes;
// The box in charge; 0 when no system box is.
extern std::int32_t messageBoxState;

// A key typed while the game window has the focus: Backspace (8) removes the
// last character, other codes below 32 are ignored, the rest (Windows-1252)
// are appended while the text is no longer than the limit; the text is then
// laid out again.
void MessageBoxTypeKey(std::int32_t keyAscii);

}  // namespace kiv
