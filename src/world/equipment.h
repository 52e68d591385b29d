#pragma once
// Equipping: one inventory entry per equipment area of a character.
#include <cstdint>

namespace kiv {

// Item event slots: run when the item is equipped and when it is taken off.
inline constexpr std::int32_t kItemEquippedEvent = 0;
inline constexpr std::int32_t kItemUnequippedEvent = 3;

// Puts the item (-1: nothing) into the character's equipment area and returns
// the item that was there (-1 none). The previous item gives back its
// statistic modifiers, returns to the owner's inventory with its rounds (at
// the front with atFront) and runs its unequipped event; the new one is taken
// from the inventory with its rounds, adds its modifiers, redraws the
// character and runs its equipped event. Raises -1 when the owner has none of
// the item; the area then stays empty.
std::int32_t EquipItem(std::int32_t map, std::int32_t character, std::int32_t area, std::int32_t item,
                       bool atFront);

}  // namespace kiv
