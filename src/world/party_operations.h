#pragma once
// Operations on characters, the party and its shared inventory that several
// script executors call: item and ammunition counts, the colours parts share
// with the body, stepping through the items of an equipment area, handing
// control to another member, a member's return to the party and boarding a
// vehicle from its trigger.
#include <cstdint>

#include "data/actor_record.h"

namespace kiv {

// The system trigger run when a character lacks the key of a vehicle.
inline constexpr std::int32_t kVehicleKeyMissingSystemTrigger = 12;
// Sprite-set flag: the parts drawn from the set take the body's colours.
inline constexpr std::uint8_t kSpriteSetFollowsBodyColors = 8;

// A character of no player: the count of its first own entry of the item.
// A player's character: the count of the player's first entry of the item,
// plus one per equipment area of the character holding it.
std::int32_t CountCharacterItem(std::int32_t map, std::int32_t actor, std::int32_t item);

// -1 for a character of no player and for an item that uses neither an
// ammunition item nor units per use. Else the player's count of the
// ammunition item, or of the item itself plus one per area of the player's
// primary member (not the character asked about) holding it.
std::int32_t CountAmmo(std::int32_t map, std::int32_t actor, std::int32_t item);

// Parts 1.. whose sprite set has the body-colours flag copy part 0's colours,
// and the character's own drawn layers of those parts take them too.
void PropagateBodyColors(Actor& actor);

// Equips the next (forward) or previous item of the area from the player's
// inventory, rotating the entries passed over to the other end, and speaks
// its display name when the voice is on. Raises for a character of no player.
void EquipNextInArea(std::int32_t map, std::int32_t actor, std::int32_t area, bool forward);

// Hands control to the member: the old controlled character, once snapped
// to the path grid, follows it; nothing changes when it cannot be snapped.
void SetPrimaryMember(std::int32_t player, std::int32_t member);

// Brings a member that left the party back: it follows the end of the
// follow chain (or takes control when nobody has it), stands where that
// character stands and raises its existence-changed event.
void RejoinPartyMember(std::int32_t player, std::int32_t member);

// Boards the running frame's this actor (a vehicle) with its relate actor
// when the character carries the vehicle's key; without it runs the
// key-missing system trigger. Raises outside a trigger that sets both.
void ScriptVehicleMain();

}  // namespace kiv
