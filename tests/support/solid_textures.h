#pragma once
// Textures of one colour on the graphics device and a tile set of one tile
// showing such a texture, for drawing tests and benchmarks on the offscreen
// device.
#include <cstdint>

#include "data/set_records.h"
#include "platform/gfx/resources.h"

namespace kiv::test {

// A size x size A8R8G8B8 texture of one colour; null when the device refuses it.
gfx::TexturePtr SolidTexture(std::uint32_t argb, int size = 8);

// A tile set of one untinted 32 x 32 tile that shows the whole texture;
// a shadow offset above 0 lets the tile cast a shadow.
TileSet SolidTileSet(gfx::TexturePtr texture, std::int32_t shadowOffset = 0);

}  // namespace kiv::test
