// The names that drawing gives to the fields of the tile and sprite records.
#include <gtest/gtest.h>

#include "data/set_records.h"
#include "data/sprite_records.h"

namespace kiv {
namespace {

TEST(SetRecordNames, TileFieldsReadTheirStoredValues) {
  Tile tile;
  tile.frameGroup = 3;
  tile.valueB = 12;
  tile.valueC = 40;
  tile.byteList = {4, 5, 6};
  tile.valueE = 80;
  tile.flagG = 2;
  tile.colorA = 0x11223344;
  tile.colorB = 0x55667788;
  tile.randomFlipA = 1;
  tile.randomFlipB = 0;
  EXPECT_EQ(TileImage(tile), 3);
  EXPECT_EQ(TileShadowOffset(tile), 12);
  EXPECT_EQ(TileHeight(tile), 40);
  EXPECT_EQ(TileAnimLast(tile), 2);
  EXPECT_EQ(TileAnimFrameTime(tile), 80);
  EXPECT_EQ(TileRenderKind(tile), 2);
  EXPECT_EQ(&TileModel(tile), &tile.image);
  EXPECT_EQ(TileColorFrom(tile), 0x11223344u);
  EXPECT_EQ(TileColorTo(tile), 0x55667788u);
  EXPECT_TRUE(TileRandomFlipH(tile));
  EXPECT_FALSE(TileRandomFlipV(tile));
  tile.byteList.clear();
  EXPECT_EQ(TileAnimLast(tile), -1);  // still

  TileSet set;
  set.cellFormat = 2;
  set.flags = 3;
  EXPECT_EQ(TileSetFlipMode(set), 2);
  EXPECT_TRUE(TileSetIsWallSet(set));
  set.flags = 2;
  EXPECT_FALSE(TileSetIsWallSet(set));
}

TEST(SetRecordNames, SpriteFieldsReadTheirStoredValues) {
  SpriteSet set;
  set.usedValues = {1, 4};
  set.largestLayerValue = 3;
  EXPECT_EQ(SpriteDrawGroups(set), (std::vector<std::int32_t>{1, 4}));
  EXPECT_EQ(SpriteLastDrawOrder(set), 3);

  SpriteLayer layer;
  layer.slot = 7;
  layer.value = 2;
  layer.byteT = 9;
  layer.entryTotal = 350;
  EXPECT_EQ(LayerGroup(layer), 7);
  EXPECT_EQ(LayerOrder(layer), 2);
  EXPECT_EQ(LayerParticleFlags(layer), 9);
  EXPECT_EQ(LayerAnimationLength(layer), 350);

  SpriteDirection direction;
  direction.byteO = 1;
  direction.slots[2].value = 6;
  EXPECT_EQ(DirectionPlayMode(direction), 1);
  EXPECT_EQ(HoldingPointGroup(direction, 2), 6);
  EXPECT_EQ(DirectionLastFrame(direction), -1);
  direction.builtFrames.resize(4);
  direction.frames.resize(2);  // stored sparsely: the built frames count
  EXPECT_EQ(DirectionLastFrame(direction), 3);
}

}  // namespace
}  // namespace kiv
