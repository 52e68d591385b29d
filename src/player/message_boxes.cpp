#include "player/message_boxes.h"

#include "core/text_encoding.h"
#include "data/data_hooks.h"

namespace kiv {

std::array<MessageBox, kMessageBoxCount> messageBoxes;
std::int32_t messageBoxState = 0;
std::int16_t messageBoxOpenedByScript = 0;
MessagePortrait messagePortrait;

void MessageBoxTypeKey(std::int32_t keyAscii) {
  if (messageBoxState < 0 || messageBoxState >= kMessageBoxCount) return;
  MessageBox& box = messageBoxes[static_cast<std::size_t>(messageBoxState)];
  if (box.inputMode != 1) return;
  if (keyAscii == 8) {
    if (!box.inputText.empty()) box.inputText.pop_back();
  } else if (keyAscii < 32 || keyAscii > 255) {
    return;
  } else {
    // The length is tested before the character is added, so a limit of n admits n + 1.
    if (static_cast<std::int64_t>(box.inputText.size()) <= box.inputLimit) {
      const char ansi = static_cast<char>(keyAscii);
      box.inputText += AnsiToUtf16(std::string_view(&ansi, 1));
    }
  }
  box.inputGlyphs = dataHooks.WrapText(0, box.inputText, 0, box.inputLines, 1.0f);
}

}  // namespace kiv
