#pragma once
// The stack of sprite-set layers a character is drawn from: the sprites its
// equipped items give for its body, then its own appearance parts, sorted
// into drawing order.
#include <cstdint>

#include "data/actor_record.h"

namespace kiv {

// Rewrites the character's layers and its pose-13 flag. Raises 9 for a sprite
// set whose last colour index is above 7 and for an index outside its table.
void RebuildSpriteLayers(Actor& character);

// Ordered by draw order, then colour index, then equipment area (the
// character's own parts, area -1, first), then source.
bool CharacterLayerLess(const CharacterLayer& a, const CharacterLayer& b);

// Sorts the layers low..high in place; equal layers keep no particular order.
void QuickSortCharacterLayers(Actor& character, std::int32_t low, std::int32_t high);

}  // namespace kiv
