#include "player/builtin_message_boxes.h"

#include <vector>

#include "core/folders.h"
#include "core/ini.h"
#include "core/log.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "dialogs/settings_file.h"
#include "player/message_boxes.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstBuiltIn = 8;
constexpr std::int32_t kLastBuiltIn = 43;
constexpr std::int32_t kScriptBoxLimit = 2147483135;
constexpr std::int32_t kRenameLimit = 10;

MessageBox& BoxAt(std::int32_t index) { return messageBoxes[static_cast<std::size_t>(index)]; }

// Texts are kept only in their laid-out form: font set 0, no wrapping.
std::vector<std::int16_t> LayOut(const std::u16string& text, std::int32_t& lines) {
  lines = 0;
  return dataHooks.WrapText(0, text, 0, lines, 1.0f);
}

void SetMessage(MessageBox& box, const char16_t* text) {
  box.text.clear();
  box.glyphs = LayOut(text, box.lineCount);
}

void SetSize(MessageBox& box, std::int32_t width, std::int32_t height) {
  box.width = width;
  box.height = height;
}

// The item list keeps its captions when it already has that many items.
void SetLastItem(MessageBox& box, std::int32_t last) { box.items.resize(static_cast<std::size_t>(last + 1)); }

void SetItems(MessageBox& box, const std::vector<std::u16string>& captions) {
  box.items.clear();
  for (const std::u16string& caption : captions) {
    MessageBoxItem item;
    std::int32_t lines = 0;
    item.glyphs = LayOut(caption, lines);
    box.items.push_back(std::move(item));
  }
}

// The save and load slot menus share their size and their four slot names.
void SetUpSlotMenu(MessageBox& box, const char16_t* message, bool firstTime) {
  if (firstTime) SetMessage(box, message);
  SetSize(box, 6, 5);
  box.itemWidth = 4;
  box.itemSpare = 0;
  SetLastItem(box, kSlotCount - 1);
  if (!firstTime) return;
  std::vector<std::u16string> names;
  for (std::int32_t slot = 0; slot < kSlotCount; ++slot) names.push_back(AnsiToUtf16(ReadSlotName(slot)));
  SetItems(box, names);
}

}  // namespace


std::string ReadSlotName(std::int32_t slot) {
  return IniReadString(SettingsIniPath(), "Save", "Slot" + std::to_string(slot),
                       "Slot " + std::to_string(slot + 1));
}

void InitMessageBoxes(bool firstTime) {
  if (firstTime) {
    LogWriteLine("Initializing message boxes for first time.");
    MessageBox& script = BoxAt(0);
    script.typeFactor = 1;
    script.inputLimit = kScriptBoxLimit;
    script.visible = false;
  }

  const auto& colours = storedProjectSettings.messageBoxDefaults;
  for (std::int32_t b = kFirstBuiltIn; b <= kLastBuiltIn; ++b) {
    MessageBox& box = BoxAt(b);
    box.backColor = static_cast<std::uint32_t>(colours[0]);
    box.frameColor = static_cast<std::uint32_t>(colours[1]);
    box.typeFactor = 1;
    box.posX = 1;
    box.posY = 1;
    if (firstTime) {
      box.items.clear();
      box.visible = false;
    }
  }

  MessageBox& menu = BoxAt(kSystemMenuBox);
  menu.posX = 2;
  menu.posY = 0;
  menu.noText = true;
  SetSize(menu, 5, 8);
  menu.itemWidth = 3;
  menu.itemSpare = 0;
  SetLastItem(menu, 7);
  if (firstTime) {
    SetItems(menu, {u"Items", u"Magic", u"Equipment", u"Status", u"Restart", u"Save Game", u"Load Game",
                    u"Quit Game"});
  }

  SetUpSlotMenu(BoxAt(kSaveSlotsBox), u"Save Game", firstTime);

  MessageBox& rename = BoxAt(kRenameSlotBox);
  rename.inputLimit = kRenameLimit;
  rename.inputMode = 1;
  SetSize(rename, 6, 2);

  MessageBox& saved = BoxAt(kGameSavedBox);
  if (firstTime) SetMessage(saved, u"Game saved successfully.");
  SetSize(saved, 7, 1);

  SetUpSlotMenu(BoxAt(kLoadSlotsBox), u"Load Game", firstTime);

  MessageBox& loaded = BoxAt(kGameLoadedBox);
  if (firstTime) SetMessage(loaded, u"Game loaded successfully.");
  SetSize(loaded, 7, 1);

  MessageBox& failed = BoxAt(kLoadErrorBox);
  if (firstTime) SetMessage(failed, u"Game file does not exist or couldn't be read properly.");
  SetSize(failed, 14, 1);

  if (firstTime) LogWriteLine("Finished initializing message boxes.");
}

}  // namespace kiv
