#include "kivplay_dump_boxes.h"

#include "core/text_encoding.h"
#include "player/message_boxes.h"
#include "player/notices.h"
#include "player/slot_menu.h"

namespace kiv::harness {

namespace {
nlohmann::json captured = nullptr;
}  // namespace

bool OpenMenuFromScript(const std::string& which) {
  if (which != "save" && which != "load") return false;
  OpenSlotMenu(which == "save");
  return true;
}

void CaptureBoxes() {
  nlohmann::json shown = nlohmann::json::array();
  for (std::int32_t b = 0; b < kMessageBoxCount; ++b) {
    const MessageBox& box = messageBoxes[static_cast<std::size_t>(b)];
    if (!box.visible) continue;
    shown.push_back({{"index", b},
                     {"items", box.items.size()},
                     {"selected", box.selected},
                     {"cursorRow", box.cursorRow},
                     {"cursorColumn", box.cursorColumn},
                     {"inputMode", box.inputMode},
                     {"inputText", Utf16ToUtf8(box.inputText)}});
  }
  nlohmann::json listed = nlohmann::json::array();
  for (const Notice& notice : notices) {
    listed.push_back({{"text", Utf16ToUtf8(notice.text)}, {"age", notice.age}, {"count", notice.count}});
  }
  captured = {{"state", messageBoxState}, {"shown", shown}, {"notices", listed}};
}

void AddBoxesDump(nlohmann::json& dump) { dump["messageBoxes"] = captured; }

}  // namespace kiv::harness
