#pragma once
// The system boxes of a running game, one tick at a time: the save slot
// menu, the rename prompt and the save; the load slot menu and the load with
// a backup of the running game; the confirmation and error boxes between
// them. With no slot box in charge the topmost shown box takes the input.
#include <cstdint>
#include <string>

namespace kiv {

// The Message Box System's work for one tick.
void RunSystemMessageBoxes();

// Opens the save menu (box 19) or the load menu (box 23) with the highlight
// resting on the box's start item, as the game's save and load commands do.
void OpenSlotMenu(bool save);

// "SAVE<n>.kSV" in the user folder, and the backup "SAVEX.kSV" in the common folder.
std::string SlotSavePath(std::int32_t slot);
std::string SlotBackupPath();

}  // namespace kiv
