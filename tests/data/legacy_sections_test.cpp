// Old dynamic objects, vehicles and turrets become actors that take their
// placement and vehicle values from the sprite set they name.
#include "data/legacy_sections.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "core/data_buffer.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/map_object_settings.h"
#include "data/object_defaults.h"
#include "data/sprite_set.h"
#include "support/map_writer.h"
#include "support/sprite_set_writer.h"

namespace kiv {
namespace {

using test::MapFixture;

Identifier IdOf(std::uint8_t byte) {
  Identifier id;
  IdFill(id, byte);
  return id;
}

const Identifier kSpriteId = IdOf(0x31);

test::FrameGroupFixture Group(std::int32_t width, std::int32_t height) {
  test::FrameGroupFixture group;
  group.frames.resize(1);
  group.cellWidth = width;
  group.cellHeight = height;
  return group;
}

// A sprite set whose first usable direction (4 is empty, so 5) has a 40 x 48
// layer and no frames: its drawing offsets are -20 and -24. Direction 0, later
// in the search, is larger.
test::SpriteSetFixture DrawnSprite() {
  test::SpriteSetFixture s;
  s.id = kSpriteId;
  test::SpriteLayerFixture layer;
  layer.groups = {Group(40, 48)};
  s.poses[0].directions[5].layers = {layer};
  layer.groups = {Group(64, 64)};
  s.poses[0].directions[0].layers = {layer};
  return s;
}

// Block I of a sprite set: the value after the box, vehicle value 1, speed,
// vehicle values 2 and 3, and the value that defaults to 15.
std::array<std::uint8_t, 24> BlockI(std::int32_t afterBox, float value1, float speed, float value2,
                                    float value3, std::int32_t value15) {
  ByteList bytes;
  std::int32_t o = 0;
  BufferWriteLong(bytes, afterBox, o);
  for (float value : {value1, speed, value2, value3}) BufferWriteSingle(bytes, value, o);
  BufferWriteLong(bytes, value15, o);
  std::array<std::uint8_t, 24> block{};
  std::memcpy(block.data(), bytes.data(), block.size());
  return block;
}

class LegacySectionsTest : public ::testing::Test {
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

  static void AddSpriteSet(const test::SpriteSetFixture& fixture) {
    gameData.spriteSets.assign(1, SpriteSet());
    ReadSpriteSet(test::SpriteSetFileBytes(fixture), 0);
  }

  static MapFixture Fixture(std::int32_t version) {
    MapFixture f;
    f.version = version;
    f.width = 7;
    f.height = 7;
    const std::int32_t storedLayers = version >= 100563 ? 2 : 1;
    for (auto& group : f.groups) {
      group.slotGrid.assign(static_cast<std::size_t>(8 * 8 * storedLayers), 0);
      group.tileGrid.assign(group.slotGrid.size(), 0);
    }
    return f;
  }

  static const Map& Load(const MapFixture& fixture) {
    LoadMap(test::MapFileBytes(fixture), u"Old", -1, false);
    return gameData.maps[gameData.maps.LastIndex()];
  }
};

TEST_F(LegacySectionsTest, DynamicObjectFlagsPlaceTheActorBySpriteSet) {
  AddSpriteSet(DrawnSprite());
  struct Case {
    const char* what;
    Identifier spriteSetId;
    std::uint8_t flags;
    float x, y, z;
  };
  const Case cases[] = {
      {"no flags", kSpriteId, 0, 100, 200, 40},
      {"bit 0: drawing offsets taken off", kSpriteId, 1, 120, 224, 40},
      {"bit 1: on the floor", kSpriteId, 2, 100, 200, 0},
      {"both bits", kSpriteId, 3, 120, 224, 0},
      {"no sprite set: flags ignored", Identifier(), 3, 100, 200, 40},
      {"sprite set not found: flags ignored", IdOf(0x77), 3, 100, 200, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapFixture f = Fixture(100635);
    f.body.dynamicObjects = {{u"Rock", c.spriteSetId, 100, 200, 40, c.flags}};
    const Map& map = Load(f);
    ASSERT_EQ(map.actors.size(), 1u);
    const Actor& actor = map.actors[0];
    EXPECT_EQ(actor.name, u"Dynamic Object Rock");
    EXPECT_EQ(actor.x, c.x);
    EXPECT_EQ(actor.y, c.y);
    EXPECT_EQ(actor.z, c.z);
  }
}

// In an interface the object becomes a field; the flags place actors only.
TEST_F(LegacySectionsTest, DynamicObjectFlagsLeaveInterfaceFieldsInPlace) {
  AddSpriteSet(DrawnSprite());
  MapFixture f = Fixture(100635);
  f.isInterface = true;
  f.body.dynamicObjects = {{u"Rock", kSpriteId, 100, 200, 40, 3}};
  const Map& map = Load(f);
  ASSERT_EQ(map.fields.size(), 1u);
  EXPECT_EQ(map.fields[0].x, 100.0f);
  EXPECT_EQ(map.fields[0].y, 200.0f);
  EXPECT_EQ(map.fields[0].z, 40.0f);
  EXPECT_EQ(map.fields[0].spriteSet, 0);
}

TEST_F(LegacySectionsTest, VehicleTakesItsVehicleValuesFromTheSpriteSet) {
  test::SpriteSetFixture sprite = DrawnSprite();
  sprite.blockI = BlockI(40, 0.25f, 3.5f, 0.125f, 2.0f, 9);
  sprite.valueJ = 11;  // physics flags
  AddSpriteSet(sprite);
  MapFixture f = Fixture(100494);
  test::LegacyVehicleFixture vehicle;
  vehicle.name = u"Cart";
  vehicle.spriteSetId = kSpriteId;
  test::LegacyVehicleFixture plain;
  plain.name = u"Plain";
  f.body.vehicles = {vehicle, plain};
  const Map& map = Load(f);
  ASSERT_EQ(map.actors.size(), 2u);
  const Actor& cart = map.actors[0];
  EXPECT_EQ(cart.parts[0].spriteSet, 0);
  EXPECT_EQ(cart.vehicleValue1, 0.25f);
  EXPECT_EQ(cart.speed, 3.5f);
  EXPECT_EQ(cart.vehicleValue2, 0.125f);
  EXPECT_EQ(cart.vehicleValue3, 2.0f);
  EXPECT_EQ(cart.vehicleValue15, 9);
  EXPECT_EQ(cart.derivedValue1, 40.0f);
  EXPECT_EQ(cart.derivedValue2, 200.0f);
  EXPECT_EQ(cart.physicsFlags, 11);
  // Without a sprite set the default actor's values stay.
  const Actor& other = map.actors[1];
  EXPECT_EQ(other.vehicleValue1, objectDefaults.actor.vehicleValue1);
  EXPECT_EQ(other.vehicleValue15, objectDefaults.actor.vehicleValue15);
  EXPECT_EQ(other.physicsFlags, objectDefaults.actor.physicsFlags);
  EXPECT_NE(other.physicsFlags, 11);
}

TEST_F(LegacySectionsTest, TurretIsMovedByTheSpriteSetBox) {
  struct Case {
    const char* what;
    std::int32_t left, right, afterBox;
    float x, y;
  };
  const Case cases[] = {
      // (10 + 60) \ 32 = 2: 2 * 16 + 16 = 48; ceiling(40 / 16) * 16 = 48.
      {"positive box", 10, 60, 40, 148, 248},
      // (-100 - 20) \ 32 = -3 (toward zero): -48 + 16 = -32; ceiling(-2.5) * 16 = -32.
      {"negative box", -100, -20, -40, 68, 168},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::SpriteSetFixture sprite = DrawnSprite();
    sprite.valuesCtoH = {c.left, -5, c.right, 5, 0, 64};
    sprite.blockI = BlockI(c.afterBox, 0, 0, 0, 0, 0);
    AddSpriteSet(sprite);
    MapFixture f = Fixture(100604);
    test::LegacyTurretFixture turret;
    turret.name = u"Gun";
    turret.spriteSetId = kSpriteId;
    turret.x = 100;
    turret.y = 200;
    turret.z = 5;
    f.body.turrets = {turret};
    const Map& map = Load(f);
    ASSERT_EQ(map.actors.size(), 1u);
    EXPECT_EQ(map.actors[0].x, c.x);
    EXPECT_EQ(map.actors[0].y, c.y);
    EXPECT_EQ(map.actors[0].z, 5.0f);
  }
}

// The int the old turret stores lands in the float speed factor bit for bit.
TEST_F(LegacySectionsTest, TurretKeepsTheBitsOfItsDesignValue) {
  for (std::uint32_t bits : {0x3FC00000u, 7u, 0x7F800001u}) {  // 1.5, a tiny number, a NaN
    SCOPED_TRACE(bits);
    MapFixture f = Fixture(100604);
    test::LegacyTurretFixture turret;
    turret.name = u"Gun";
    turret.designValue = std::bit_cast<std::int32_t>(bits);
    f.body.turrets = {turret};
    const Map& map = Load(f);
    ASSERT_EQ(map.actors.size(), 1u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(map.actors[0].speedFactor), bits);
  }
}

// Tiles no longer carry the identifier an old placement names it by: each
// placement is read past and the map's lower-object layer stays empty.
TEST_F(LegacySectionsTest, OldTilePlacementsAreReadPastAndIgnored) {
  gameData.tileSets.resize(1);
  gameData.tileSets[0].id = IdOf(0x41);
  gameData.tileSets[0].tiles.resize(1);
  MapFixture f = Fixture(100589);
  f.body.tilePlacements = {{IdOf(0x41), 32, 32}, {IdOf(0x42), 64, 0}};
  PickUp pickUp;
  pickUp.x = 12;
  pickUp.money = 345;
  f.body.pickUps = {pickUp};
  const Map& map = Load(f);
  EXPECT_EQ(map.tileLayerGroups[1].slotCount, 0);
  for (std::uint8_t slot : map.tileLayerGroups[1].slotGrid.cells) EXPECT_EQ(slot, 0);
  ASSERT_EQ(map.pickUps.size(), 1u);
  EXPECT_EQ(map.pickUps[0].x, 12.0f);
  EXPECT_EQ(map.pickUps[0].money, 345);
}

}  // namespace
}  // namespace kiv
