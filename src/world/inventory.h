#pragma once
// Item counts: a character that belongs to no player carries its own list;
// the characters of a player share the player's inventory, whose entries
// also hold the rounds loaded into each weapon.
#include <cstdint>

#include "data/actor_record.h"
#include "data/project_state.h"

namespace kiv {

// Condition of an entry created by these operations.
inline constexpr std::uint8_t kNewEntryCondition = 100;

// Adds (or, negative, removes) pieces of an item to a character: to its
// owner's inventory, or to its own list, which drops an entry at 0 or less.
void AddCharacterItem(std::int32_t map, std::int32_t character, std::int32_t item, std::int32_t quantity);

// Changes the player's count of an item and returns the quantity really added
// (positive) or removed (negative), 0 when refused. ammo above 0 loads rounds
// into the entry (a surplus over the clip returns to the stock of the
// ammunition item); -1 hands the entry's rounds out through ammo.
std::int32_t ChangePlayerItemCount(std::int32_t player, std::int32_t item, std::int32_t quantity,
                                   std::int32_t& ammo, bool atFront, bool refuseBelowZero);

// The player record, error 9 outside the table.
Player& PlayerAt(std::int32_t player);

}  // namespace kiv
