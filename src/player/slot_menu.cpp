#include "player/slot_menu.h"

#include <exception>
#include <filesystem>

#include "core/folders.h"
#include "core/ini.h"
#include "core/log.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "dialogs/settings_file.h"
#include "player/builtin_message_boxes.h"
#include "player/main_loop.h"
#include "player/message_box_update.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "state/save_game.h"

namespace kiv {

namespace {

MessageBox& BoxAt(std::int32_t index) { return messageBoxes[static_cast<std::size_t>(index)]; }

void OpenBox(std::int32_t index) {
  MessageBox& box = BoxAt(index);
  box.visible = true;
  box.typeElapsed = 0;
  MenuPlayer().keyReturnHeld = true;
}

void CloseSlotMenu(std::int32_t index) {
  messageBoxState = 0;
  BoxAt(index).visible = false;
  MenuPlayer().keyEscapeHeld = true;
}

// The highlight has come to rest on the selection: only then does Return choose.
bool Settled(const MessageBox& box) { return box.cursorRow == static_cast<float>(box.selected); }

bool IsSlot(std::int32_t slot) { return slot >= 0 && slot < kSlotCount; }

std::u16string Digits(std::int32_t value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

std::string CaughtText(std::exception_ptr error) {
  std::string message;
  const std::int32_t number = ErrorNumberOf(std::move(error), message);
  return "error " + std::to_string(number) + ": " + message;
}

void RunTopmostBox(std::int32_t ms) {
  for (std::int32_t b = kMessageBoxCount - 1; b >= 0; --b) {
    if (!BoxAt(b).visible) continue;
    UpdateMessageBox(b, ms);
    return;
  }
  UpdateMessageBox(0, ms);
  Player& keys = MenuPlayer();
  if (CancelPressed(keys)) keys.keyEscapeHeld = true;
}

void RunSaveSlots(std::int32_t ms) {
  UpdateMessageBox(kSaveSlotsBox, ms);
  Player& keys = MenuPlayer();
  if (CancelPressed(keys)) {
    CloseSlotMenu(kSaveSlotsBox);
    return;
  }
  const MessageBox& slots = BoxAt(kSaveSlotsBox);
  if (!Settled(slots) || !AcceptPressed(keys) || !IsSlot(slots.selected)) return;
  const std::int32_t slot = slots.selected;
  messageBoxState = kRenameSlotBox;
  MessageBox& rename = BoxAt(kRenameSlotBox);
  rename.text.clear();
  rename.glyphs =
      dataHooks.WrapText(0, u"New name for slot " + Digits(slot + 1) + u":", 0, rename.lineCount, 1.0f);
  OpenBox(kRenameSlotBox);
  rename.inputText = AnsiToUtf16(ReadSlotName(slot));
  LayOutInput(kRenameSlotBox);
  keys.keyReturnHeld = true;
}

void RunRename() {
  Player& keys = MenuPlayer();
  MessageBox& rename = BoxAt(kRenameSlotBox);
  if (CancelPressed(keys)) {
    messageBoxState = kSaveSlotsBox;
    rename.visible = false;
    keys.keyEscapeHeld = true;
    return;
  }
  if (!AcceptPressed(keys)) return;
  const std::int32_t slot = BoxAt(kSaveSlotsBox).selected;
  if (!IsSlot(slot)) return;
  if (rename.inputText.empty()) rename.inputText = u" ";
  std::int32_t lines = 0;
  const auto shown = dataHooks.WrapText(0, rename.inputText, 0, lines, 1.0f);
  for (const std::int32_t menu : {kSaveSlotsBox, kLoadSlotsBox}) {
    MessageBox& box = BoxAt(menu);
    if (slot < static_cast<std::int32_t>(box.items.size()))
      box.items[static_cast<std::size_t>(slot)].glyphs = shown;
  }
  IniWriteString(SettingsIniPath(), "Save", "Slot" + std::to_string(slot), Utf16ToAnsi(rename.inputText));
  try {
    SaveGame(SlotSavePath(slot));
  } catch (...) {
    // A failed save (a full disk) must not end the game: the old slot file
    // is still there, and the player is back at the slots.
    ErrorLogAppend("Could not save the game into \"" + SlotSavePath(slot) + "\" (" +
                   CaughtText(std::current_exception()) + ").");
    messageBoxState = kSaveSlotsBox;
    rename.visible = false;
    MenuPlayer().keyReturnHeld = true;
    return;
  }
  messageBoxState = kGameSavedBox;
  OpenBox(kGameSavedBox);
}

void RunSaved() {
  Player& keys = MenuPlayer();
  if (!CancelPressed(keys) && !AcceptPressed(keys)) return;
  messageBoxState = 0;
  for (const std::int32_t box : {kGameSavedBox, kRenameSlotBox, kSaveSlotsBox}) BoxAt(box).visible = false;
  keys.keyEscapeHeld = true;
  keys.keyReturnHeld = true;
}

void ShowLoadError() {
  messageBoxState = kLoadErrorBox;
  OpenBox(kLoadErrorBox);
}

// Loads a slot over the running game, which is saved as a backup first and
// loaded back when the slot fails.
void LoadSlot(std::int32_t slot) {
  const std::string path = SlotSavePath(slot);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    ShowLoadError();
    return;
  }
  const std::string backup = SlotBackupPath();
  try {
    SaveGame(backup);
  } catch (...) {
    // Without a backup a failed load could not be undone: the load is skipped.
    ErrorLogAppend("Could not save the backup \"" + backup + "\" before loading \"" + path + "\" (" +
                   CaughtText(std::current_exception()) + "); the load was skipped.");
    MenuPlayer().keyReturnHeld = true;
    return;
  }
  if (LoadGame(path) == 0) {
    DeleteFileIfExists(backup);
    // The reset inside the load has closed the menu; the keys are the loaded game's.
    messageBoxState = 0;
    BoxAt(kLoadSlotsBox).visible = false;
    MenuPlayer().keyReturnHeld = true;
    return;
  }
  const std::int32_t result = LoadGame(backup);
  if (result != 0) {
    // The backup is now the only copy of the game that was running: keep it.
    ErrorLogAppend("Could not load the backup \"" + backup + "\" back after loading \"" + path +
                   "\" failed (error " + std::to_string(result) + "); the backup is kept and the game ends.");
    shell.quitRequest = true;
    return;
  }
  DeleteFileIfExists(backup);
  ShowLoadError();
}

void RunLoadSlots(std::int32_t ms) {
  UpdateMessageBox(kLoadSlotsBox, ms);
  Player& keys = MenuPlayer();
  if (CancelPressed(keys)) {
    CloseSlotMenu(kLoadSlotsBox);
    return;
  }
  const MessageBox& slots = BoxAt(kLoadSlotsBox);
  if (!Settled(slots) || !AcceptPressed(keys) || !IsSlot(slots.selected)) return;
  keys.keyReturnHeld = true;
  LoadSlot(slots.selected);
}

void RunLoadError() {
  Player& keys = MenuPlayer();
  if (!CancelPressed(keys) && !AcceptPressed(keys)) return;
  messageBoxState = kLoadSlotsBox;
  BoxAt(kLoadErrorBox).visible = false;
  // A load in between has hidden the built-in boxes: the slots open again.
  OpenBox(kLoadSlotsBox);
  keys.keyEscapeHeld = true;
  keys.keyReturnHeld = true;
}

}  // namespace

std::string SlotSavePath(std::int32_t slot) {
  return JoinPath(GetUserGameFolder(), "SAVE" + std::to_string(slot) + ".kSV");
}

std::string SlotBackupPath() { return JoinPath(GetCommonFolder(), "SAVEX.kSV"); }

void OpenSlotMenu(bool save) {
  const std::int32_t index = save ? kSaveSlotsBox : kLoadSlotsBox;
  messageBoxState = index;
  MessageBox& box = BoxAt(index);
  box.visible = true;
  box.typeElapsed = 0;
  box.selected = box.startItem;
  box.cursorRow = static_cast<float>(box.startItem);
}

void RunSystemMessageBoxes() {
  const std::int32_t ms = shell.frameElapsed;
  switch (messageBoxState) {
    case 0:
      RunTopmostBox(ms);
      break;
    case kSaveSlotsBox:
      RunSaveSlots(ms);
      break;
    case kRenameSlotBox:
      RunRename();
      break;
    case kGameSavedBox:
      RunSaved();
      break;
    case kLoadSlotsBox:
      RunLoadSlots(ms);
      break;
    case kLoadErrorBox:
      RunLoadError();
      break;
    default:
      break;
  }
}

}  // namespace kiv
