// A projectile's named fields survive the save writer and the save reader
// with the values the test gave them, and sit at the byte offsets of the
// 97-byte record.
#include <gtest/gtest.h>

#include <cstring>

#include "core/data_buffer.h"
#include "data/map_object_readers.h"
#include "data/map_objects.h"
#include "data/map_record.h"
#include "state/object_writers.h"

namespace kiv {
namespace {

Projectile Launched() {
  Projectile p;
  p.x = 10.5f, p.y = -20.25f, p.z = 3.0f, p.heading = 1.25f;
  p.speed = 0.75f, p.item = 4, p.owner = 12, p.remainingRange = 320.0f, p.age = 1500;
  p.currentZone = 2, p.spriteSet = -1, p.explosionSpriteSet = 7;
  p.kind = kProjectileCharge, p.damagePhase = 2, p.damage = 35, p.damageInterval = 500;
  p.motionMode = 1, p.holdLastFrame = 1, p.specular = static_cast<std::int32_t>(0x80402010u);
  p.scaleX = 1.5f, p.scaleY = 0.5f, p.scaleZ = 2.0f;
  p.triggered = 2, p.homingRange = 256, p.hitSound = 9, p.chargeTrigger = 3;
  p.turnRate = 0.002f, p.verticalSpeed = -0.125f;
  p.link = 5;
  return p;
}

std::int32_t LongAt(const ByteList& b, std::int32_t at) { return BufferReadLong(b, at); }
float SingleAt(const ByteList& b, std::int32_t at) { return BufferReadSingle(b, at); }

TEST(ProjectileSaveTest, NamedFieldsKeepTheirValuesAndSlots) {
  Map map;
  map.projectiles.push_back(Launched());
  ByteList bytes;
  std::int32_t o = 0;
  WriteProjectile(map, bytes, o, 0);
  ASSERT_EQ(o, kProjectileRecordSize);

  // Slots by byte offset: the float slots, the launch Longs, the 4-byte byte slot.
  EXPECT_EQ(SingleAt(bytes, 16), 0.75f) << "speed, slot 5";
  EXPECT_EQ(LongAt(bytes, 20), 4) << "item, slot 6";
  EXPECT_EQ(LongAt(bytes, 24), 12) << "owner, slot 7";
  EXPECT_EQ(SingleAt(bytes, 28), 320.0f) << "remaining range, slot 8";
  EXPECT_EQ(LongAt(bytes, 36), 2) << "current zone, slot 10";
  EXPECT_EQ(bytes[48], kProjectileCharge) << "kind, slot 13";
  EXPECT_EQ(LongAt(bytes, 49), 2) << "damage phase and three zero filler bytes, slot 14";
  EXPECT_EQ(bytes[61], 1) << "motion mode, slot 17";
  EXPECT_EQ(bytes[62], 1) << "hold, slot 18";
  EXPECT_EQ(bytes[79], 2) << "triggered, slot 23";
  EXPECT_EQ(bytes[88], 3) << "charge trigger, slot 26";
  EXPECT_EQ(SingleAt(bytes, 89), 0.002f) << "turn rate, slot 27";
  EXPECT_EQ(SingleAt(bytes, 93), -0.125f) << "vertical speed, slot 28";

  Map back;
  back.projectiles.resize(1);
  std::int32_t at = 0;
  ReadProjectile(bytes, at, back, 0);
  ASSERT_EQ(at, kProjectileRecordSize);
  const Projectile& r = back.projectiles[0];
  const Projectile want = Launched();
  EXPECT_EQ(r.x, want.x);
  EXPECT_EQ(r.y, want.y);
  EXPECT_EQ(r.z, want.z);
  EXPECT_EQ(r.heading, want.heading);
  EXPECT_EQ(r.speed, want.speed);
  EXPECT_EQ(r.item, want.item);
  EXPECT_EQ(r.owner, want.owner);
  EXPECT_EQ(r.remainingRange, want.remainingRange);
  EXPECT_EQ(r.age, want.age);
  EXPECT_EQ(r.currentZone, want.currentZone);
  EXPECT_EQ(r.spriteSet, want.spriteSet);
  EXPECT_EQ(r.explosionSpriteSet, want.explosionSpriteSet);
  EXPECT_EQ(r.kind, want.kind);
  EXPECT_EQ(r.damagePhase, want.damagePhase);
  EXPECT_EQ(r.damage, want.damage);
  EXPECT_EQ(r.damageInterval, want.damageInterval);
  EXPECT_EQ(r.motionMode, want.motionMode);
  EXPECT_EQ(r.holdLastFrame, want.holdLastFrame);
  EXPECT_EQ(r.specular, want.specular);
  EXPECT_EQ(r.scaleX, want.scaleX);
  EXPECT_EQ(r.scaleY, want.scaleY);
  EXPECT_EQ(r.scaleZ, want.scaleZ);
  EXPECT_EQ(r.triggered, want.triggered);
  EXPECT_EQ(r.homingRange, want.homingRange);
  EXPECT_EQ(r.hitSound, want.hitSound);
  EXPECT_EQ(r.chargeTrigger, want.chargeTrigger);
  EXPECT_EQ(r.turnRate, want.turnRate);
  EXPECT_EQ(r.verticalSpeed, want.verticalSpeed);
  EXPECT_EQ(r.link, -1) << "the link is not stored";
}

TEST(ProjectileSaveTest, WeaponCodeNamesReachTheSameBytes) {
  Projectile p;
  ProjectileSubKind(p) = 2;
  ProjectileStandToFire(p) = 1;
  ProjectileKindFlag(p) = 3;
  EXPECT_EQ(p.damagePhase, 2);
  EXPECT_EQ(p.motionMode, 1);
  EXPECT_EQ(p.chargeTrigger, 3);
}

TEST(ProjectileSaveTest, SmallestNegativeVerticalSpeedKeepsItsBits) {
  Map map;
  Projectile p;
  std::uint32_t bits = 0x80000001u;
  std::memcpy(&p.verticalSpeed, &bits, sizeof bits);
  map.projectiles.push_back(p);
  ByteList bytes;
  std::int32_t o = 0;
  WriteProjectile(map, bytes, o, 0);
  Map back;
  back.projectiles.resize(1);
  std::int32_t at = 0;
  ReadProjectile(bytes, at, back, 0);
  std::uint32_t read = 0;
  std::memcpy(&read, &back.projectiles[0].verticalSpeed, sizeof read);
  EXPECT_EQ(read, 0x80000001u);
}

}  // namespace
}  // namespace kiv
