#include "support/solid_textures.h"

#include <utility>
#include <vector>

#include "media/graphics.h"

namespace kiv::test {

gfx::TexturePtr SolidTexture(std::uint32_t argb, int size) {
  gfx::TexturePtr texture;
  const std::vector<std::uint32_t> texels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), argb);
  if (graphics.direct3dDevice->CreateTextureFromArgb(size, size, gfx::kFmtA8R8G8B8, 1, texels.data(), true,
                                                     texture) != gfx::kOk)
    return nullptr;
  return texture;
}

TileSet SolidTileSet(gfx::TexturePtr texture, std::int32_t shadowOffset) {
  TileSet set;
  FrameGroup group;
  ImageFrame cell;
  cell.width = cell.height = 32;
  cell.textureRight = cell.textureBottom = 1;
  group.frames.push_back(cell);
  set.frames.frameGroups.push_back(group);
  set.frames.textures.push_back(std::move(texture));
  Tile tile;
  tile.frameGroup = 0;
  tile.colorA = tile.colorB = 0xFFFFFFFF;
  tile.valueB = shadowOffset;
  set.tiles.push_back(tile);
  return set;
}

}  // namespace kiv::test
