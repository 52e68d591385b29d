// Map bodies: every object list of a whole map file, the old sections that are
// converted while reading, and the steps after reading.
#include <gtest/gtest.h>

#include <cmath>

#include "core/angles.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/field_state.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/map_object_readers.h"
#include "data/map_object_settings.h"
#include "data/object_defaults.h"
#include "support/map_writer.h"

namespace kiv {
namespace {

using test::MapFixture;

Identifier IdOf(std::uint8_t byte) {
  Identifier id;
  IdFill(id, byte);
  return id;
}

class MapBodyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    BuildObjectDefaults();
    scriptTable.Reset();
    gameData.Reset();
    dataSettings.Reset();
    dataSettings.gridCellSize = 8;
    dataHooks.Reset();
    mapObjectSettings.Reset();
  }
  void TearDown() override {
    dataHooks.Reset();
    gameData.Reset();
    scriptTable.Reset();
    dataSettings.Reset();
    mapObjectSettings.Reset();
  }

  static MapFixture Fixture(std::int32_t version, std::int32_t width = 7, std::int32_t height = 7) {
    MapFixture f;
    f.version = version;
    f.width = width;
    f.height = height;
    f.layerCount = 1;
    // Files before 100563 store only the first layer of the tile grids.
    const std::int32_t storedLayers = version >= 100563 ? 2 : 1;
    for (auto& group : f.groups) {
      group.slotGrid.assign(static_cast<std::size_t>((width + 1) * (height + 1) * storedLayers), 0);
      group.tileGrid.assign(group.slotGrid.size(), 0);
    }
    return f;
  }

  const Map& Load(const MapFixture& fixture) {
    LoadMap(test::MapFileBytes(fixture), u"Town", -1, false);
    return gameData.maps[gameData.maps.LastIndex()];
  }

  static Actor DesignActor(const std::u16string& name, float x, float y, float z) {
    Actor a;
    a.name = name;
    a.displayName = name;
    a.x = x;
    a.y = y;
    a.z = z;
    a.parts.resize(1);
    a.parts[0].slot = SymbolIntern(u"Body");
    IdFill(a.parts[0].spriteSetId, 0x31);
    return a;
  }
};

TEST_F(MapBodyTest, ReadsEveryObjectListOfTheCurrentFormat) {
  gameData.doorSets.resize(5);
  gameData.doorSets[4].id = IdOf(0xD0);
  MapFixture f = Fixture(100790);
  Door door;
  door.name = u"Gate";
  door.displayName = u"The Gate";
  door.openAmount = 0.5f;
  door.x = 130;
  door.y = 100;
  door.doorSetId = IdOf(0xD0);
  door.target.name = u"Castle";
  door.targetValues = {3, 4};
  door.text = u"locked";
  f.body.doors = {door};
  Zone zone;
  zone.name = u"Pit";
  zone.displayName = u"Pit";
  zone.keptShape.rectangles.resize(1);
  zone.keptShape.rectangles[0] = CollisionBox{0, 0, 64, 64, 0, 0, {}};
  f.body.zones = {zone};
  CollisionShape boundary;
  boundary.rectangles.resize(1);
  boundary.rectangles[0] = CollisionBox{1, 0, 64, 0, 5, 9, {}};
  f.body.boundaries = {boundary};
  f.body.actors = {DesignActor(u"Hero", 100, 200, 0), DesignActor(u"Guard", 40, 40, 0)};
  PickUp pickUp;
  pickUp.x = 10;
  pickUp.y = 20;
  pickUp.z = 30;
  pickUp.color = 0x80112233;
  pickUp.money = 12345;
  pickUp.spriteSetId = IdOf(0x77);  // no sprite set has it
  f.body.pickUps = {pickUp};
  Light light;
  light.name = u"Lamp";
  light.displayName = u"Lamp";
  light.x = 100;
  light.y = 100;
  light.radius = 20;
  light.red = 255;
  light.pattern[5] = 9;
  f.body.lights = {light};
  Speaker speaker;
  speaker.name = u"Bell";
  speaker.displayName = u"Bell";
  speaker.soundSetId = IdOf(0x55);
  speaker.focus = 0.5f;
  f.body.speakers = {speaker};
  Spawn spawn;
  spawn.name = u"Den";
  spawn.displayName = u"Den";
  spawn.interval = 0;
  f.body.spawns = {spawn};
  Field field;
  field.name = u"Label";
  field.displayName = u"Label";
  field.value1 = Variant::Text(u"Hello");
  field.x = 100;
  field.width = 50;
  f.body.fields = {field};
  PositionedText text;
  text.x = 1;
  text.text = u"note";
  f.body.positionedTexts = {text};

  const Map& map = Load(f);
  ASSERT_EQ(map.doors.size(), 1u);
  EXPECT_EQ(map.doors[0].displayName, u"The Gate");
  EXPECT_EQ(map.doors[0].doorSet, 4);
  EXPECT_EQ(map.doors[0].item, -1);
  EXPECT_EQ(map.doors[0].target.index, -2);
  EXPECT_EQ(map.doors[0].target.name, u"Castle");
  EXPECT_EQ(map.doors[0].targetValues[1], 4);
  EXPECT_EQ(map.doors[0].openAmount2, 0.5f);
  EXPECT_EQ(map.doors[0].text, u"locked");
  EXPECT_EQ(map.sectorGrid.cells.size(), 4u);
  EXPECT_EQ(const_cast<Map&>(map).sectorGrid.At(1, 1, 0).doors, std::vector<std::int32_t>{0});
  ASSERT_EQ(map.zones.size(), 1u);
  EXPECT_EQ(map.zones[0].keptShape.rectangles[0].back, 0);
  EXPECT_EQ(map.zones[0].shape.rectangles[0].front, -100000);
  EXPECT_EQ(map.zones[0].shape.rectangles[0].back, 100000);
  ASSERT_EQ(map.boundaries.size(), 1u);
  EXPECT_EQ(map.boundaries[0].rectangles[0].top, -100000);
  EXPECT_EQ(map.boundaries[0].rectangles[0].bottom, 100000);
  EXPECT_EQ(map.boundaries[0].rectangles[0].front, 5);
  ASSERT_EQ(map.actors.size(), 2u);
  EXPECT_EQ(map.actors[0].name, u"Hero");
  EXPECT_EQ(map.actors[0].parts[0].spriteSet, -2);
  EXPECT_EQ(map.actors[0].areaBox, (Box{-172, -72, 372, 472, 0, 256}));
  ASSERT_EQ(map.pickUps.size(), 1u);
  EXPECT_EQ(map.pickUps[0].color, 0x80112233u);
  EXPECT_EQ(map.pickUps[0].z, 30.0f);
  EXPECT_EQ(map.pickUps[0].money, 12345);
  EXPECT_EQ(map.pickUps[0].spriteSet, -2);
  ASSERT_EQ(map.lights.size(), 1u);
  EXPECT_EQ(map.lights[0].pattern[5], 9);
  EXPECT_EQ(map.lights[0].nearestBlockedSquared, 401.0f);
  EXPECT_EQ(const_cast<Map&>(map).sectorGrid.At(0, 0, 0).lights, std::vector<std::int32_t>{0});
  ASSERT_EQ(map.speakers.size(), 1u);
  EXPECT_EQ(map.speakers[0].soundSet, -2);
  EXPECT_EQ(map.speakers[0].focus, 0.5f);
  ASSERT_EQ(map.spawns.size(), 1u);
  EXPECT_EQ(map.spawns[0].interval, 1);
  ASSERT_EQ(map.fields.size(), 1u);
  EXPECT_EQ(map.fields[0].value1.AsText(), u"Hello");
  EXPECT_EQ(map.fields[0].mapIndex, 0);
  ASSERT_EQ(map.positionedTexts.size(), 1u);
  EXPECT_EQ(map.positionedTexts[0].text, u"note");
}

// Every count is checked against the bytes left: a list whose records cannot
// fit is an error before anything is allocated.
TEST_F(MapBodyTest, RefusesCountsBeyondTheBytesLeft) {
  MapFixture f = Fixture(100790);
  ByteList bytes = test::MapFileBytes(f);
  // The body's first list (doors) is 10 lists from the end: make it huge.
  const std::size_t doorsAt = bytes.size() - 10 * 4;
  bytes[doorsAt] = 0xFF;
  bytes[doorsAt + 1] = 0xFF;
  bytes[doorsAt + 2] = 0xFF;
  bytes[doorsAt + 3] = 0x0F;
  EXPECT_THROW(LoadMap(bytes, u"Town", -1, false), KivError);
  EXPECT_EQ(gameData.maps.LastIndex(), -1);
}

TEST_F(MapBodyTest, ActorOfVersion100600IsConvertedAsOldFilesAre) {
  Actor a = DesignActor(u"7", 10, 20, 0);
  a.parts.assign(10, AppearancePart());
  a.parts[0].colors[0] = 0x00123456;
  a.physicsFlags = 75;
  // The section as read: loading the map would apply templates to it.
  ByteList bytes;
  std::int32_t o = 0;
  test::WriteActorFixture(bytes, o, a, 100600, false);
  bytes.resize(static_cast<std::size_t>(o));
  Actor actor;
  std::int32_t at = 0;
  ReadCharacter(bytes, at, actor, 100600, false);
  EXPECT_EQ(at, o);
  EXPECT_EQ(actor.name, u"Character 7");
  EXPECT_EQ(actor.displayName, u"Character 7");
  ASSERT_EQ(actor.parts.size(), 10u);
  EXPECT_EQ(actor.parts[3].colors[1], kNoColor);
  EXPECT_EQ(actor.parts[9].slot, objectDefaults.appearanceSlots[9]);
  EXPECT_EQ(actor.scaleX, 1.0f);
  EXPECT_EQ(actor.solidToTouch, 1);
  // Before 100663 an actor without its own sprite takes the colour of its
  // first attached sprite (the default one), which then gives the tint.
  EXPECT_EQ(actor.tint, 0x22FFFFFFu);
  EXPECT_EQ(actor.parts[0].colors[0], 0xFF000000u);
  EXPECT_EQ(actor.parts[1].colors[0], 0xFF000000u | kNoColor);
  EXPECT_EQ(actor.physicsFlags, 75 | 0x40);
  EXPECT_EQ(actor.turretRange, 640);
  EXPECT_EQ(actor.templateId, IdOf(1));
  EXPECT_EQ(actor.mapReference.kind, -3);
}

// Colours beyond the eight slots are dropped, never written past the array.
TEST_F(MapBodyTest, ActorColourListLongerThanEightKeepsTheFirstEight) {
  Actor a = DesignActor(u"Painted", 0, 0, 0);
  for (std::size_t c = 0; c < 8; ++c) a.parts[0].colors[c] = 0xFF000000u + static_cast<std::uint32_t>(c);
  ByteList bytes;
  std::int32_t o = 0;
  test::ActorWriteOptions options;
  options.colorLast = 12;
  test::WriteActorFixture(bytes, o, a, 100790, false, options);
  bytes.resize(static_cast<std::size_t>(o));
  Actor read;
  std::int32_t at = 0;
  ReadCharacter(bytes, at, read, 100790, false);
  EXPECT_EQ(at, o);
  ASSERT_EQ(read.parts.size(), 1u);
  EXPECT_EQ(read.parts[0].colors[7], 0xFF000007u);
}

TEST_F(MapBodyTest, ActorSectionsSkipUnknownStatisticsAndAreas) {
  gameData.statistics.resize(1);
  gameData.statistics[0].id = IdOf(0x51);
  mapObjectSettings.equipmentAreaIds = {IdOf(0x61), IdOf(0x62)};
  Actor a = DesignActor(u"Rich", 0, 0, 0);
  a.statistics = {{IdOf(0x51), 3, 4}};
  a.equipment.resize(2);
  a.equipment[1].areaId = IdOf(0x62);
  a.equipment[1].itemId = IdOf(0x71);
  a.equipment[1].ammunition = 5;
  for (std::int32_t version : {100483, 100790}) {
    SCOPED_TRACE(version);
    ByteList bytes;
    std::int32_t o = 0;
    test::ActorWriteOptions options;
    options.unknownStatistics = 2;
    options.unknownEquipment = 1;
    test::WriteActorFixture(bytes, o, a, version, false, options);
    bytes.resize(static_cast<std::size_t>(o));
    Actor read;
    std::int32_t at = 0;
    ReadCharacter(bytes, at, read, version, false);
    EXPECT_EQ(at, o);
    ASSERT_EQ(read.statistics.size(), 1u);
    EXPECT_EQ(read.statistics[0].currentValue, 4);
    EXPECT_EQ(read.statistics[0].baseValue, 3);
    ASSERT_EQ(read.equipment.size(), 2u);
    EXPECT_EQ(read.equipment[0].item, -1);
    EXPECT_EQ(read.equipment[1].item, -2);
    EXPECT_EQ(read.equipment[1].itemId, IdOf(0x71));
    EXPECT_EQ(read.equipment[1].ammunition, version >= 100484 ? 5 : 0);
  }
}

// Files of version 100774 can store a wrong equipment count, marked by four
// bytes of 255 after one entry per area. A peek past the end of the buffer
// (a template's record at the end of its file) finds no mark and reads on.
TEST_F(MapBodyTest, EquipmentPeekOfVersion100774) {
  Actor a = DesignActor(u"Armed", 0, 0, 0);
  {
    // A wrong stored count: the four bytes after one entry per area are 255
    // (here the empty route's last index), so the count is taken from the areas.
    mapObjectSettings.equipmentAreaIds = {IdOf(0x61)};
    a.equipment.resize(1);
    a.equipment[0].areaId = IdOf(0x61);
    a.equipment[0].itemId = IdOf(0x71);
    ByteList bytes;
    std::int32_t o = 0;
    test::ActorWriteOptions options;
    options.equipmentLastOverride = 5;
    test::WriteActorFixture(bytes, o, a, 100774, false, options);
    bytes.resize(static_cast<std::size_t>(o));
    Actor read;
    std::int32_t at = 0;
    ReadCharacter(bytes, at, read, 100774, false);
    EXPECT_EQ(read.equipment[0].itemId, IdOf(0x71));
    EXPECT_EQ(at, o);
  }
  {
    // A record at the very end of its file with many areas: the peek lands
    // past the end, finds no mark, and the stored count is read on.
    mapObjectSettings.equipmentAreaIds.assign(12, IdOf(0x61));
    a.equipment.clear();
    ByteList bytes;
    std::int32_t o = 0;
    test::WriteActorFixture(bytes, o, a, 100774, false);
    bytes.resize(static_cast<std::size_t>(o));
    Actor read;
    std::int32_t at = 0;
    ReadCharacter(bytes, at, read, 100774, false);
    EXPECT_EQ(at, o);
    EXPECT_EQ(read.equipment.size(), 12u);
  }
}

TEST_F(MapBodyTest, ActorWithAndWithoutStateConsumeTheirOwnLengths) {
  Actor a = DesignActor(u"Saved", 100, 200, 0);
  a.path = {1, 2};
  a.waypoints.resize(2);
  a.waypoints[1].values = {1, 2, 3, 4};
  a.memorized = 1;
  a.removed = 1;
  a.targetActor = 9;
  for (bool withState : {false, true}) {
    SCOPED_TRACE(withState);
    ByteList bytes;
    std::int32_t o = 0;
    test::WriteActorFixture(bytes, o, a, 100790, withState);
    bytes.resize(static_cast<std::size_t>(o));
    Actor read;
    std::int32_t at = 0;
    ReadCharacter(bytes, at, read, 100790, withState);
    EXPECT_EQ(at, o);
    if (withState) {
      EXPECT_EQ(read.path, (std::vector<std::int32_t>{1, 2}));
      EXPECT_EQ(read.waypoints[1].values, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
      EXPECT_EQ(read.targetActor, -1);  // removed from play
    } else {
      EXPECT_TRUE(read.path.empty());
      EXPECT_EQ(read.memorized, -1);
      EXPECT_EQ(read.areaBox.left, -172);
    }
  }
}

// A stored position or key that is not a number derives run-time values of 0,
// never the result of an undefined conversion.
TEST_F(MapBodyTest, ActorAtAnUndefinedPositionDerivesZeroes) {
  const float nan = std::nanf("");
  Actor a = DesignActor(u"Lost", nan, nan, nan);
  a.keyTurning = nan;
  ByteList bytes;
  std::int32_t o = 0;
  test::WriteActorFixture(bytes, o, a, 100790, false);
  bytes.resize(static_cast<std::size_t>(o));
  Actor read;
  std::int32_t at = 0;
  ReadCharacter(bytes, at, read, 100790, false);
  EXPECT_EQ(read.areaBox, (Box{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(read.gridX, 0);
  EXPECT_EQ(read.gridY, 0);
  EXPECT_EQ(read.turningKey, 0);
}

TEST_F(MapBodyTest, LegacyDynamicObjectsComeFirstInMapsAndInterfaces) {
  for (bool isInterface : {false, true}) {
    SCOPED_TRACE(isInterface);
    gameData.Reset();
    MapFixture f = Fixture(100635);
    f.isInterface = isInterface;
    f.body.dynamicObjects = {{u"A", Identifier(), 1, 2, 40, 0}, {u"B", Identifier(), 3, 4, 5, 0}};
    if (isInterface) {
      Field field;
      field.name = u"Own";
      field.displayName = u"Own";
      f.body.fields = {field};
    } else {
      f.body.actors = {DesignActor(u"Own", 0, 0, 0)};
    }
    const Map& map = Load(f);
    if (isInterface) {
      ASSERT_EQ(map.fields.size(), 3u);
      EXPECT_EQ(map.fields[0].name, u"Dynamic Object A");
      EXPECT_EQ(map.fields[1].name, u"Dynamic Object B");
      EXPECT_EQ(map.fields[2].name, u"Own");
      EXPECT_EQ(map.fields[0].z, 40.0f);
    } else {
      ASSERT_EQ(map.actors.size(), 3u);
      EXPECT_EQ(map.actors[0].name, u"Dynamic Object A");
      EXPECT_EQ(map.actors[2].name, u"Own");
      EXPECT_EQ(map.actors[1].x, 3.0f);
    }
  }
}

TEST_F(MapBodyTest, LegacyVehiclesAndTurretsFollowTheStoredActors) {
  MapFixture f = Fixture(100494);
  f.body.actors = {DesignActor(u"a", 0, 0, 0), DesignActor(u"b", 0, 0, 0), DesignActor(u"c", 0, 0, 0)};
  test::LegacyVehicleFixture vehicle;
  vehicle.name = u"5";
  vehicle.gas = 7;
  vehicle.statisticValue = 3;
  f.body.vehicles = {vehicle, vehicle};
  test::LegacyTurretFixture turret;
  turret.name = u"5";
  turret.triState = 0;  // stored as the byte 2
  turret.arcStart = 1.0f;
  turret.arcEnd = 0.5f;
  turret.heading = 2.0f;
  test::LegacyTurretFixture plain;
  plain.name = u"6";
  plain.triState = 1;
  f.body.turrets = {turret, plain};
  const Map& map = Load(f);
  ASSERT_EQ(map.actors.size(), 7u);
  EXPECT_EQ(map.actors[2].name, u"Character c");
  EXPECT_EQ(map.actors[3].name, u"Vehicle 5");
  EXPECT_EQ(map.actors[4].displayName, u"Vehicle 5");
  EXPECT_EQ(map.actors[4].gas, 7.0f);
  EXPECT_EQ(map.actors[4].statistics[0].currentValue, 3);
  EXPECT_EQ(map.actors[4].templateId, IdOf(2));
  EXPECT_EQ(map.actors[4].vehicle, 1);
  EXPECT_EQ(map.actors[5].name, u"Turret 5");
  EXPECT_EQ(map.actors[5].keyTurning, 0.0f);
  EXPECT_FLOAT_EQ(map.actors[5].arcEnd, 0.5f + kTwoPi);
  EXPECT_EQ(map.actors[5].templateId, IdOf(3));
  EXPECT_EQ(map.actors[6].keyTurning, 1.0f);
  EXPECT_EQ(map.actors[6].arc, kTwoPi);
}

TEST_F(MapBodyTest, LegacyBlocksFillTheWallLayers) {
  MapFixture f = Fixture(100564);
  f.body.blocks = {{64, 96, 5, 2, 2}, {-40, 10, 1, 0, 1}, {32 * 50, 0, 1, 0, 1}, {0, 0, 1, 0, 6}};
  const Map& map = Load(f);
  const TileLayerGroup& group = map.tileLayerGroups[0];
  EXPECT_EQ(group.slotCount, 2);
  EXPECT_EQ(group.slotIds[0], IdOf(2));
  EXPECT_EQ(group.slotIds[1], IdOf(1));
  EXPECT_EQ(group.slotGrid.At(2, 3, 0), 1);
  EXPECT_EQ(group.slotGrid.At(2, 3, 1), 1);
  EXPECT_EQ(group.slotGrid.At(2, 3, 2), 2);
  EXPECT_EQ(group.tileGrid.At(2, 3, 2), 49);
  // A block above the grid's layers grows every layer grid first.
  EXPECT_EQ(map.layerCount, 6);
  EXPECT_EQ(group.slotGrid.layers, 7);
  EXPECT_EQ(group.slotGrid.At(0, 0, 6), 2);

  // Without blocks: four layers and no slots.
  gameData.Reset();
  const Map& empty = Load(Fixture(100564));
  EXPECT_EQ(empty.layerCount, 3);
  EXPECT_EQ(empty.tileLayerGroups[0].slotCount, 0);

  // A tile number above 255 fails the load.
  MapFixture overflow = Fixture(100564);
  overflow.body.blocks = {{0, 0, 200, 10, 0}};
  try {
    Load(overflow);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrOverflow);
  }
}

TEST_F(MapBodyTest, OldZonesTurnTwelveScriptsIntoTriggers) {
  MapFixture f = Fixture(100625);
  Zone zone;
  zone.name = u"Old";
  zone.keptShape.rectangles.resize(1);
  zone.keptShape.rectangles[0] = CollisionBox{0, 0, 64, 64, 0, 64, {}};
  zone.target.id = IdOf(0x77);  // no map has it
  f.body.zones = {zone};
  const Map& map = Load(f);
  ASSERT_EQ(map.zones[0].triggers.size(), 12u);
  EXPECT_EQ(SymbolName(map.zones[0].triggers[0].event), u"Trigger.Zone.ActionBeside");
  EXPECT_EQ(SymbolName(map.zones[0].triggers[11].event), u"Trigger.Zone.DamagedActor");
  EXPECT_EQ(map.zones[0].triggers[4].parameters, (std::vector<std::u16string>{u"\"Vehicle\"", u"1"}));
  // Read as a map identifier (-4), which no map has once resolved; a map
  // name (the newer form) that is empty would have given -1.
  EXPECT_EQ(map.zones[0].target.index, -2);
  EXPECT_EQ(map.zones[0].target.id, IdOf(0x77));
  EXPECT_EQ(map.zones[0].shape.rectangles[0].back, 64);
}

TEST_F(MapBodyTest, ScreenLayoutChoiceTakesOnlyAStrictlyBetterScore) {
  mapObjectSettings.displayWidth = 1024;
  mapObjectSettings.displayHeight = 768;
  MapFixture f = Fixture(100790);
  f.isInterface = true;
  f.designWidth = 800;
  f.designHeight = 600;
  test::ScreenLayoutFixture other;
  other.platformNames = {u"Console"};
  other.width = 1024;
  other.height = 768;
  test::ScreenLayoutFixture exact;
  exact.width = 1024;
  exact.height = 768;
  f.screenLayouts = {other, exact, exact};
  Field field;
  field.name = u"Centred";
  field.x = 100;
  f.body.fields = {field};
  const Map& map = Load(f);
  EXPECT_EQ(map.chosenScreenLayout, 1);
  // Centred on the chosen layout: 100 + (1024 - 800) / 2 = 212, snapped to 208.
  EXPECT_EQ(map.fields[0].x, 208.0f);

  gameData.Reset();
  mapObjectSettings.displayWidth = 800;
  mapObjectSettings.displayHeight = 600;
  f.screenLayouts = {exact};
  EXPECT_EQ(Load(f).chosenScreenLayout, -1);
}

TEST_F(MapBodyTest, FieldPlacementSnapsToEightPixels) {
  struct Case {
    std::int32_t flags;
    float x;
    float expectedX;
    float expectedWidth;
  };
  const Case cases[] = {
      {0, 100, 208, 10},           // centred
      {4, 100, 320, 10},           // right, not scaled
      {4 | 0x20, 100, 128, 10},    // right, scaled
      {1 | 4, 100, 128, 12.8f},    // stretched
      {1, 101, 96, 10},            // left: only snapped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    Map map;
    map.designWidth = 800;
    map.designHeight = 600;
    map.screenLayouts.resize(1);
    map.screenLayouts[0].width = 1024;
    map.screenLayouts[0].height = 600;
    map.chosenScreenLayout = 0;
    map.fields.resize(1);
    map.fields[0].x = c.x;
    map.fields[0].width = 10;
    map.fields[0].anchorFlags = c.flags;
    RescaleFieldToScreen(map, 0);
    EXPECT_EQ(map.fields[0].x, c.expectedX);
    EXPECT_FLOAT_EQ(map.fields[0].width, c.expectedWidth);
  }
}

TEST_F(MapBodyTest, CounterFieldsShowWholeNonNegativeSpriteCounts) {
  struct Case {
    Variant value1, value2;
    std::int32_t sprites;
  };
  const Case cases[] = {
      {Variant::Double(3.7), Variant::Long(5), 3},   {Variant::Double(3.7), Variant::Long(2), 2},
      {Variant::Text(u"x"), Variant::Long(2), 1},    {Variant::Long(-4), Variant::Long(2), 0},
      {Variant::Double(1e12), Variant::Double(1e12), kMaxFieldSprites},
  };
  for (const Case& c : cases) {
    Map map;
    map.fields.resize(1);
    map.fields[0].kind = 1;
    map.fields[0].value1 = c.value1;
    map.fields[0].value2 = c.value2;
    UpdateFieldLayout(map, 0, 0);
    EXPECT_EQ(map.fields[0].spriteCount, c.sprites);
  }
}

TEST_F(MapBodyTest, PictureAndSizeModeLayout) {
  Map map;
  map.fields.resize(2);
  map.fields[0].value1 = Variant::Array(kVarVariant, {Variant::Long(20)});
  map.fields[1].sizeMode = 1;
  map.fields[1].width = 1.5f;
  UpdateFieldLayout(map, 0, 0);
  UpdateFieldLayout(map, 0, 1);
  EXPECT_EQ(map.fields[0].pixelWidth, 128);
  EXPECT_EQ(map.fields[0].pixelHeight, 128);
  EXPECT_EQ(map.fields[1].pixelWidth, 144);  // 1.5 inches at 96 dots per inch
}

// A text field keeps the glyphs the layout gives and the line count it writes,
// not the number of entries; a count left unwritten (no font set loaded) is one line.
TEST_F(MapBodyTest, TextFieldsTakeTheLaidOutGlyphsAndTheWrittenLineCount) {
  struct Case {
    const char* name;
    bool writesCount;
    std::int32_t fieldLineHeight;
    std::int32_t lineCount;
    std::int32_t pixelHeight;
  };
  const Case cases[] = {
      {"font's line height", true, 0, 3, 3 * 16},
      {"own line height", true, 20, 3, 3 * 20},
      {"own line height below the font's", true, 10, 3, 16 + 3 * 10 - 10},
      {"count left unwritten", false, 0, 1, 16},
  };
  const GlyphIndexList laidOut = {1, kGlyphLineMark, 2, kGlyphLineMark, 3};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::u16string seenText;
    gameData.fontSets.resize(1);
    gameData.fontSets[0].lineHeight = 16;
    dataHooks.WrapText = [&](std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                             std::int32_t& lineCount, float fontSize) {
      EXPECT_EQ(fontSet, 0);
      EXPECT_EQ(width, 120);
      EXPECT_EQ(fontSize, 1.0f);
      seenText = text;
      if (c.writesCount) lineCount = 3;
      return laidOut;
    };
    Map map;
    map.fields.resize(1);
    Field& field = map.fields[0];
    field.fontSet = 0;
    field.width = 120;
    field.fontScale = 1.0f;
    field.lineHeight = c.fieldLineHeight;
    field.lineCount = 7;
    field.value1 = Variant::Text(u"one two three");
    UpdateFieldLayout(map, 0, 0);
    EXPECT_EQ(seenText, u"one two three");
    EXPECT_EQ(field.lines, laidOut);
    EXPECT_EQ(field.lineCount, c.lineCount);
    EXPECT_EQ(field.pixelHeight, c.pixelHeight);
  }
}

TEST_F(MapBodyTest, CellLightsOfRadiusZeroGiveNoLight) {
  Map map;
  map.lights.resize(2);
  map.lights[0].radius = 0;
  map.lights[1].radius = 10;
  map.lights[1].x = 4;
  map.lights[1].red = 255;
  const auto lights = EnableCellLights(map, {0, 1, -1, 7}, 2.0f);
  EXPECT_FALSE(lights[0].enabled);
  EXPECT_EQ(lights[0].vertexConstant, (std::array<float, 4>{1, 1, 1, 1}));
  EXPECT_TRUE(lights[1].enabled);
  EXPECT_FLOAT_EQ(lights[1].vertexConstant[3], 1.0f / 400.0f);
  EXPECT_EQ(lights[1].vertexConstant[0], 8.0f);
  EXPECT_EQ(lights[1].pixelConstant[0], 1.0f);
  EXPECT_FALSE(lights[2].enabled);
  EXPECT_FALSE(lights[3].enabled);
}

TEST_F(MapBodyTest, ProjectilesOfSaves) {
  Map map;
  map.projectiles.resize(1);
  Projectile p;
  p.spriteSet = -1;
  p.damagePhase = 7;
  p.owner = 99;
  ByteList bytes;
  std::int32_t o = 0;
  test::WriteProjectileFixture(bytes, o, p);
  bytes.resize(static_cast<std::size_t>(o));
  ASSERT_EQ(o, kProjectileRecordSize);
  bytes[52] = 9;  // the last of the unused bytes of member 14's slot
  std::int32_t at = 0;
  ReadProjectile(bytes, at, map, 0);
  EXPECT_EQ(at, kProjectileRecordSize);
  EXPECT_EQ(map.projectiles[0].damagePhase, 7);
  EXPECT_EQ(map.projectiles[0].owner, 99);

  // A sprite set that is not in the table is error 9.
  p.spriteSet = 3;
  bytes.clear();
  o = 0;
  test::WriteProjectileFixture(bytes, o, p);
  at = 0;
  try {
    ReadProjectile(bytes, at, map, 0);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrIndex);
  }
}

TEST_F(MapBodyTest, DoorOpeningsCarveTheWallBelow) {
  gameData.tileSets.resize(2);
  gameData.tileSets[0].flags = 1;  // its tiles are walls
  gameData.tileSets[0].id = IdOf(0xA0);
  gameData.tileSets[1].id = IdOf(0xA1);
  MapFixture f = Fixture(100790, 3, 3);
  f.layerCount = 1;
  auto& group = f.groups[0];
  group.slotIds = {IdOf(0xA0), IdOf(0xA1)};
  auto cell = [](std::int32_t c, std::int32_t r, std::int32_t l) { return static_cast<std::size_t>(l * 16 + r * 4 + c); };
  group.slotGrid[cell(1, 1, 0)] = 2;  // floor above the door's row
  group.tileGrid[cell(1, 1, 0)] = 7;
  group.slotGrid[cell(1, 2, 0)] = 1;  // the wall the door stands in
  group.slotGrid[cell(1, 2, 1)] = 1;
  group.slotGrid[cell(3, 2, 0)] = 2;  // no wall below the second door
  group.slotGrid[cell(3, 2, 1)] = 1;
  Door door;
  door.x = 40;
  door.y = 40;
  Door notOnWall = door;
  notOnWall.x = 100;
  Door outside = door;
  outside.x = 40;
  outside.y = 120;  // its lower cell is past the map
  f.body.doors = {door, notOnWall};
  const Map& map = Load(f);
  const TileLayerGroup& g = map.tileLayerGroups[0];
  EXPECT_EQ(g.slotGrid.At(1, 2, 0), 2);
  EXPECT_EQ(g.tileGrid.At(1, 2, 0), 7);
  EXPECT_EQ(g.slotGrid.At(1, 2, 1), 0);
  EXPECT_EQ(g.slotGrid.At(3, 2, 0), 2);
  EXPECT_EQ(g.slotGrid.At(3, 2, 1), 1);  // not even the layer above changes
}

TEST_F(MapBodyTest, LoadingLinksSpawnsAndRaisesLoadedEvents) {
  std::vector<std::pair<std::int32_t, std::int32_t>> events;
  dataHooks.ScriptRaiseObjectEvent = [&](std::int32_t kind, std::int32_t actor, std::int32_t event, std::int32_t) {
    EXPECT_EQ(kind, 3);
    events.emplace_back(actor, event);
  };
  MapFixture f = Fixture(100790);
  Spawn near;
  near.name = u"Near";
  near.x = 100.4f;
  near.y = 50.6f;
  Spawn far = near;
  far.name = u"Far";
  far.x = 300;
  f.body.spawns = {near, far};
  f.body.actors = {DesignActor(u"Linked", 100.0f, 51.0f, 63.9f), DesignActor(u"High", 300, 51, 64)};
  // A subtractive light keeps its horizontal range; enabled lights take the
  // nearest blocked distance found by the map data as their clear distance.
  Light light;
  light.enabled = 1;
  light.subtractive = 1;
  light.horizontalFrom = 5.5f;
  light.horizontalTo = 0.5f;
  light.radius = 5;
  Light off = light;
  off.enabled = 0;
  f.body.lights = {light, off};
  const Map& map = Load(f);
  EXPECT_EQ(map.spawns[0].linkedActor, 0);
  EXPECT_EQ(map.actors[0].spawn, 0);
  EXPECT_EQ(map.spawns[1].linkedActor, -1);
  EXPECT_EQ(map.lights[0].horizontalFrom, 5.5f);
  EXPECT_EQ(map.lights[0].horizontalTo, 0.5f);
  EXPECT_EQ(map.lights[0].clearDistanceSquared, 26.0f);
  EXPECT_EQ(map.lights[1].clearDistanceSquared, 0.0f);
  const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
      {0, kSymTriggerActorLoaded}, {1, kSymTriggerActorLoaded}, {1, kSymTriggerActorExistenceChanged}};
  EXPECT_EQ(events, expected);
}

// A damaged map file gives an error or a load, never a crash or an overrun.
TEST_F(MapBodyTest, DamagedMapFilesNeverCrashTheReader) {
  MapFixture f = Fixture(100790);
  f.isInterface = false;
  f.body.doors.resize(1);
  f.body.doors[0].x = 40;
  f.body.zones.resize(1);
  f.body.boundaries.resize(1);
  f.body.actors = {DesignActor(u"A", 1, 2, 3)};
  f.body.actors[0].variables.push_back({SymbolIntern(u"Health"), Variant::Long(3), 1, 0});
  f.body.pickUps.resize(1);
  f.body.lights.resize(1);
  f.body.lights[0].radius = 40;
  f.body.speakers.resize(1);
  f.body.spawns.resize(1);
  f.body.fields.resize(2);
  f.body.fields[1].parent = 0;
  f.body.fields[1].actions.resize(1);
  f.body.positionedTexts.resize(1);
  const ByteList whole = test::MapFileBytes(f);
  // The digest of the header guards current files: read them as the version
  // before it, whose payload starts after the version.
  ByteList unhashed(whole.begin() + 24, whole.end());
  MapFixture old = f;
  old.version = 100737;
  const ByteList oldFile = test::MapFileBytes(old);
  for (const ByteList* file : {&whole, &oldFile}) {
    for (std::size_t cut = 0; cut < file->size(); cut += 97) {
      ByteList bytes(file->begin(), file->begin() + static_cast<std::ptrdiff_t>(cut));
      try {
        LoadMap(bytes, u"Cut", -1, false);
      } catch (const KivError&) {
      }
    }
    ByteList flipped = *file;
    for (std::size_t i = 4; i < flipped.size(); i += 101) flipped[i] = static_cast<std::uint8_t>(~flipped[i]);
    try {
      LoadMap(flipped, u"Flipped", -1, false);
    } catch (const KivError&) {
    }
    for (std::size_t start = 4; start < 101 && start < file->size(); start += 7) {
      ByteList each = *file;
      for (std::size_t i = start; i < each.size(); i += 101) each[i] ^= 0xFF;
      try {
        LoadMap(each, u"Flipped", -1, false);
      } catch (const KivError&) {
      }
    }
  }
  SUCCEED();
}

}  // namespace
}  // namespace kiv
