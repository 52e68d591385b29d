#include "data/tile_set.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "data/game_data.h"
#include "support/resource_header_writer.h"
#include "support/set_writers.h"

namespace kiv {
namespace {

using test::TileFixture;
using test::TileSetFixture;

class TileSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    setExtents.Reset();
  }
  void TearDown() override {
    gameData.Reset();
    setExtents.Reset();
  }

  const TileSet& Read(const TileSetFixture& fixture) {
    gameData.tileSets.assign(1, TileSet());
    ReadTileSet(test::TileSetFileBytes(fixture), -1, 0);
    return gameData.tileSets[0];
  }
};

test::FrameGroupFixture Group(std::int32_t width, std::int32_t height) {
  test::FrameGroupFixture group;
  group.frames.resize(1);
  group.cellWidth = width;
  group.cellHeight = height;
  return group;
}

TEST_F(TileSetTest, ReadsTheSetAndItsTiles) {
  TileSetFixture f;
  IdFill(f.id, 0x31);
  f.valueA = 12;
  f.kind = 2;
  f.kindName = u"Upper Object";
  f.flags = 1;
  f.cellFormat = 2;
  f.groups = {Group(32, 32)};
  TileFixture tile;
  tile.name = u"Grass";
  tile.frameGroup = 0;
  tile.valueD = 1.5f;
  tile.byteList = {1, 2, 3};
  tile.valueE = 55;
  IdFill(tile.linkedTileSetId, 0x77);
  test::TerraformRuleFixture rule;
  rule.tiles.fill(-1);
  rule.tiles[59] = 4;
  IdFill(rule.tileSetId, 0x78);
  rule.byteL = 9;
  rule.byteM = 8;
  tile.rules = {rule, rule};
  tile.colorA = 0xFF102030u;
  tile.colorB = 0xFF405060u;
  tile.randomFlipB = 1;
  tile.randomTurn = 1;
  tile.scatterY = 6;
  tile.collision.rectangles.resize(1);
  tile.collision.rectangles[0].back = 20;
  f.tiles = {tile, TileFixture()};

  const TileSet& set = Read(f);
  EXPECT_EQ(set.id, f.id);
  EXPECT_EQ(set.valueA, 12);
  EXPECT_EQ(set.kind, 2);
  EXPECT_EQ(set.kindName, u"Upper Object");
  EXPECT_EQ(set.flags, 1);
  EXPECT_EQ(set.cellFormat, 2);
  ASSERT_EQ(set.tiles.size(), 2u);
  const Tile& t = set.tiles[0];
  EXPECT_EQ(t.name, u"Grass");
  EXPECT_FLOAT_EQ(t.valueD, 1.5f);
  EXPECT_EQ(t.valueE, 55);
  EXPECT_EQ(t.byteList, (ByteList{1, 2, 3}));
  EXPECT_EQ(t.linkedTileSet, -2);
  EXPECT_EQ(t.linkedTileSetId, tile.linkedTileSetId);
  ASSERT_EQ(t.terraformRules.size(), 2u);
  EXPECT_EQ(t.terraformRules[1].tiles[59], 4);
  EXPECT_EQ(t.terraformRules[1].tileSet, -2);
  EXPECT_EQ(t.terraformRules[1].byteL, 9);
  EXPECT_EQ(t.terraformRules[1].byteM, 8);
  EXPECT_EQ(t.blockH[0], 1);
  EXPECT_EQ(t.blockI[23], 40);
  EXPECT_EQ(t.colorB, 0xFF405060u);
  EXPECT_EQ(t.randomFlipB, 1);
  EXPECT_EQ(t.randomFlipA, 0);
  EXPECT_EQ(t.randomTurn, 1);
  EXPECT_EQ(t.scatterY, 6);
  ASSERT_EQ(t.collision.rectangles.size(), 1u);
  EXPECT_EQ(set.tiles[1].valueE, 100);  // an empty byte list
}

TEST_F(TileSetTest, TheSkippedByteFrom100776) {
  for (std::int32_t version : {100775, 100776}) {
    SCOPED_TRACE(version);
    TileSetFixture f;
    f.version = version;
    f.valueA = 3;
    f.name = u"After";
    const TileSet& set = Read(f);
    EXPECT_EQ(set.valueA, 3);
    EXPECT_EQ(set.name, u"After");
  }
}

TEST_F(TileSetTest, HeightCorrectionOfOlderLowerObjects) {
  struct Case {
    const char* name;
    std::int32_t version, kind;
    std::uint8_t shape;
    std::int32_t frameGroup, width, height, valueB, expected;
  };
  const Case cases[] = {
      {"tall lower object", 100780, 1, 2, 0, 32, 64, 10, -22},
      {"stored as is from 100786", 100786, 1, 2, 0, 32, 64, 10, 10},
      {"standard cell", 100780, 1, 2, 0, 32, 32, 10, 10},
      {"wide cell", 100780, 1, 2, 0, 64, 32, 10, 10},
      {"value 0", 100780, 1, 2, 0, 32, 64, 0, 0},
      {"other shape", 100780, 1, 1, 0, 32, 64, 10, 10},
      {"ground", 100780, 0, 2, 0, 32, 64, 10, 10},
      {"no group", 100780, 1, 2, -1, 32, 64, 10, 10},
      {"group not in the set", 100780, 1, 2, 5, 32, 64, 10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TileSetFixture f;
    f.version = c.version;
    f.kind = c.kind;
    f.groups = {Group(c.width, c.height)};
    TileFixture tile;
    tile.shape = c.shape;
    tile.frameGroup = c.frameGroup;
    tile.valueB = c.valueB;
    f.tiles = {tile};
    EXPECT_EQ(Read(f).tiles[0].valueB, c.expected);
  }
}

TEST_F(TileSetTest, FlatBoxesOfOlderFilesAreNoCollision) {
  struct Case {
    std::int32_t version;
    std::int32_t back;
    bool kept;
  };
  for (const Case c : {Case{100777, 0, false}, Case{100777, 5, true}, Case{100778, 0, true}}) {
    SCOPED_TRACE(c.version);
    TileSetFixture f;
    f.version = c.version;
    TileFixture tile;
    tile.collision.rectangles.resize(1);
    tile.collision.rectangles[0].right = 32;
    tile.collision.rectangles[0].back = c.back;
    f.tiles = {tile};
    EXPECT_EQ(Read(f).tiles[0].collision.rectangles.empty(), !c.kept);
  }
}

TEST_F(TileSetTest, LargestCellSizeOnlyGrows) {
  TileSetFixture f;
  f.groups = {Group(64, 96), Group(16, 16)};
  TileFixture big;
  big.frameGroup = 0;
  TileFixture small;
  small.frameGroup = 1;
  f.tiles = {TileFixture(), small};
  Read(f);
  EXPECT_EQ(setExtents.maxTileCellWidth, 32);
  EXPECT_EQ(setExtents.maxTileCellHeight, 32);
  f.tiles = {big, small};
  Read(f);
  EXPECT_EQ(setExtents.maxTileCellWidth, 64);
  EXPECT_EQ(setExtents.maxTileCellHeight, 96);
}

TEST_F(TileSetTest, RefusedAndDamagedFiles) {
  struct Case {
    const char* name;
    std::int32_t version;
    int number;
    const char* message;
  };
  const Case cases[] = {
      {"editor-only layout", 100774, kErrData, "Internal command only available in editor."},
      {"oldest editor-only layout", 100356, kErrData, "Internal command only available in editor."},
      {"below the minimum", 100355, -2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TileSetFixture f;
    f.version = c.version;
    f.tiles = {TileFixture()};
    try {
      Read(f);
      FAIL();
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), c.number);
      if (c.message != nullptr) {
        EXPECT_STREQ(e.what(), c.message);
      }
    }
  }

  // Tile sets are hashed: damage the body, then hash it again.
  TileSetFixture f;
  f.tiles = {TileFixture(), TileFixture()};
  const ByteList whole = test::TileSetFileBytes(f);
  const ByteList body(whole.begin() + 24, whole.end());
  for (std::size_t size = 1; size < body.size(); size += 13) {
    SCOPED_TRACE(size);
    gameData.tileSets.assign(1, TileSet());
    const ByteList cut(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      ReadTileSet(test::MakeResourceFile(f.version, cut), -1, 0);
      FAIL();
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrData);
    }
  }
  // The tile count follows the colour record; claim a million tiles.
  TileSetFixture none = f;
  none.tiles.clear();
  const std::size_t countAt = test::TileSetFileBytes(none).size() - 4 - 24;
  ByteList counted = body;
  counted[countAt] = 0x40;
  counted[countAt + 1] = 0x42;
  counted[countAt + 2] = 0x0F;
  counted[countAt + 3] = 0x00;
  gameData.tileSets.assign(1, TileSet());
  try {
    ReadTileSet(test::MakeResourceFile(f.version, counted), -1, 0);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrData);
  }
}

}  // namespace
}  // namespace kiv
