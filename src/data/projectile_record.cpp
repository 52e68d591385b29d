#include "core/data_buffer.h"
#include "core/error.h"
#include "data/map_object_readers.h"
#include "data/set_lookups.h"
#include "data/sprite_instance.h"

namespace kiv {

void ReadProjectile(const ByteList& buffer, std::int32_t& offset, Map& map, std::int32_t index) {
  Projectile& p = map.projectiles.at(static_cast<std::size_t>(index));
  BufferRequire(buffer, offset, kProjectileRecordSize);
  p.x = BufferReadSingle(buffer, offset);
  p.y = BufferReadSingle(buffer, offset);
  p.z = BufferReadSingle(buffer, offset);
  p.heading = BufferReadSingle(buffer, offset);
  p.speed = BufferReadSingle(buffer, offset);
  p.item = BufferReadLong(buffer, offset);
  p.owner = BufferReadLong(buffer, offset);
  p.remainingRange = BufferReadSingle(buffer, offset);
  p.age = BufferReadLong(buffer, offset);
  p.currentZone = BufferReadLong(buffer, offset);
  p.spriteSet = BufferReadLong(buffer, offset);
  p.explosionSpriteSet = BufferReadLong(buffer, offset);
  p.kind = BufferReadByte(buffer, offset);
  // A byte kept in a 4-byte slot: only its first byte carries the value.
  p.damagePhase = static_cast<std::uint8_t>(BufferReadLong(buffer, offset) & 0xFF);
  p.damage = BufferReadLong(buffer, offset);
  p.damageInterval = BufferReadLong(buffer, offset);
  p.motionMode = BufferReadByte(buffer, offset);
  p.holdLastFrame = BufferReadByte(buffer, offset);
  p.specular = BufferReadLong(buffer, offset);
  p.scaleX = BufferReadSingle(buffer, offset);
  p.scaleY = BufferReadSingle(buffer, offset);
  p.scaleZ = BufferReadSingle(buffer, offset);
  p.triggered = BufferReadByte(buffer, offset);
  p.homingRange = BufferReadLong(buffer, offset);
  p.hitSound = BufferReadLong(buffer, offset);
  p.chargeTrigger = BufferReadByte(buffer, offset);
  p.turnRate = BufferReadSingle(buffer, offset);
  p.verticalSpeed = BufferReadSingle(buffer, offset);
  SetObjectSprite(p.sprite, p.spriteSet);
  // The shape comes from the sprite set; one that is not in the table is error 9.
  p.collisionShape = CollisionShape();
  if (p.spriteSet >= 0 && !SpriteSetFirstCollisionShape(p.spriteSet, p.collisionShape)) {
    RaiseError(kErrIndex, "Subscript out of range");
  }
}

}  // namespace kiv
