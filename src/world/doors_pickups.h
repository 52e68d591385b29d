#pragma once
// Opening doors, adding and taking pick-ups, and ageing the animations
// attached to characters.
#include <cstdint>
#include <vector>

#include "data/lists.h"

namespace kiv {

// The countdown of a pick-up that never comes back.
inline constexpr std::int32_t kNeverRespawn = 0x7FFFFDFF;
// The system script that runs when a pick-up is taken.
inline constexpr std::int32_t kPickUpSystemTrigger = 10;

// Records the opener, sets the door's swing from its style and the opener's
// angle, and runs the door's open script (script 1). Style 0 records the
// opener only.
void OpenDoor(std::int32_t map, std::int32_t door, float angle, std::int32_t opener);

// Appends a pick-up of the item (-1 none) with its ammunition; returns its index.
std::int32_t AddPickUp(std::int32_t map, float x, float y, float z, std::int32_t item, std::int32_t itemQuantity,
                       std::int32_t ammoQuantity, std::int32_t extraValue1, std::int64_t money,
                       std::int32_t extraValue2, std::int32_t spriteSet);

// Starts the pick-up's countdown and runs the pick-up system script with the
// character as the related one.
void TakePickUp(std::int32_t map, std::int32_t character, std::int32_t pickUp);

// Adds the tick's ms to every entry and removes, from the last entry down,
// those that do not loop and have outlived their sprite set's animation.
void ExpireEffectAnimations(std::vector<Attachment>& list, std::int32_t elapsed);

}  // namespace kiv
