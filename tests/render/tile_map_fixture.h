#pragma once
// A small map of our own for the tile-drawing tests: three tile groups over a
// grid of cells, tile sets whose images are one cell each with textures that
// only tell binds apart, and a light grid of known colours.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/game_data.h"
#include "media/vertex_records.h"
#include "render/render_hooks.h"
#include "support/recording_batcher.h"

namespace kiv::test {

inline gfx::TexturePtr FakeTexture() {
  return std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 32, 32, 0, 1);
}

// A tile set of `images` images, image i on texture i with rectangle
// (i/8, 0) .. ((i+1)/8, 1) and size 32 x 32; tile i shows image i.
inline TileSet MakeTileSet(int images, bool wall = false, std::uint8_t flipMode = 0) {
  TileSet set;
  set.flags = wall ? 1 : 0;
  set.cellFormat = flipMode;
  for (int i = 0; i < images; ++i) {
    FrameGroup group;
    ImageFrame cell;
    cell.image = i;
    cell.width = 32;
    cell.height = 32;
    cell.textureLeft = static_cast<float>(i) / 8;
    cell.textureRight = static_cast<float>(i + 1) / 8;
    cell.textureTop = 0;
    cell.textureBottom = 1;
    group.frames.push_back(cell);
    set.frames.frameGroups.push_back(group);
    set.frames.textures.push_back(FakeTexture());
    Tile tile;
    tile.frameGroup = i;
    tile.colorA = 0xFFFFFFFF;
    tile.colorB = 0xFFFFFFFF;
    set.tiles.push_back(tile);
  }
  return set;
}

// Light colour of corner (x, y, z): distinct per corner, opaque.
inline std::uint32_t CornerLight(int x, int y, int z) {
  return 0xFF000000u | static_cast<std::uint32_t>(x * 16 + 1) << 16 | static_cast<std::uint32_t>(y * 16 + 1) << 8 |
         static_cast<std::uint32_t>(z * 16 + 1);
}

class TileMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    recorder.renderStates[gfx::kRsCullMode] = gfx::kCullCcw;
    recorder.renderStates[gfx::kRsZWriteEnable] = 1;
  }
  void TearDown() override {
    gameData.Reset();
    renderHooks.Reset();
  }

  // A map of columns x rows x layers cells (last indexes one less); every
  // group has slot 1 = tile set 0, slot 2 = tile set 1 ... as many as given.
  Map& MakeMap(int columns, int rows, int layers, const std::vector<std::int32_t>& slotSets) {
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.width = columns - 1;
    map.height = rows - 1;
    map.layerCount = layers - 1;
    for (TileLayerGroup& group : map.tileLayerGroups) {
      group.slotTileSets = slotSets;
      group.slotCount = static_cast<std::uint8_t>(slotSets.size());
      group.slotGrid.Make(columns, rows, layers);
      group.tileGrid.Make(columns, rows, layers);
      group.terraform.Make(columns, rows, layers);
    }
    map.lightGrid.Make(columns + 1, rows + 1, layers + 1, 0);
    for (int z = 0; z <= layers; ++z)
      for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x) map.lightGrid.At(x, y, z) = CornerLight(x, y, z);
    return map;
  }

  static void Put(Map& map, int group, int x, int y, int z, std::uint8_t slot, std::uint8_t tile) {
    map.tileLayerGroups[static_cast<std::size_t>(group)].slotGrid.At(x, y, z) = slot;
    map.tileLayerGroups[static_cast<std::size_t>(group)].tileGrid.At(x, y, z) = tile;
  }

  std::vector<ColoredVertex> TopLefts() const {
    std::vector<ColoredVertex> out;
    for (const RecordedQuad& q : recorder.quads)
      if (q.stride == sizeof(ColoredVertex)) out.push_back(q.Vertex<ColoredVertex>(kTopLeft));
    return out;
  }

  RecordingBatcher recorder;
};

}  // namespace kiv::test
