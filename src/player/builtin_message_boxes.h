#pragma once
// The set-up of the message-box table: the look of the built-in boxes 8 to 43
// (the project's two box colours, centred), the system menu (box 8) at the
// top right, the save and load slot menus (19, 23) with the slot names of
// "SETTINGS.INI", the rename prompt (20) and the confirmations (21, 24, 25).
#include <cstdint>
#include <string>

namespace kiv {

inline constexpr std::int32_t kSystemMenuBox = 8;
inline constexpr std::int32_t kSaveSlotsBox = 19;
inline constexpr std::int32_t kRenameSlotBox = 20;
inline constexpr std::int32_t kGameSavedBox = 21;
inline constexpr std::int32_t kLoadSlotsBox = 23;
inline constexpr std::int32_t kGameLoadedBox = 24;
inline constexpr std::int32_t kLoadErrorBox = 25;
inline constexpr std::int32_t kSlotCount = 4;

// The first call sets texts, items and hidden states too and logs its start
// and end; a later call restores only sizes, colours and positions.
void InitMessageBoxes(bool firstTime);

// The name of a slot (0 to 3) from [Save] "Slot<n>", default "Slot <n + 1>".
std::string ReadSlotName(std::int32_t slot);

}  // namespace kiv
