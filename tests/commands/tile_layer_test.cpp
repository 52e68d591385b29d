#include "commands/tile_layers.h"
#include "data/tile_set_slots.h"
#include "object_frame_fixture.h"

namespace kiv::test {
namespace {

class TileLayerTest : public ObjectFrameTest {
 protected:
  void SetUp() override {
    ObjectFrameTest::SetUp();
    tileSetLimitShown = true;  // no box in tests
    Map& map = gameData.maps[0];
    map.fileName = u"Field";
    map.width = 3;
    map.height = 2;
    map.layerCount = 1;
    for (TileLayerGroup& group : map.tileLayerGroups) {
      group.slotGrid.Make(4, 3, 2);
      group.tileGrid.Make(4, 3, 2);
    }
    for (const char16_t* name : {u"Grass", u"Sand", u"Rock"}) AddSet(name, 0);
    AddSet(u"Tree", 1);
  }
  void TearDown() override {
    tileSetLimitShown = false;
    ObjectFrameTest::TearDown();
  }

  static std::int32_t AddSet(const std::u16string& name, std::int32_t layer) {
    TileSet set;
    set.name = name;
    set.kind = layer;
    for (int t = 0; t < 4; ++t) {
      Tile tile;
      tile.name = name + u" " + std::u16string(1, static_cast<char16_t>(u'0' + t));
      set.tiles.push_back(std::move(tile));
    }
    gameData.tileSets.push_back(std::move(set));
    return static_cast<std::int32_t>(gameData.tileSets.size()) - 1;
  }
  static std::int32_t SetIndex(const std::u16string& name) {
    for (std::size_t i = 0; i < gameData.tileSets.size(); ++i) {
      if (gameData.tileSets[i].name == name) return static_cast<std::int32_t>(i);
    }
    return -1;
  }
  static TileLayerGroup& Ground() { return gameData.maps[0].tileLayerGroups[0]; }
  // Puts set's tile byte into a ground cell.
  static void Put(std::int32_t x, std::int32_t y, std::int32_t z, const std::u16string& set, std::uint8_t tileByte) {
    Ground().slotGrid.At(x, y, z) = MapTileSetSlot(0, 0, SetIndex(set), true);
    Ground().tileGrid.At(x, y, z) = tileByte;
  }
  static std::u16string SetAt(std::int32_t x, std::int32_t y, std::int32_t z) {
    const std::uint8_t slot = Ground().slotGrid.At(x, y, z);
    if (slot == 0) return u"";
    return gameData.tileSets[static_cast<std::size_t>(Ground().slotTileSets[slot - 1u])].name;
  }
  ScriptValue Map0(const std::u16string& name, std::initializer_list<Variant> arguments) {
    return On(MapRef(0), name, std::vector<Variant>(arguments));
  }
  static Variant T(const char16_t* text) { return Variant::Text(text); }
  static Variant L(std::int32_t v) { return Variant::Long(v); }
};

TEST_F(TileLayerTest, SwitchingASetTheGroupDoesNotUseChangesNothingAndAddsNoSlot) {
  Put(0, 0, 0, u"Grass", 1);
  Map0(u"SwitchTileSet", {T(u"floor"), T(u"Sand"), T(u"Rock")});
  EXPECT_EQ(Ground().slotCount, 1);
  EXPECT_EQ(SetAt(0, 0, 0), u"Grass");
}

TEST_F(TileLayerTest, SwitchingToAnUnusedSetReusesTheOldSlot) {
  Put(0, 0, 0, u"Grass", 1);
  Put(1, 0, 0, u"Sand", 2);
  Map0(u"SwitchTileSet", {T(u"floor"), T(u"Grass"), T(u"Rock")});
  EXPECT_EQ(Ground().slotCount, 2);
  EXPECT_EQ(SetAt(0, 0, 0), u"Rock");
  EXPECT_EQ(Ground().tileGrid.At(0, 0, 0), 1);
  EXPECT_EQ(SetAt(1, 0, 0), u"Sand");
}

TEST_F(TileLayerTest, SwitchingToASetWithASlotMovesTheCellsToIt) {
  Put(0, 0, 0, u"Grass", 1);
  Put(3, 2, 1, u"Grass", 3);
  Put(1, 0, 0, u"Sand", 2);
  Map0(u"SwitchTileSet", {T(u"floor"), T(u"Grass"), T(u"Sand")});
  EXPECT_EQ(SetAt(0, 0, 0), u"Sand");
  EXPECT_EQ(SetAt(3, 2, 1), u"Sand");
  EXPECT_EQ(Ground().slotGrid.At(0, 0, 0), Ground().slotGrid.At(1, 0, 0));
}

TEST_F(TileLayerTest, SwitchTileChangesOnlyMatchingTilesAndKeepsTheirFlagBits) {
  struct Cell {
    std::int32_t x;
    const char16_t* set;
    std::uint8_t before;
    const char16_t* setAfter;
    std::uint8_t after;
  };
  const Cell cells[] = {
      {0, u"Grass", 0x81, u"Sand", 0x83},  // tile 1 with a flag: switched, flag kept
      {1, u"Grass", 0x41, u"Sand", 0x43},
      {2, u"Grass", 0x02, u"Grass", 0x02},  // another tile
      {3, u"Rock", 0x01, u"Rock", 0x01},    // another set
  };
  for (const Cell& c : cells) Put(c.x, 0, 0, c.set, c.before);
  Map0(u"SwitchTile", {T(u"floor"), T(u"Grass"), L(1), T(u"Sand"), L(3)});
  for (const Cell& c : cells) {
    EXPECT_EQ(SetAt(c.x, 0, 0), c.setAfter) << c.x;
    EXPECT_EQ(Ground().tileGrid.At(c.x, 0, 0), c.after) << c.x;
  }
}

TEST_F(TileLayerTest, ChangeTileSetsOneCellKeepingItsFlagBits) {
  Ground().tileGrid.At(2, 1, 1) = 0xC5;
  Map0(u"ChangeTile", {T(u"floor"), T(u"Rock"), L(3), L(64 + 31), L(32), L(33)});
  EXPECT_EQ(SetAt(2, 1, 1), u"Rock");
  EXPECT_EQ(Ground().tileGrid.At(2, 1, 1), 0xC3);
  Map0(u"ChangeTile", {T(u"floor"), T(u""), L(0), L(64), L(32), L(32)});
  EXPECT_EQ(Ground().slotGrid.At(2, 1, 1), 0) << "no tile set empties the cell";
}

TEST_F(TileLayerTest, TileReadsAndChangesCheckTheCell) {
  struct Case {
    const char16_t* name;
    std::vector<Variant> arguments;
    const char* error;
  };
  const Case cases[] = {
      {u"ChangeTile", {T(u"floor"), T(u"Rock"), L(0), L(128), L(0), L(0)}, "(4, 0, 0)"},
      {u"ChangeTile", {T(u"floor"), T(u"Rock"), L(0), L(0), L(-32), L(0)}, "(0, -1, 0)"},
      {u"GetTile", {T(u"floor"), L(0), L(0), L(64)}, "(0, 0, 2)"},
      {u"GetTileSet", {T(u"lower"), L(0), L(96), L(0)}, "(0, 3, 0)"},
      {u"GetTileName", {T(u"upper"), L(200), L(0), L(0)}, "(6, 0, 0)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Raised([&] { On(MapRef(0), c.name, c.arguments); }),
              std::string("-1 Attempting to access tile ") + c.error + " which is out of the bounds of the map.");
  }
  EXPECT_EQ(Raised([] { SetTileInLayer(0, 0, 0, 1, 4, 0, 0); }).substr(0, 2), "9 ");
  EXPECT_EQ(Raised([] { SetTileInLayer(0, 0, 0, 1, 0, 0, -1); }).substr(0, 2), "9 ");
}

TEST_F(TileLayerTest, TileReadsGiveTheSetTheLowSixBitsAndTheTileName) {
  Put(1, 1, 0, u"Sand", 0xC2);
  EXPECT_EQ(Map0(u"GetTile", {T(u"floor"), L(32), L(32), L(0)}).value, L(2));
  EXPECT_EQ(Map0(u"GetTileSet", {T(u"floor"), L(32), L(32), L(0)}).value, T(u"Sand"));
  EXPECT_EQ(Map0(u"GetTileName", {T(u"floor"), L(32), L(32), L(0)}).value, T(u"Sand 2"));
  EXPECT_EQ(Map0(u"GetTileSet", {T(u"floor"), L(0), L(0), L(0)}).value, T(u""));
  EXPECT_EQ(Map0(u"GetTileName", {T(u"floor"), L(0), L(0), L(0)}).value, T(u""));
}

TEST_F(TileLayerTest, WithEverySlotUsedTheCellsKeepTheirTiles) {
  Put(0, 0, 0, u"Grass", 1);
  Put(1, 0, 0, u"Grass", 1);
  while (Ground().slotCount < 255) {
    Ground().slotTileSets.push_back(-1);
    Ground().slotIds.emplace_back();
    ++Ground().slotCount;
  }
  Map0(u"ChangeTile", {T(u"floor"), T(u"Rock"), L(3), L(0), L(0), L(0)});
  Map0(u"SwitchTile", {T(u"floor"), T(u"Grass"), L(1), T(u"Sand"), L(2)});
  for (const std::int32_t x : {0, 1}) {
    EXPECT_EQ(SetAt(x, 0, 0), u"Grass") << x;
    EXPECT_EQ(Ground().tileGrid.At(x, 0, 0), 1) << x;
  }
  Map0(u"SwitchTileSet", {T(u"floor"), T(u"Grass"), T(u"Sand")});
  EXPECT_EQ(Ground().slotCount, 255) << "the switch takes over the old slot";
  EXPECT_EQ(SetAt(0, 0, 0), u"Sand");
}

TEST_F(TileLayerTest, ObjectLayersChangeTheirOwnGroup) {
  Map0(u"ChangeTile", {T(u"lower"), T(u"Tree"), L(1), L(0), L(0), L(0)});
  EXPECT_NE(gameData.maps[0].tileLayerGroups[1].slotGrid.At(0, 0, 0), 0);
  EXPECT_EQ(Ground().slotGrid.At(0, 0, 0), 0);
  EXPECT_EQ(Raised([&] { Map0(u"ChangeTile", {T(u"floor"), T(u"Tree"), L(1), L(0), L(0), L(0)}); }).substr(0, 12),
            "-1 Tile-set ");
}

}  // namespace
}  // namespace kiv::test
