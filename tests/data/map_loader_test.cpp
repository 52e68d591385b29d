#include "data/map_loader.h"

#include <gtest/gtest.h>

#include <bit>

#include "core/error.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_reader.h"
#include "media/sound_sets.h"
#include "support/map_writer.h"

namespace kiv {
namespace {

using test::MapFixture;

MapFixture VersionFixture(std::int32_t version) {
  MapFixture f;
  f.version = version;
  return f;
}

class MapLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    dataSettings.Reset();
    dataSettings.gridCellSize = 8;
    dataHooks.Reset();
    package.Reset();
  }
  void TearDown() override {
    soundSets.clear();
    dataHooks.Reset();
    gameData.Reset();
    scriptTable.Reset();
    dataSettings.Reset();
    package.Reset();
  }

  // Loads the fixture as a new map and returns it.
  const Map& Load(const MapFixture& fixture, const std::u16string& name = u"Town") {
    LoadMap(test::MapFileBytes(fixture), name, -1, false);
    return gameData.maps[gameData.maps.LastIndex()];
  }

  static test::ScriptFixture ScriptWithStatement() {
    test::ScriptFixture s;
    s.shortForm = false;
    test::ScriptStatementFixture statement;
    statement.tokens = {{2, Variant::Text(u"Kill"), {}}};
    s.statements = {statement};
    return s;
  }
};

TEST_F(MapLoaderTest, ReadsTheHeaderOfTheCurrentFormat) {
  Identifier a, b;
  IdFill(a, 0xA1);
  IdFill(b, 0xB2);
  gameData.tileSets.resize(2);
  gameData.tileSets[0].id = b;
  gameData.tileSets[1].id = a;
  MapFixture f;
  IdFill(f.id, 0x11);
  f.linkedMapName = u"Other";
  f.displayName = u"The Town";
  f.headerValue = 77;
  f.properties = {{u"Owner", Variant::Text(u"me")}};
  f.width = 4;
  f.height = 2;
  f.layerCount = 1;
  Identifier unknown;
  IdFill(unknown, 0xEE);
  f.groups[0].slotIds = {a, Identifier(), unknown};
  const Map& map = Load(f);
  EXPECT_EQ(map.id, f.id);
  EXPECT_EQ(map.linkedMap.index, -2);
  EXPECT_EQ(map.linkedMap.name, u"Other");
  EXPECT_EQ(map.fileName, u"Town");
  EXPECT_EQ(map.fileName2, u"Town");
  EXPECT_EQ(map.displayName, u"The Town");
  EXPECT_EQ(map.displayNameWorking, u"The Town");
  EXPECT_EQ(map.headerValue, 77);
  ASSERT_EQ(map.properties.size(), 1u);
  EXPECT_EQ(SymbolName(map.properties[0].symbol), u"Owner");
  EXPECT_EQ(map.width, 4);
  EXPECT_EQ(map.height, 2);
  EXPECT_EQ(map.layerCount, 1);
  const TileLayerGroup& ground = map.tileLayerGroups[0];
  EXPECT_EQ(ground.slotCount, 3);
  EXPECT_EQ(ground.slotTileSets, (std::vector<std::int32_t>{1, -1, -2}));
  EXPECT_EQ(map.tileLayerGroups[1].slotCount, 0);
  // Grids are stored column fastest, then row, then layer.
  EXPECT_EQ(ground.slotGrid.At(0, 0, 0), 0);
  EXPECT_EQ(ground.slotGrid.At(1, 0, 0), 3);
  EXPECT_EQ(ground.slotGrid.At(0, 1, 0), 15);
  EXPECT_EQ(ground.slotGrid.At(0, 0, 1), 45);
  EXPECT_EQ(ground.tileGrid.At(1, 0, 0), 4);
  EXPECT_EQ(map.tileLayerGroups[2].slotGrid.At(1, 0, 0), 5);
  // 32 / 8 = 4 collision cells per tile side.
  EXPECT_EQ(map.staticCollision.columns, 20);
  EXPECT_EQ(map.staticCollision.rows, 12);
  // Two tile layers; the collision grids hold the heights below them in a layer of their own.
  EXPECT_EQ(map.workingCollision.layers, 3);
  EXPECT_EQ(map.staticCollision.layers, 3);
}

TEST_F(MapLoaderTest, HeaderVersionGates) {
  MapFixture f;
  f.version = 100562;
  f.width = 1;
  f.height = 1;
  f.displayName = u"ignored";
  IdFill(f.linkedMapId, 5);
  const Map& old = Load(f, u"Old");
  // The header gives 12 layers; the blocks section of files before 100565
  // then sets the layer count to 4 (last index 3), and the grids keep 12.
  EXPECT_EQ(old.layerCount, 3);
  EXPECT_EQ(old.tileLayerGroups[0].slotGrid.layers, 12);
  EXPECT_EQ(old.tileLayerGroups[0].slotGrid.At(1, 1, 0), 9);
  EXPECT_EQ(old.tileLayerGroups[0].slotGrid.At(1, 1, 1), 0);
  EXPECT_EQ(old.tileLayerGroups[0].slotGrid.At(1, 1, 11), 0);
  EXPECT_EQ(old.linkedMap.index, -4);
  EXPECT_EQ(old.linkedMap.id, f.linkedMapId);
  EXPECT_EQ(old.displayName, u"Old");
  EXPECT_EQ(old.headerValue, 0);

  f.version = 100666;
  EXPECT_EQ(Load(f).linkedMap.index, -4);
  f.version = 100667;
  EXPECT_EQ(Load(f).linkedMap.index, -2);
  f.version = 100632;
  EXPECT_EQ(Load(f, u"Named").displayName, u"Named");
  f.version = 100633;
  EXPECT_EQ(Load(f, u"Named").displayName, u"ignored");
}

TEST_F(MapLoaderTest, AMapWithoutSizeHasNoGrids) {
  MapFixture f;
  f.width = -1;
  const Map& map = Load(f);
  EXPECT_EQ(map.width, -1);
  EXPECT_TRUE(map.staticCollision.cells.empty());
  EXPECT_TRUE(map.tileLayerGroups[0].slotGrid.cells.empty());
}

// A map without tiles stores no grids, so nothing in the file bounds its layer
// count: a huge one is refused before the sector grid is sized by it.
TEST_F(MapLoaderTest, AMapWithoutSizeRefusesAnUnusableLayerCount) {
  for (auto [w, h, l] :
       {std::array<std::int32_t, 3>{-1, 3, 0x7FFFFFF0}, std::array<std::int32_t, 3>{3, -1, 65536}}) {
    MapFixture f;
    f.width = w;
    f.height = h;
    f.layerCount = l;
    try {
      Load(f);
      FAIL() << l;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), -1);
    }
    EXPECT_EQ(gameData.maps.LastIndex(), -1);
  }
}

TEST_F(MapLoaderTest, RefusesACellSizeOfZeroOrBelow) {
  for (std::int32_t size : {0, -8}) {
    dataSettings.gridCellSize = size;
    EXPECT_THROW(Load(MapFixture()), KivError) << size;
    EXPECT_EQ(gameData.maps.LastIndex(), -1);
  }
}

TEST_F(MapLoaderTest, SizesBeyondTheFileAreRefused) {
  for (auto [w, h, l] :
       {std::array<std::int32_t, 3>{100000, 100000, 0}, std::array<std::int32_t, 3>{3, 3, 0x7FFFFFF0},
        std::array<std::int32_t, 3>{3, 3, -5}}) {
    MapFixture f;
    f.width = w;
    f.height = h;
    f.layerCount = l;
    f.groups[0].slotGrid = {1};  // keep the file small
    f.groups[0].tileGrid = {1};
    f.groups[1] = f.groups[0];
    f.groups[2] = f.groups[0];
    try {
      Load(f);
      FAIL() << w;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), -1);
    }
    EXPECT_EQ(gameData.maps.LastIndex(), -1);
  }
}

TEST_F(MapLoaderTest, ReadsTheProperties) {
  Identifier sound;
  IdFill(sound, 0x5D);
  soundSets.resize(2);
  soundSets[1].id = sound;
  MapFixture f;
  f.soundSetId = sound;
  IdFill(f.setIds[0], 0x77);  // no sprite set has it
  f.backgroundSprites1 = {{sound, {1, 2, 3, 4}, 5, 6, 7}};
  f.slotNames = {u"a", u"b", u"c", u"d"};
  f.screenLayouts = {{{u"Windows"}, 640, 480, 99, {{1, 2, 3, 4, 5, 6}}}};
  f.eventScripts = {ScriptWithStatement(), test::ScriptFixture(), ScriptWithStatement()};
  for (auto& s : f.eventScripts) s.shortForm = false;
  const Map& map = Load(f);
  EXPECT_EQ(map.soundSet, 1);
  EXPECT_EQ(map.ambientColor, 0x80402010u);
  EXPECT_FLOAT_EQ(map.ambientFactors[0], 0x10 / 255.0f);
  EXPECT_FLOAT_EQ(map.ambientFactors[1], 0x20 / 255.0f);
  EXPECT_FLOAT_EQ(map.ambientFactors[2], 0x40 / 255.0f);
  EXPECT_FLOAT_EQ(map.ambientFactors[3], 0x10 / 255.0f);
  EXPECT_EQ(map.setReferences[0].index, -2);  // still unresolved after linking
  EXPECT_EQ(map.mapValueC, 3.25f);
  EXPECT_EQ(map.mapValueD, 0.5f);
  EXPECT_EQ(map.mapValueF, 0.125f);
  EXPECT_EQ(map.mapValueL, 5.5f);
  EXPECT_EQ(map.mapValueP, 2.5f);
  EXPECT_EQ(map.fogColor, 0xFF336699u);
  EXPECT_EQ(map.mapFactorZ, 0.32f);
  ASSERT_EQ(map.backgroundSprites1.size(), 1u);
  EXPECT_EQ(map.backgroundSprites1[0].spriteSet, -2);
  EXPECT_EQ(map.backgroundSprites1[0].fitMap, 7);
  EXPECT_EQ(map.mapMode, 2);
  EXPECT_EQ(map.flags, (std::array<std::uint8_t, 6>{10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(map.namedSlots[3].name, u"d");
  // Read as a map name, which no loaded map or package entry has.
  EXPECT_EQ(map.namedSlots[3].index, -2);
  ASSERT_EQ(map.screenLayouts.size(), 1u);
  EXPECT_EQ(map.screenLayouts[0].sizeValue, 99);
  EXPECT_EQ(map.screenLayouts[0].placements[0].values[5], 6);
  EXPECT_EQ(map.mapValueAA, 0.5f);
  EXPECT_EQ(map.eventScripts[0].index, 0);
  EXPECT_EQ(map.eventScripts[1].index, -1);
  EXPECT_EQ(map.eventScripts[2].index, 1);
  EXPECT_EQ(map.savedState.focusedField, -1);
  EXPECT_EQ(map.furtherMapIndex1, -1);
}

TEST_F(MapLoaderTest, PropertiesOfOlderFormats) {
  dataSettings.gameVideoWidth = 1024;
  dataSettings.gameVideoHeight = 768;
  MapFixture f;
  f.isInterface = true;
  f.designWidth = 320;
  f.designHeight = 200;

  f.version = 100676;
  EXPECT_EQ(Load(f).designWidth, 1024);
  f.version = 100677;
  EXPECT_EQ(Load(f).designHeight, 200);
  f.designHeight = 0;
  EXPECT_EQ(Load(f).designWidth, 1024);

  f.version = 100473;
  const Map& oldInterface = Load(f);
  EXPECT_EQ(oldInterface.ambientColor, 0xFFFFFFFFu);
  EXPECT_EQ(oldInterface.ambientFactors[3], 1.0f);
  f.isInterface = false;
  EXPECT_EQ(Load(f).ambientColor, 0xFF402010u);
  f.version = 100788;
  EXPECT_EQ(Load(f).ambientColor, 0xFF402010u);

  f.fogStart = 500.0f;
  f.fogEnd = 100.0f;
  f.version = 100486;
  EXPECT_EQ(Load(f).fogOn, 0);
  f.version = 100487;
  EXPECT_EQ(Load(f).fogOn, 1);

  f.version = 100511;
  EXPECT_FLOAT_EQ(Load(f).mapFactorZ, 0.01f);
  f.version = 100512;
  EXPECT_EQ(Load(f).mapFactorZ, 0.32f);
  f.version = 100510;
  EXPECT_EQ(Load(f).mapFactorZ, 0.01f);

  f.version = 100555;
  const Map& noP = Load(f);
  EXPECT_EQ(noP.mapValueO, 0.0f);
  EXPECT_EQ(noP.mapValueP, 0.0f);

  f.mapMode = 3;
  f.version = 100719;
  EXPECT_EQ(Load(f).mapMode, 4);
  f.version = 100720;
  EXPECT_EQ(Load(f).mapMode, 3);

  f.version = 100777;
  EXPECT_EQ(Load(f).flags, (std::array<std::uint8_t, 6>{10, 11, 14, 12, 13, 15}));
  f.version = 100685;
  EXPECT_EQ(Load(f).flags, (std::array<std::uint8_t, 6>{1, 1, 1, 1, 1, 1}));

  f.version = 100783;
  const Map& replaced = Load(f);
  EXPECT_EQ(replaced.mapValueAA, 0.0f);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(replaced.mapValueAC), 0xBAA3D70Au);
  f.version = 100785;
  EXPECT_EQ(Load(f).mapValueAC, 0.125f);

  f.backgroundSprites1 = {{Identifier(), {}, 5, 6, 7}};
  f.version = 100776;
  EXPECT_EQ(Load(f).backgroundSprites1[0].repeatX, 1);

  f.properties = {{u"Old", Variant::Long(3)}};
  f.version = 100507;
  EXPECT_EQ(Load(f).properties.size(), 1u);
  f.version = 100506;
  EXPECT_TRUE(Load(f).properties.empty());
}

TEST_F(MapLoaderTest, EventScriptCountsByVersion) {
  MapFixture f;
  f.eventScripts.assign(6, ScriptWithStatement());
  const struct {
    std::int32_t version;
    std::size_t registered;
  } cases[] = {{100499, 1}, {100541, 2}, {100542, 6}};
  for (const auto& c : cases) {
    scriptTable.Reset();
    f.version = c.version;
    Load(f);
    EXPECT_EQ(scriptTable.scripts.size(), c.registered) << c.version;
  }
}

TEST_F(MapLoaderTest, CallsTheHooksInOrder) {
  std::vector<std::string> calls;
  dataHooks.ActivePlayerMap = [] { return 0; };
  dataHooks.RefreshViewedMaps = [&](std::int32_t flag) {
    calls.push_back("refresh " + std::to_string(flag));
  };
  dataHooks.GenerateMapData = [&](std::int32_t map, bool prepare) {
    EXPECT_EQ(gameData.loadingMapName, u"Town");
    calls.push_back("generate " + std::to_string(map) + " " + std::to_string(prepare));
  };
  dataHooks.RestartTickBase = [&] { calls.push_back("tick"); };
  dataHooks.YieldToWindowSystem = [&] { calls.push_back("yield"); };
  LoadMap(test::MapFileBytes(MapFixture()), u"Town", -1, true);
  EXPECT_EQ(calls, (std::vector<std::string>{"refresh 0", "generate 0 1", "tick", "yield"}));
  EXPECT_TRUE(gameData.loadingMapName.empty());
  calls.clear();
  LoadMap(test::MapFileBytes(MapFixture()), u"Town", -1, false);  // index 1 is not the active map
  EXPECT_EQ(calls, (std::vector<std::string>{"generate 1 0", "tick", "yield"}));
}

TEST_F(MapLoaderTest, ClosingTheWindowEndsTheLoadAfterACompleteMap) {
  dataHooks.QuitRequested = [] { return true; };
  try {
    LoadMap(test::MapFileBytes(MapFixture()), u"Town", -1, false);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -5);
    EXPECT_STREQ(e.what(), "Aborted while loading map.");
  }
  EXPECT_EQ(gameData.maps.LastIndex(), 0);
  EXPECT_EQ(gameData.maps[0].width, 3);
}

TEST_F(MapLoaderTest, AFailedLoadLeavesNoHalfFilledEntry) {
  MapFixture f;
  f.eventScripts = {ScriptWithStatement()};
  Load(f, u"First");
  ASSERT_EQ(scriptTable.scripts.size(), 1u);
  ByteList file = test::MapFileBytes(f);
  ByteList cut(file.begin(), file.end() - 10);
  // Hashed files would fail their header check; an unhashed version reaches the readers.
  f.version = 100700;
  ByteList unhashed = test::MapFileBytes(f);
  ByteList unhashedCut(unhashed.begin(), unhashed.end() - 10);

  EXPECT_THROW(LoadMap(cut, u"Bad", -1, false), KivError);
  EXPECT_THROW(LoadMap(unhashedCut, u"Bad", -1, false), KivError);
  EXPECT_EQ(gameData.maps.LastIndex(), 0);
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
  EXPECT_TRUE(gameData.loadingMapName.empty());

  // A failed reload in place keeps the old map.
  EXPECT_THROW(LoadMap(unhashedCut, u"Bad", 0, false), KivError);
  EXPECT_EQ(gameData.maps[0].fileName, u"First");
  EXPECT_EQ(gameData.maps[0].width, 3);
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
  // A good reload replaces it.
  LoadMap(unhashed, u"Again", 0, false);
  EXPECT_EQ(gameData.maps.LastIndex(), 0);
  EXPECT_EQ(gameData.maps[0].fileName, u"Again");
}

TEST_F(MapLoaderTest, AListBeyondTheBytesLeftFailsAndLeavesTheTableAlone) {
  ByteList file = test::MapFileBytes(VersionFixture(100700));
  // The last section (fields) of the body is its last four bytes: one field, not stored.
  file[file.size() - 4] = 0;
  file[file.size() - 3] = 0;
  file[file.size() - 2] = 0;
  file[file.size() - 1] = 0;
  EXPECT_THROW(LoadMap(file, u"Objects", -1, false), KivError);
  EXPECT_EQ(gameData.maps.LastIndex(), -1);
}

TEST_F(MapLoaderTest, LoadsFromThePackage) {
  package.packageEntries.push_back({"Town.kmp", test::MapFileBytes(MapFixture()), 0});
  MapFixture ui;
  ui.isInterface = false;  // the argument decides
  package.packageEntries.push_back({"Menu.kui", test::MapFileBytes(ui), 0});
  LoadMapFromPackage(u"Town", false, -1, false);
  LoadMapFromPackage(u"Menu", true, -1, false);
  EXPECT_FALSE(gameData.maps[0].isInterface);
  EXPECT_TRUE(gameData.maps[1].isInterface);
  LoadMapFromPackage(u"Town", false, 1, false);  // reloaded in place
  EXPECT_FALSE(gameData.maps[1].isInterface);
  EXPECT_EQ(gameData.maps[1].fileName, u"Town");
  EXPECT_EQ(gameData.maps.LastIndex(), 1);

  const struct {
    const char16_t* name;
    bool isInterface;
    const char* message;
  } missing[] = {{u"Town", true, "Interface file \"Town\" cannot be found."},
                 {u"Nowhere", false, "Map file \"Nowhere\" cannot be found."}};
  for (const auto& m : missing) {
    try {
      LoadMapFromPackage(m.name, m.isInterface, -1, false);
      FAIL();
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), -1);
      EXPECT_STREQ(e.what(), m.message);
    }
  }
  EXPECT_EQ(gameData.maps.LastIndex(), 1);
}

TEST_F(MapLoaderTest, AHeaderThatFailsLeavesTheTableAlone) {
  ByteList file = test::MapFileBytes(VersionFixture(100470));
  try {
    LoadMap(file, u"Old", -1, false);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -2);
  }
  EXPECT_EQ(gameData.maps.LastIndex(), -1);
}

}  // namespace
}  // namespace kiv
