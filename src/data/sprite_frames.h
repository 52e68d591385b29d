#pragma once
// Turns the sparse stored frames of a sprite direction into built frames in
// which every frame holds every part, and measures the direction.
#include <cstdint>

#include "data/sprite_records.h"

namespace kiv {

// Builds the frames, slot flags, bounds, size and radius of a direction that
// has just been read, raises the largest sprite sizes and sums each layer's
// frame entries. A slot part naming an entry above 3 raises error 9.
void BuildSpriteDirection(SpriteDirection& direction);

// Fills the properties in bits of one part over the built frames a + 1 to b:
// from stored part (a, c) toward stored part (b, d), or held at the values of
// (a, c) when d is -1. bits loses the bits already in done, which then gains them.
void InterpolateFramePart(SpriteDirection& direction, std::int32_t& done, std::int32_t& bits, std::int32_t a,
                          std::int32_t b, std::int32_t c, std::int32_t d);

// True when the layer has a script with statements.
bool LayerHasScript(const SpriteLayer& layer);

}  // namespace kiv
