// Doors, lights, zones, spawns and speakers of a map seen from scripts: the
// clamps and side effects of each identifier, and references kept past their
// object.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "data/door_fields.h"
#include "data/game_data.h"
#include "media/sound_sets.h"
#include "object_kind_fixture.h"
#include "player/character_fields.h"
#include "world/actor_shapes.h"

namespace kiv::test {
namespace {

class MapObjectPropertiesTest : public ObjectKindTest {
 protected:
  void SetUp() override {
    ObjectKindTest::SetUp();
    Map& map = gameData.maps[0];
    map.fileName = u"Town";
    Door& door = map.doors.emplace_back();
    door.name = u"Gate";
    door.openStyle = 1;
    Light& light = map.lights.emplace_back();
    light.name = u"Lamp";
    light.x = 200, light.y = 200;
    light.radius = 50;
    light.red = 100, light.green = 100, light.blue = 100;
    Zone& zone = map.zones.emplace_back();
    zone.name = u"Square";
    zone.shape.rectangles.push_back(CollisionBox{10, 20, 30, 40, -5, 50, {}});
    Spawn& spawn = map.spawns.emplace_back();
    spawn.name = u"Nest";
    map.speakers.emplace_back();
  }
  void TearDown() override {
    soundSets.clear();
    ObjectKindTest::TearDown();
  }

  Map& TheMap() { return gameData.maps[0]; }
  ScriptValue Set(ObjectKindEntry entry, std::int32_t kind, const std::u16string& name, const Variant& value,
                  std::int32_t index = 0) {
    return Assign(entry, kind, index, name, value, {}, 0);
  }
  Variant Get(ObjectKindEntry entry, std::int32_t kind, const std::u16string& name,
              const std::vector<Variant>& arguments = {}, std::int32_t index = 0) {
    return Read(entry, kind, index, name, arguments, 0);
  }
};

TEST_F(MapObjectPropertiesTest, DoorOpeningClampsAndRebuildsTheShape) {
  Door& door = TheMap().doors[0];
  BuildDoorCollisionShape(0, 0, 0.0f, door.collisionShape);
  ASSERT_FALSE(door.collisionShape.rectangles.empty());
  Set(RunDoorProperty, kObjectDoor, u"OpenAmount", Variant::Long(5));
  EXPECT_EQ(door.openAmount, 1.0f);
  EXPECT_TRUE(door.collisionShape.rectangles.empty());  // a door fully open blocks nothing
  Set(RunDoorProperty, kObjectDoor, u"OpenAmount", Variant::Double(0.5));
  CollisionShape half;
  BuildDoorCollisionShape(0, 0, 0.5f, half);
  EXPECT_EQ(door.collisionShape, half);

  Set(RunDoorProperty, kObjectDoor, u"OpenFuture", Variant::Long(-3));
  EXPECT_EQ(DoorSwing(door), -1.0f);
  Set(RunDoorProperty, kObjectDoor, u"OpenAmount", Variant::Double(-0.25));
  EXPECT_EQ(Get(RunDoorProperty, kObjectDoor, u"OpenAmount"), Variant::Single(-0.25f));

  Set(RunDoorProperty, kObjectDoor, u"OpenStyle", Variant::Text(u"squeeze up"));
  EXPECT_EQ(door.openStyle, 8);
  EXPECT_EQ(door.openAmount, -0.25f);
  Set(RunDoorProperty, kObjectDoor, u"OpenStyle", Variant::Text(u"none"));
  EXPECT_EQ(door.openStyle, 0);
  EXPECT_EQ(door.openAmount, 0.0f);
  EXPECT_EQ(DoorSwing(door), 0.0f);
  CollisionShape closed;
  BuildDoorCollisionShape(0, 0, 0.0f, closed);
  EXPECT_EQ(door.collisionShape, closed);
  EXPECT_EQ(Get(RunDoorProperty, kObjectDoor, u"OpenStyle"), Variant::Byte(0));
  EXPECT_NE(Raised([&] { Set(RunDoorProperty, kObjectDoor, u"OpenStyle", Variant::Text(u"sideways")); }),
            "no error");
}

TEST_F(MapObjectPropertiesTest, DoorLookIsTheStoredFieldsDrawingReads) {
  struct Case {
    const char16_t* identifier;
    Variant value;
    std::function<std::int64_t(Door&)> stored;
    std::int64_t expected;
  } cases[] = {
      {u"TileX", Variant::Long(9), [](Door& d) { return DoorTileX(d); }, 7},
      {u"TileX", Variant::Long(-2), [](Door& d) { return DoorTileX(d); }, 0},
      {u"TileY", Variant::Long(3), [](Door& d) { return DoorTileY(d); }, 3},
      {u"Color", Variant::Long(0x112233), [](Door& d) { return DoorColour(d); }, 0x112233},
      {u"Specular", Variant::Long(-1), [](Door& d) { return DoorSpecular(d); }, -1},
      {u"ShadowColor", Variant::Long(0x40000000), [](Door& d) { return DoorShadowColour(d); }, 0x40000000},
      {u"Shadow", Variant::Text(u"on"), [](Door& d) { return DoorCastsShadow(d); }, 1},
      {u"Face", Variant::Text(u"yes"), [](Door& d) { return DoorFace(d); }, 1},
      {u"NoDraw", Variant::Long(5), [](Door& d) { return DoorNoDraw(d); }, 1},
      {u"NoRect", Variant::Text(u"true"), [](Door& d) { return d.Inactive(); }, 1},
      {u"X", Variant::Double(-12.5), [](Door& d) { return static_cast<std::int64_t>(d.x * 10); }, -125},
  };
  for (const Case& c : cases) {
    Set(RunDoorProperty, kObjectDoor, c.identifier, c.value);
    EXPECT_EQ(c.stored(TheMap().doors[0]), c.expected) << Utf16ToUtf8(c.identifier);
  }
  EXPECT_EQ(Get(RunDoorProperty, kObjectDoor, u"TileY"), Variant::Byte(3));
  EXPECT_EQ(Get(RunDoorProperty, kObjectDoor, u"Shadow"), Variant::Byte(1));
}

TEST_F(MapObjectPropertiesTest, NamesFullNamesAndIdentifiersAKindLacks) {
  EXPECT_EQ(Get(RunDoorProperty, kObjectDoor, u"FullName"), Variant::Text(u"|Town:Gate"));
  EXPECT_EQ(Get(RunZoneProperty, kObjectZone, u"FullName"), Variant::Text(u"|Town:Square"));
  for (const ObjectKindEntry entry : {RunDoorProperty, RunZoneProperty}) {
    const std::int32_t kind = entry == RunDoorProperty ? kObjectDoor : kObjectZone;
    EXPECT_EQ(Raised([&] { Set(entry, kind, u"FullName", Variant::Text(u"x")); }),
              "-1 You cannot change the full name of something.");
    // Doors and zones have no Title: it does nothing.
    EXPECT_TRUE(Get(entry, kind, u"Title").IsEmpty());
    EXPECT_EQ(Raised([&] { Set(entry, kind, u"Title", Variant::Text(u"x")); }), "no error");
  }
  EXPECT_TRUE(Get(RunSpeakerProperty, kObjectSpeaker, u"Name").IsEmpty());
  Set(RunDoorProperty, kObjectDoor, u"Name", Variant::Text(u"Back gate"));
  Set(RunLightProperty, kObjectLight, u"Title", Variant::Text(u"Street lamp"));
  EXPECT_EQ(TheMap().doors[0].name, u"Back gate");
  EXPECT_EQ(TheMap().lights[0].displayName, u"Street lamp");
  EXPECT_TRUE(TheMap().zones[0].displayName.empty());
}

TEST_F(MapObjectPropertiesTest, LightColourDropsSmallChangesAndReadsWithFullAlpha) {
  struct Case {
    std::int32_t assigned;
    std::uint8_t red, green, blue;
  } cases[] = {
      {0x686464, 100, 100, 100},  // (4, 0, 0): 16, dropped
      {0x666666, 100, 100, 100},  // (2, 2, 2): 12, dropped
      {0x676764, 100, 100, 100},  // (3, 3, 0): 18, dropped
      {0x696464, 105, 100, 100},  // (5, 0, 0): 25, kept
      {0x0000FF, 0, 0, 255},
      {0x00FFFF, 0, 255, 255},
  };
  for (const Case& c : cases) {
    Set(RunLightProperty, kObjectLight, u"Color", Variant::Long(c.assigned));
    const Light& light = TheMap().lights[0];
    EXPECT_EQ(light.red, c.red) << std::hex << c.assigned;
    EXPECT_EQ(light.green, c.green) << std::hex << c.assigned;
    EXPECT_EQ(light.blue, c.blue) << std::hex << c.assigned;
  }
  const Variant read = Get(RunLightProperty, kObjectLight, u"Color");
  EXPECT_EQ(read, Variant::Long(static_cast<std::int32_t>(0xFF00FFFFu)));
  EXPECT_LT(read.AsLong(), 0);
}

TEST_F(MapObjectPropertiesTest, LightOnAndRadius) {
  Map& map = TheMap();
  map.sectorGrid.columns = 8, map.sectorGrid.rows = 8, map.sectorGrid.levels = 1;
  map.sectorGrid.cells.resize(64);
  auto cellsHolding = [&] {
    std::int32_t count = 0;
    for (SectorCell& cell : map.sectorGrid.cells) count += std::count(cell.lights.begin(), cell.lights.end(), 0) > 0;
    return count;
  };

  Set(RunLightProperty, kObjectLight, u"On", Variant::Long(2));
  EXPECT_EQ(map.lights[0].enabled, 2);
  EXPECT_EQ(Get(RunLightProperty, kObjectLight, u"On"), Variant::Byte(2));

  // On: the radius moves the light's sector entries and its reach.
  Set(RunLightProperty, kObjectLight, u"Radius", Variant::Long(100));
  EXPECT_EQ(map.lights[0].radius, 100);
  EXPECT_EQ(map.lights[0].enabled, 2);
  EXPECT_EQ(map.lights[0].nearestBlockedSquared, 10001.0f);
  EXPECT_GE(map.lights[0].clearDistanceSquared, 10001.0f);
  EXPECT_EQ(cellsHolding(), 9);  // x and y 100..300: cells 0..2
  Set(RunLightProperty, kObjectLight, u"Radius", Variant::Long(10));
  EXPECT_EQ(cellsHolding(), 1);
  EXPECT_EQ(map.lights[0].nearestBlockedSquared, 101.0f);

  // The same radius again changes nothing, not even a reach set elsewhere.
  map.lights[0].nearestBlockedSquared = 7.0f;
  Set(RunLightProperty, kObjectLight, u"Radius", Variant::Long(10));
  EXPECT_EQ(map.lights[0].nearestBlockedSquared, 7.0f);

  Set(RunLightProperty, kObjectLight, u"Radius", Variant::Long(0));
  EXPECT_EQ(map.lights[0].radius, 1);
  Set(RunLightProperty, kObjectLight, u"Radius", Variant::Long(-40));
  EXPECT_EQ(map.lights[0].radius, 1);

  // Off: the radius is only stored.
  Set(RunLightProperty, kObjectLight, u"On", Variant::Text(u"0"));
  EXPECT_EQ(map.lights[0].enabled, 0);
  const float reach = map.lights[0].nearestBlockedSquared;
  Set(RunLightProperty, kObjectLight, u"Radius", Variant::Long(60));
  EXPECT_EQ(map.lights[0].radius, 60);
  EXPECT_EQ(map.lights[0].nearestBlockedSquared, reach);
  EXPECT_EQ(Raised([&] { Set(RunLightProperty, kObjectLight, u"On", Variant::Long(256)); }).substr(0, 2), "6 ");
}

TEST_F(MapObjectPropertiesTest, LightAndSpeakerMovesAndDeletingALight) {
  Get(RunLightProperty, kObjectLight, u"Position", {Variant::Text(u"Town"), Variant::Long(64), Variant::Double(96.5),
                                                     Variant::Long(8)});
  const Light& light = TheMap().lights[0];
  EXPECT_EQ(std::vector<float>({light.x, light.y, light.z}), std::vector<float>({64.0f, 96.5f, 8.0f}));
  Get(RunSpeakerProperty, kObjectSpeaker, u"Position", {Variant::Text(u"Town"), Variant::Long(1), Variant::Long(2),
                                                         Variant::Long(3)});
  const Speaker& speaker = TheMap().speakers[0];
  EXPECT_EQ(std::vector<float>({speaker.x, speaker.y, speaker.z}), std::vector<float>({1.0f, 2.0f, 3.0f}));
  EXPECT_NE(Raised([&] { Get(RunLightProperty, kObjectLight, u"Position", Texts({u"Nowhere", u"1", u"2", u"3"})); }),
            "no error");

  TheMap().lights[0].enabled = 1;
  Get(RunLightProperty, kObjectLight, u"Delete");
  ASSERT_EQ(TheMap().lights.size(), 1u);
  EXPECT_EQ(TheMap().lights[0].enabled, 0);
  EXPECT_EQ(TheMap().lights[0].name, u"");
}

TEST_F(MapObjectPropertiesTest, ZoneSidesAndPositionMarkTheZoneChanged) {
  Zone& zone = TheMap().zones[0];
  struct Case {
    const char16_t* side;
    std::int32_t CollisionBox::*field;
  } sides[] = {
      {u"Left", &CollisionBox::left},   {u"Top", &CollisionBox::top},     {u"Right", &CollisionBox::right},
      {u"Bottom", &CollisionBox::bottom}, {u"Floor", &CollisionBox::front}, {u"Ceiling", &CollisionBox::back},
  };
  std::int32_t value = -100000;
  for (const Case& c : sides) {
    ZoneMoved(zone) = 0;
    Set(RunZoneProperty, kObjectZone, c.side, Variant::Long(value));
    EXPECT_EQ(zone.shape.rectangles[0].*c.field, value) << Utf16ToUtf8(c.side);
    EXPECT_EQ(Get(RunZoneProperty, kObjectZone, c.side), Variant::Long(value));
    EXPECT_EQ(ZoneMoved(zone), 1) << Utf16ToUtf8(c.side);
    value += 33333;
  }
  ZoneMoved(zone) = 0;
  Get(RunZoneProperty, kObjectZone, u"Position", Longs({1, 2, 3, 4}));
  EXPECT_EQ(zone.shape.rectangles[0], (CollisionBox{1, 2, 3, 4, 33332, 66665, {}}));
  EXPECT_EQ(ZoneMoved(zone), 1);
  Get(RunZoneProperty, kObjectZone, u"Position", Longs({5, 6, 7, 8, -9, 10}));
  EXPECT_EQ(zone.shape.rectangles[0], (CollisionBox{5, 6, 7, 8, -9, 10, {}}));
  Set(RunZoneProperty, kObjectZone, u"Block", Variant::Text(u"on"));
  EXPECT_EQ(zone.Blocking(), 1);

  zone.shape.rectangles.clear();
  EXPECT_EQ(Raised([&] { Get(RunZoneProperty, kObjectZone, u"Left"); }).substr(0, 2), "9 ");
}

TEST_F(MapObjectPropertiesTest, ZoneDeleteLetsEveryActorLeaveAndEmptiesTheZoneInPlace) {
  Map& map = TheMap();
  map.zones.emplace_back().name = u"Well";
  Trigger left;
  left.event = kEventZoneLeftActor;
  left.script = MakeScript(u"Mark(1)");
  map.zones[0].triggers.push_back(left);
  for (const char16_t* name : {u"Ann", u"Bob", u"Cid"}) map.actors.emplace_back().name = name;
  TouchingZones(map.actors[0]).push_back({0, 0});
  TouchingZones(map.actors[2]).push_back({1, 0});
  TouchingZones(map.actors[2]).push_back({0, 0});
  map.zones[0].Blocking() = 1;

  Get(RunZoneProperty, kObjectZone, u"Delete");
  ASSERT_EQ(map.zones.size(), 2u);
  EXPECT_EQ(map.zones[0].name, u"");
  EXPECT_EQ(map.zones[0].Blocking(), 0);
  EXPECT_EQ(map.zones[0].Disabled(), 1);
  EXPECT_EQ(map.zones[1].name, u"Well");
  EXPECT_TRUE(TouchingZones(map.actors[0]).empty());
  ASSERT_EQ(TouchingZones(map.actors[2]).size(), 1u);
  EXPECT_EQ(TouchingZones(map.actors[2])[0].first, 1);
  EXPECT_EQ(Marks().size(), 2u);
}

TEST_F(MapObjectPropertiesTest, SpawnCountersClampAtZeroAndChildrenAreReadOnly) {
  struct Case {
    const char16_t* identifier;
    std::int32_t Spawn::*field;
  } counters[] = {
      {u"Delay", &Spawn::delay},         {u"Interval", &Spawn::interval}, {u"Count", &Spawn::count},
      {u"Proximity", &Spawn::proximity}, {u"Simultaneous", &Spawn::simultaneous},
      {u"Born", &Spawn::born},           {u"Died", &Spawn::died},         {u"Time", &Spawn::time},
  };
  Spawn& spawn = TheMap().spawns[0];
  for (const Case& c : counters) {
    Set(RunSpawnProperty, kObjectSpawn, c.identifier, Variant::Long(-10));
    EXPECT_EQ(spawn.*c.field, 0) << Utf16ToUtf8(c.identifier);
    Set(RunSpawnProperty, kObjectSpawn, c.identifier, Variant::Long(2000000000));
    EXPECT_EQ(spawn.*c.field, 2000000000) << Utf16ToUtf8(c.identifier);
  }
  Set(RunSpawnProperty, kObjectSpawn, u"X", Variant::Long(-10));
  EXPECT_EQ(spawn.x, -10.0f);
  Get(RunSpawnProperty, kObjectSpawn, u"Reset");
  EXPECT_EQ(spawn.time, 0);
  EXPECT_EQ(spawn.born, 0);
  EXPECT_EQ(spawn.died, 0);
  EXPECT_EQ(spawn.count, 2000000000);

  EXPECT_EQ(Get(RunSpawnProperty, kObjectSpawn, u"ChildActor"), Variant::Text(u""));
  EXPECT_EQ(Get(RunSpawnProperty, kObjectSpawn, u"Child"), Variant::Text(u""));
  TheMap().actors.emplace_back().name = u"Character 12";
  TheMap().spawns[0].linkedActor = 0;
  EXPECT_EQ(Get(RunSpawnProperty, kObjectSpawn, u"Child"), Variant::Text(u"12"));
  EXPECT_EQ(Get(RunSpawnProperty, kObjectSpawn, u"ChildActor"), Variant::Text(u"|Town:Character 12"));
  for (const char16_t* child : {u"Child", u"ChildActor"}) {
    EXPECT_EQ(Raised([&] { Set(RunSpawnProperty, kObjectSpawn, child, Variant::Text(u"x")); }),
              "-1 You cannot change the child of the spawn. This was attempted on spawn \"Nest\".");
  }
  TheMap().actors[0].name = u"Guard";
  EXPECT_NE(Raised([&] { Get(RunSpawnProperty, kObjectSpawn, u"Child"); }), "no error");
  TheMap().spawns[0].linkedActor = 1;  // past the list
  EXPECT_EQ(Raised([&] { Get(RunSpawnProperty, kObjectSpawn, u"ChildActor"); }).substr(0, 2), "9 ");
}

TEST_F(MapObjectPropertiesTest, SpeakerOnSoundAndRadius) {
  soundSets.resize(2);
  soundSets[0].name = u"Birds";
  soundSets[1].name = u"Rain";
  Speaker& speaker = TheMap().speakers[0];
  EXPECT_EQ(Get(RunSpeakerProperty, kObjectSpeaker, u"Sound"), Variant::Text(u""));
  Set(RunSpeakerProperty, kObjectSpeaker, u"Sound", Variant::Text(u"Rain"));
  EXPECT_EQ(speaker.soundSet, 1);
  EXPECT_EQ(Get(RunSpeakerProperty, kObjectSpeaker, u"Sound"), Variant::Text(u"Rain"));
  EXPECT_NE(Raised([&] { Set(RunSpeakerProperty, kObjectSpeaker, u"Sound", Variant::Text(u"Wind")); }), "no error");
  EXPECT_EQ(speaker.soundSet, 1);
  Set(RunSpeakerProperty, kObjectSpeaker, u"On", Variant::Long(1));
  EXPECT_EQ(speaker.enabled, 1);
  Set(RunSpeakerProperty, kObjectSpeaker, u"Radius", Variant::Long(300));
  EXPECT_EQ(Get(RunSpeakerProperty, kObjectSpeaker, u"Radius"), Variant::Long(300));
  EXPECT_EQ(Get(RunSpeakerProperty, kObjectSpeaker, u"On"), Variant::Byte(1));
}

TEST_F(MapObjectPropertiesTest, ReferencesPastTheirListOrMapAreErrorNine) {
  struct Case {
    ObjectKindEntry entry;
    std::int32_t kind;
    const char16_t* identifier;
  } cases[] = {
      {RunDoorProperty, kObjectDoor, u"Name"},     {RunLightProperty, kObjectLight, u"Name"},
      {RunZoneProperty, kObjectZone, u"Name"},     {RunSpawnProperty, kObjectSpawn, u"X"},
      {RunSpeakerProperty, kObjectSpeaker, u"On"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Raised([&] { Read(c.entry, c.kind, 1, c.identifier, {}, 0); }).substr(0, 2), "9 ");
    EXPECT_EQ(Raised([&] { Read(c.entry, c.kind, 0, c.identifier, {}, 5); }).substr(0, 2), "9 ");
  }
}

}  // namespace
}  // namespace kiv::test
