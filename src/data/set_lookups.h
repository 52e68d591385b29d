#pragma once
// What the readers of map objects look up in the set tables as they read.
#include <cstdint>

#include "core/record_codecs.h"

namespace kiv {

// The collision shape of the direction a sprite set shows first; false for an
// index outside the sprite sets.
bool SpriteSetFirstCollisionShape(std::int32_t spriteSet, CollisionShape& shape);

// An item's size, which boxes a pick-up showing no sprite; 0 outside the items.
std::int32_t ItemPickUpSize(std::int32_t item);

// A font set's line height in pixels; 0 outside the font sets.
std::int32_t FontSetLineHeight(std::int32_t fontSet);

// Bit 0 of a tile set's flags: its tiles are walls.
bool TileSetHasWallFlag(std::int32_t tileSet);

}  // namespace kiv
