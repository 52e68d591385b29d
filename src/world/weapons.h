#pragma once
// Using items: firing the weapon of an equipment area, the use of an item on
// a target with its statistic costs and ammunition, a weapon's clip with its
// reload from the player's stock, and the launch of projectiles.
#include <cstdint>

namespace kiv {

// Fires the item of an equipment area when the character may: above the
// ground limit, a wait run out, and for a player's own character (or any
// call that keeps the press rules) the control held, once per press unless
// the item is automatic. A failed use releases the control.
void TryFireCharacterWeapon(std::int32_t map, std::int32_t character, std::int32_t area, float angle,
                            float rateFactor, bool exact, bool bypassPress);

// Uses an item of a character on a target (-1 none); area -1 takes the first
// equipment area holding the item. True when the item was used.
bool UseCharacterWeapon(std::int32_t map, std::int32_t user, std::int32_t target, std::int32_t item,
                        std::int32_t area, float angle, float rateFactor, bool exact);

// The rounds loaded in an item that the character holds: its equipment in
// area order, then, for a player's character, the player's inventory. Raises
// -1 when the character has no such item.
std::int32_t GetWeaponAmmo(std::int32_t map, std::int32_t character, std::int32_t item);
// Stores rounds clamped to 0..the clip; raises as GetWeaponAmmo.
void SetWeaponAmmo(std::int32_t map, std::int32_t character, std::int32_t item, std::int32_t value);
// amount 0 reloads (a player's character from the stock, others for free);
// any other amount is the change. The sounds play at (x, y, z).
void ReduceWeaponAmmo(std::int32_t map, std::int32_t character, std::int32_t item, std::int32_t area, float x,
                      float y, float z, std::int32_t amount);
void PlayItemEmptySound(std::int32_t map, float x, float y, float z, std::int32_t item, std::int32_t character);

// The item's alert, use script, use sound and effect, then (for the weapon
// itself, parent -1) its projectiles; then the same for its ammunition item
// with this item as parent. Each item of the ammunition chain is followed
// once, so a chain that comes back to an item ends there.
void LaunchProjectiles(std::int32_t map, std::int32_t item, std::int32_t shooter, std::int32_t parent, float angle,
                       float rateFactor, bool exact);

// The count of projectiles one use launches: the item's count, plus for an
// automatic item the extra rounds that a rate factor of whole delays gives.
// An automatic item without a delay fires its count alone.
std::int32_t ProjectilesPerUse(std::int32_t item, float rateFactor);

}  // namespace kiv
