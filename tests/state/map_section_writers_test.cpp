// A map written in the save form reads back through the map readers with
// their save flag, field by field, and writes the same bytes again. The losses
// the format makes on purpose are checked by name: the header's list of the
// actors' variables is read and dropped, a zone keeps only its first
// rectangle, references come back as identifiers still to be resolved.
#include "state/map_section_writers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "core/format_version.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/lists.h"
#include "data/map_object_settings.h"
#include "data/map_reader.h"
#include "data/object_defaults.h"
#include "data/script_record.h"
#include "media/sound_sets.h"
#include "state/save_references.h"

namespace kiv {
namespace {

Identifier IdOf(std::uint8_t byte) {
  Identifier id;
  IdFill(id, byte);
  return id;
}

class MapSectionWritersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    BuildObjectDefaults();
    scriptTable.Reset();
    gameData.Reset();
    soundSets.clear();
    dataSettings.Reset();
    dataSettings.gridCellSize = 16;
    dataHooks.Reset();
    mapObjectSettings.Reset();
    projectState.Reset();
  }
  void TearDown() override {
    dataHooks.Reset();
    gameData.Reset();
    soundSets.clear();
    scriptTable.Reset();
    dataSettings.Reset();
    mapObjectSettings.Reset();
    projectState.Reset();
  }
};

ScriptVariable Variable(const char16_t* name, std::int32_t value) {
  ScriptVariable v;
  v.symbol = SymbolIntern(name);
  v.value = Variant::Long(value);
  return v;
}

// A 2 x 3 map with 2 layers, every header and properties field set to a value
// of its own and one object in a few of the lists.
Map MakeMap() {
  Map m;
  m.id = IdOf(0x01);
  m.linkedMap.name = u"Overworld";
  m.displayName = u"Cellar";
  m.headerValue = 42;
  m.properties = {Variable(u"Depth", 3)};
  m.width = 1, m.height = 2, m.layerCount = 1;
  const std::int32_t cells = 2 * 3 * 2;
  for (std::size_t g = 0; g < m.tileLayerGroups.size(); ++g) {
    TileLayerGroup& group = m.tileLayerGroups[g];
    group.slotGrid.Make(2, 3, 2);
    group.tileGrid.Make(2, 3, 2);
    for (std::int32_t i = 0; i < cells; ++i) {
      group.slotGrid.cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(g == 0 ? i % 3 : 0);
      group.tileGrid.cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(10 * g + i);
    }
  }
  // Group 0: a tile set not found at load and an empty slot; group 1 has none.
  m.tileLayerGroups[0].slotCount = 2;
  m.tileLayerGroups[0].slotTileSets = {-2, -1};
  m.tileLayerGroups[0].slotIds = {IdOf(0x31), Identifier()};
  m.tileLayerGroups[2].slotCount = 1;
  m.tileLayerGroups[2].slotTileSets = {0};  // resolved: written as the tile set's own identifier
  m.tileLayerGroups[2].slotIds = {IdOf(0x99)};

  m.mapByteA = 1, m.isInterface = false, m.designWidth = 640, m.designHeight = 480;
  m.ambientColor = 0x80112233, m.mapValueB = 2, m.mapByteA2 = 3;
  m.soundSet = -2, m.soundSetId = IdOf(0x41);
  m.mapValueC = 1.5707964f, m.mapValueD = 0.1f;  // wind direction, cloud amount
  m.setReferences[0] = {-2, IdOf(0x42)};
  m.setReferences[1] = {-1, Identifier()};
  m.setReferences[2] = {-2, IdOf(0x43)};
  m.mapValueE = 6, m.mapValueF = 7, m.mapValueG = 8;
  m.mapByteH = 9, m.mapByteI = 10, m.mapByteJ = 11, m.mapByteK = 12;
  m.mapValueL = 13, m.setReference4 = {-2, IdOf(0x44)};
  m.mapValueM = 1.5f, m.mapValueN = 2.5f, m.mapValueO = 3.5f, m.mapValueP = 4.5f;
  m.mapByteQ = 14, m.mapByteR = 15, m.fogOn = 1, m.fogColor = 0xFF808080, m.fogStart = 100, m.fogEnd = 900;
  m.mapByteS = 16, m.paused = 17, m.mapByteU = 18;
  m.mapValueV = -1, m.mapValueW = 0, m.mapValueX = 19, m.mapValueY = 20, m.mapFactorZ = 0.25f;
  m.furtherId = IdOf(0x45);
  m.backgroundColor1 = 0xFF010203, m.backgroundColor2 = 0xFF040506;
  BackgroundSprite sprite;
  sprite.spriteSet = -2, sprite.spriteSetId = IdOf(0x46), sprite.parallaxX = 0.5f, sprite.parallaxY = 0.25f;
  sprite.speedX = 0.1f, sprite.speedY = -2.0f;
  sprite.repeatX = 5, sprite.repeatY = 6, sprite.fitMap = 7, sprite.elapsed = 8;
  m.backgroundSprites2 = {sprite};
  m.mapMode = 2;
  m.flags = {0, 1, 0, 1, 1, 0};
  m.namedSlots[0].name = u"North";
  m.namedSlots[3].name = u"West";
  ScreenLayout layout;
  layout.platformNames = {u"Desktop"};
  layout.width = 1024, layout.height = 768, layout.sizeValue = 150000;
  layout.placements.resize(2);
  layout.placements[1].values = {1, 2, 3, 4, 5, 6};
  m.screenLayouts = {layout};
  m.mapValueAA = 0.5f, m.mapValueAB = -9.8f, m.mapValueAC = 0.125f;
  m.eventScripts[0].text = u"x = 1";
  m.eventScripts[5].text = u"y = 2";
  m.savedState.stateByte = 1, m.savedState.focusedField = 0, m.savedState.stateValue1 = 2;
  m.savedState.stateValue2 = 3, m.overlayActive = 1, m.orderNumber = 5;
  m.exclusive = true, m.savedState.screenOffsetX = 6.5f, m.savedState.screenOffsetY = -7.25f;
  m.savedState.stateValue6 = 8, m.savedState.stateFlag2 = -1, m.savedState.stateFlag3 = 0;

  Door door;
  door.name = u"Hatch";
  door.x = 32, door.y = 32, door.z = 0;
  m.doors = {door};
  Zone zone;
  zone.name = u"Pit";
  zone.shape.rectangles = {CollisionBox{1, 2, 3, 4, 5, 6, {}}, CollisionBox{7, 8, 9, 10, 11, 12, {}}};
  m.zones = {zone};
  Actor actor;
  actor.name = u"Rat";
  actor.variables = {Variable(u"Hunger", 5)};
  m.actors = {actor, Actor()};
  m.actors[1].name = u"Bat";
  m.actors[1].variables = {Variable(u"Wings", 2)};
  Projectile projectile;
  projectile.x = 5, projectile.spriteSet = -1, projectile.damagePhase = 0xAB;
  m.projectiles = {projectile};
  Field field;
  field.name = u"Title";
  m.fields = {field};
  PositionedText text;
  text.x = 1, text.text = u"Here";
  m.positionedTexts = {text};
  return m;
}

ByteList WriteSections(Map& map) {
  ByteList bytes;
  std::int32_t end = 0;
  WriteMapHeader(map, bytes, end);
  WriteMapProperties(map, bytes, end, true);
  WriteMapBody(map, bytes, end, true);
  bytes.resize(static_cast<std::size_t>(end));
  return bytes;
}

Map ReadSections(const ByteList& bytes, std::int32_t& offset) {
  Map map;
  ReadMapHeader(bytes, offset, kCurrentFormatVersion, map);
  ReadMapProperties(bytes, offset, kCurrentFormatVersion, map, true);
  ReadMapBodySections(bytes, offset, kCurrentFormatVersion, map, 0, true);
  return map;
}

// The wind direction and the cloud amount follow the music reference as the
// bits of two Singles, not as whole numbers.
TEST_F(MapSectionWritersTest, WeatherValuesAreWrittenAsSingles) {
  Map written = MakeMap();
  const ByteList bytes = WriteSections(written);
  const Identifier music = IdOf(0x41);
  const auto at = std::search(bytes.begin(), bytes.end(), music.bytes.begin(), music.bytes.end());
  ASSERT_NE(at, bytes.end());
  const std::size_t after = static_cast<std::size_t>(at - bytes.begin()) + music.bytes.size();
  ASSERT_LE(after + 8, bytes.size());
  const std::uint8_t expected[8] = {0xDB, 0x0F, 0xC9, 0x3F, 0xCD, 0xCC, 0xCC, 0x3D};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(bytes[after + i], expected[i]) << i;
}

TEST_F(MapSectionWritersTest, SavedMapReadsBackFieldByFieldAndWritesTheSameBytes) {
  gameData.tileSets.resize(1);
  gameData.tileSets[0].id = IdOf(0x32);
  Map written = MakeMap();
  const ByteList first = WriteSections(written);
  EXPECT_EQ(written.displayNameWorking, u"Cellar");  // the writer refreshes the working copy

  std::int32_t offset = 0;
  Map read;
  try {
    read = ReadSections(first, offset);
  } catch (const KivError& e) {
    FAIL() << e.what();
  }
  EXPECT_EQ(offset, static_cast<std::int32_t>(first.size())) << "readers and writers disagree on the length";

  // Header.
  EXPECT_EQ(read.id, written.id);
  EXPECT_EQ(read.linkedMap.name, u"Overworld");
  EXPECT_EQ(read.displayName, u"Cellar");
  EXPECT_EQ(read.headerValue, 42);
  ASSERT_EQ(read.properties.size(), 1u);
  EXPECT_EQ(read.properties[0].symbol, written.properties[0].symbol);
  EXPECT_EQ(read.width, 1);
  EXPECT_EQ(read.height, 2);
  EXPECT_EQ(read.layerCount, 1);
  for (std::size_t g = 0; g < read.tileLayerGroups.size(); ++g) {
    SCOPED_TRACE(g);
    EXPECT_EQ(read.tileLayerGroups[g].slotCount, written.tileLayerGroups[g].slotCount);
    EXPECT_EQ(read.tileLayerGroups[g].slotGrid.cells, written.tileLayerGroups[g].slotGrid.cells);
    EXPECT_EQ(read.tileLayerGroups[g].tileGrid.cells, written.tileLayerGroups[g].tileGrid.cells);
  }
  // A tile set not found keeps its identifier, an empty slot stays empty, a
  // resolved one is stored as the set's identifier and found again.
  EXPECT_EQ(read.tileLayerGroups[0].slotIds, (std::vector<Identifier>{IdOf(0x31), Identifier()}));
  EXPECT_EQ(read.tileLayerGroups[0].slotTileSets, (std::vector<std::int32_t>{-2, -1}));
  EXPECT_EQ(read.tileLayerGroups[2].slotIds, (std::vector<Identifier>{IdOf(0x32)}));
  EXPECT_EQ(read.tileLayerGroups[2].slotTileSets, (std::vector<std::int32_t>{0}));

  // Properties.
  EXPECT_EQ(read.mapByteA, 1);
  EXPECT_EQ(read.designWidth, 640);
  EXPECT_EQ(read.designHeight, 480);
  EXPECT_EQ(read.ambientColor, 0x80112233u);
  EXPECT_EQ(read.mapByteA2, 3);
  EXPECT_EQ(read.soundSetId, IdOf(0x41));
  EXPECT_EQ(read.setReferences[0].id, IdOf(0x42));
  EXPECT_EQ(read.setReferences[1].id, Identifier());
  EXPECT_EQ(read.setReference4.id, IdOf(0x44));
  EXPECT_EQ(read.mapByteH, 9);
  EXPECT_EQ(read.mapValueD, 0.1f);
  EXPECT_EQ(read.mapValueL, 13.0f);
  EXPECT_EQ(read.mapByteI, 10);
  EXPECT_EQ(read.mapByteJ, 11);
  EXPECT_EQ(read.mapByteK, 12);
  EXPECT_EQ(read.mapValueP, 4.5f);
  EXPECT_EQ(read.fogColor, 0xFF808080u);
  EXPECT_EQ(read.fogEnd, 900.0f);
  EXPECT_EQ(read.paused, 17);
  EXPECT_EQ(read.mapByteU, 18);
  EXPECT_EQ(read.mapFactorZ, 0.25f);
  EXPECT_EQ(read.furtherId, IdOf(0x45));
  EXPECT_EQ(read.backgroundColor2, 0xFF040506u);
  EXPECT_TRUE(read.backgroundSprites1.empty());
  ASSERT_EQ(read.backgroundSprites2.size(), 1u);
  EXPECT_EQ(read.backgroundSprites2[0].parallaxX, 0.5f);
  EXPECT_EQ(read.backgroundSprites2[0].parallaxY, 0.25f);
  EXPECT_EQ(read.backgroundSprites2[0].speedX, 0.1f);
  EXPECT_EQ(read.backgroundSprites2[0].speedY, -2.0f);
  EXPECT_EQ(read.backgroundSprites2[0].repeatX, 5);
  EXPECT_EQ(read.backgroundSprites2[0].repeatY, 6);
  EXPECT_EQ(read.backgroundSprites2[0].fitMap, 7);
  EXPECT_EQ(read.backgroundSprites2[0].elapsed, 8);
  EXPECT_EQ(read.mapMode, 2);
  EXPECT_EQ(read.flags, written.flags);
  EXPECT_EQ(read.namedSlots[0].name, u"North");
  EXPECT_EQ(read.namedSlots[3].name, u"West");
  ASSERT_EQ(read.screenLayouts.size(), 1u);
  EXPECT_EQ(read.screenLayouts[0].sizeValue, 150000);
  EXPECT_EQ(read.screenLayouts[0].placements[1].values, written.screenLayouts[0].placements[1].values);
  EXPECT_EQ(read.mapValueAB, -9.8f);
  EXPECT_EQ(read.eventScripts[5].text, u"y = 2");
  EXPECT_EQ(read.savedState.focusedField, 0);
  // A shown interface is shown again after a load, in its order, taking the input from those under it.
  EXPECT_EQ(read.overlayActive, 1);
  EXPECT_EQ(read.orderNumber, 5);
  EXPECT_TRUE(read.exclusive);
  EXPECT_EQ(read.ScreenOffsetX(), 6.5f);
  EXPECT_EQ(read.ScreenOffsetY(), -7.25f);
  EXPECT_EQ(read.savedState.stateValue6, 8);
  EXPECT_EQ(read.savedState.stateFlag2, -1);

  // Body: every list, the projectiles included.
  EXPECT_EQ(read.doors.size(), 1u);
  ASSERT_EQ(read.zones.size(), 1u);
  EXPECT_EQ(read.zones[0].shape.rectangles.size(), 1u);  // loss: only the first rectangle
  ASSERT_EQ(read.actors.size(), 2u);
  EXPECT_EQ(read.actors[1].name, u"Bat");
  ASSERT_EQ(read.actors[1].variables.size(), 1u);  // each actor keeps its own variables
  ASSERT_EQ(read.projectiles.size(), 1u);
  EXPECT_EQ(read.projectiles[0].damagePhase, 0xAB);
  EXPECT_EQ(read.fields.size(), 1u);
  ASSERT_EQ(read.positionedTexts.size(), 1u);
  EXPECT_EQ(read.positionedTexts[0].text, u"Here");

  // Written again, the same bytes: nothing else is lost.
  EXPECT_EQ(WriteSections(read), first);
}

TEST_F(MapSectionWritersTest, SizeEdgesKeepTheStreamReadable) {
  struct Case {
    const char* name;
    std::int32_t width, height, layers;
    bool makeGrids;
  };
  const Case cases[] = {
      {"no size: no tile-layer groups", -1, -1, -1, false},
      {"width only", 3, -1, 0, false},
      {"grids never made: padded with empty cells", 1, 1, 0, false},
      {"one cell", 0, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Map written;
    written.width = c.width, written.height = c.height, written.layerCount = c.layers;
    if (c.makeGrids) {
      for (TileLayerGroup& group : written.tileLayerGroups) {
        group.slotGrid.Make(c.width + 1, c.height + 1, c.layers + 1);
        group.tileGrid.Make(c.width + 1, c.height + 1, c.layers + 1);
      }
    }
    const ByteList first = WriteSections(written);
    std::int32_t offset = 0;
    Map read;
    try {
      read = ReadSections(first, offset);
    } catch (const KivError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    EXPECT_EQ(offset, static_cast<std::int32_t>(first.size()));
    EXPECT_EQ(read.width, c.width);
    EXPECT_EQ(read.height, c.height);
    EXPECT_TRUE(read.actors.empty());
  }
}

TEST_F(MapSectionWritersTest, ActorsVariablesListOfTheHeaderHoldsEveryActorsVariablesInOrder) {
  Map map;
  map.actors.resize(3);
  map.actors[0].variables = {Variable(u"A", 1), Variable(u"B", 2)};
  map.actors[2].variables = {Variable(u"C", 3)};
  ByteList bytes;
  std::int32_t end = 0;
  WriteMapHeader(map, bytes, end);
  std::int32_t offset = 16;
  BufferReadString(bytes, offset);
  BufferReadString(bytes, offset);
  BufferReadLong(bytes, offset);
  std::vector<ScriptVariable> list;
  ReadPropertyList(bytes, offset, list);  // the map's own: empty
  EXPECT_TRUE(list.empty());
  ReadPropertyList(bytes, offset, list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].symbol, SymbolIntern(u"A"));
  EXPECT_EQ(list[2].symbol, SymbolIntern(u"C"));
}

}  // namespace
}  // namespace kiv
