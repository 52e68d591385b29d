#pragma once
// Writers of the object sections of a map body at any format version, from the
// records the readers fill, for reader tests, the whole-map writer and
// benchmarks. Each writes the layout of the given version (and with withState
// the run-time parts of saves); fields a version does not store are left out.
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "data/map_record.h"

namespace kiv::test {

struct ActorWriteOptions {
  // Last stored colour index per part (from 100765); stored colours beyond the
  // eighth get the value 0x7E7E7E00 + index.
  std::int32_t colorLast = 7;
  // Statistics stored in addition to the actor's, with identifiers no project has.
  std::int32_t unknownStatistics = 0;
  // Equipment entries stored for areas no project has.
  std::int32_t unknownEquipment = 0;
  // The stored equipment last index instead of the true one (-2: the true one).
  std::int32_t equipmentLastOverride = -2;
};

// The slot names of the parts are written as the texts of their symbols.
void WriteActorFixture(ByteList& b, std::int32_t& o, const Actor& actor, std::int32_t version, bool withState,
                       const ActorWriteOptions& options = {});
void WriteDoorFixture(ByteList& b, std::int32_t& o, const Door& door, std::int32_t version, bool isSave);
void WriteZoneFixture(ByteList& b, std::int32_t& o, const Zone& zone, std::int32_t version, bool isSave);
void WriteBoundaryFixture(ByteList& b, std::int32_t& o, const CollisionShape& shape, std::int32_t version);
void WritePickUpFixture(ByteList& b, std::int32_t& o, const PickUp& pickUp, std::int32_t version, bool withState);
void WriteLightFixture(ByteList& b, std::int32_t& o, const Light& light, std::int32_t version);
void WriteSpeakerFixture(ByteList& b, std::int32_t& o, const Speaker& speaker, std::int32_t version);
void WriteSpawnFixture(ByteList& b, std::int32_t& o, const Spawn& spawn, std::int32_t version, bool withState);
void WriteFieldFixture(ByteList& b, std::int32_t& o, const Field& field, std::int32_t version, bool withState);
void WritePositionedTextFixture(ByteList& b, std::int32_t& o, const PositionedText& text);
void WriteProjectileFixture(ByteList& b, std::int32_t& o, const Projectile& p);

// Old sections.
struct LegacyVehicleFixture {
  std::u16string name;
  std::uint8_t face = 0;
  std::int32_t color = 0, designInt = 0;
  float heading = 0.0f;
  std::uint8_t byte1 = 0, byte2 = 0;
  std::int32_t statisticValue = 0, statisticBase = 0;
  float gas = 0.0f, maxGas = 0.0f;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  Identifier spriteSetId, itemId;
};
void WriteLegacyVehicleFixture(ByteList& b, std::int32_t& o, const LegacyVehicleFixture& v, bool withState);

struct LegacyTurretFixture {
  std::u16string name;
  float heading = 0.0f;
  std::int32_t designValue = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  Identifier spriteSetId, itemId;
  std::int32_t vehicleValue = 0;
  float arcStart = -1.0f, arcEnd = -2.0f, turnRate = 0.0f;
  std::int16_t triState = 0;  // before 100495 written as a byte: 1 as 0, -1 as 1, 0 as 2
  std::uint8_t turretFlag = 1, vehicleFlag = 0;
  std::int32_t team = 0, range = 0;
};
void WriteLegacyTurretFixture(ByteList& b, std::int32_t& o, const LegacyTurretFixture& t, std::int32_t version,
                              bool withState);

struct LegacyDynamicObjectFixture {
  std::u16string name;
  Identifier spriteSetId;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::uint8_t flags = 0;
};
void WriteLegacyDynamicObjectFixture(ByteList& b, std::int32_t& o, const LegacyDynamicObjectFixture& d,
                                     bool isSave);

struct LegacyBlockFixture {
  std::int32_t x = 0, y = 0;
  std::uint8_t style = 0, variant = 0;
  std::int32_t topLayer = 0;
};
struct LegacyTilePlacementFixture {
  Identifier tileId;
  std::int32_t x = 0, y = 0;
};

// The objects of a body; the sections a version does not have are left out
// (and their lists ignored).
struct MapBodyFixture {
  std::vector<LegacyDynamicObjectFixture> dynamicObjects;  // before 100636
  std::vector<Door> doors;
  std::vector<Zone> zones;
  std::vector<CollisionShape> boundaries;
  std::vector<Actor> actors;
  std::vector<LegacyVehicleFixture> vehicles;            // before 100601
  std::vector<LegacyTilePlacementFixture> tilePlacements;  // before 100590
  std::vector<PickUp> pickUps;
  std::vector<Light> lights;
  std::vector<Speaker> speakers;        // from 100546
  std::vector<Projectile> projectiles;  // saves only
  std::vector<LegacyBlockFixture> blocks;    // before 100565
  std::vector<LegacyTurretFixture> turrets;  // before 100605
  std::vector<Spawn> spawns;
  std::vector<Field> fields;
  std::vector<PositionedText> positionedTexts;  // from 100751
};
void WriteMapBodyFixture(ByteList& b, std::int32_t& o, const MapBodyFixture& body, std::int32_t version,
                         bool isSave);

}  // namespace kiv::test
