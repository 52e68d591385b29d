#pragma once
// The per-tick timers of one character, its melee strike and its anchor on the
// movement grid: the parts of the Character System that only count time and
// place boxes.
#include <cstdint>

#include "core/geometry.h"
#include "data/actor_record.h"

namespace kiv {

// Advances the character's timers by a tick of t ms (worldStep is the tick as
// the world update saw it, which drives the interval). motion is the
// character's motion state (1 forward, -1 backward, 0 neither); indicator
// receives t when the character shows its owner's action indicator.
void AdvanceCharacterTimers(Actor& actor, std::int32_t t, std::int32_t worldStep, std::int32_t motion);

// Counts the running attack down by t ms. True when this tick crosses the
// attack's middle and the held item strikes: item is then the item's index and
// box the strike box. An attack of no length never strikes.
bool AdvanceMeleeAttack(Actor& actor, std::int32_t t, std::int32_t& item, Box& box);

// The footprint box widened by the item's reaches for the heading's direction.
Box MeleeStrikeBox(const Box& footprint, std::int32_t direction, std::int32_t forward, std::int32_t backward,
                   std::int32_t sideways);

// Stores the grid-aligned place and heading of an idle character that has a
// movement program.
void UpdateCharacterAnchor(Actor& actor, std::int32_t gridSize, std::int32_t gridOrigin);

}  // namespace kiv
