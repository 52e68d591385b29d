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
  p.weaponValue1 = BufferReadSingle(buffer, offset);
  p.launchValue1 = BufferReadLong(buffer, offset);
  p.launchValue2 = BufferReadLong(buffer, offset);
  p.weaponValue2 = BufferReadSingle(buffer, offset);
  p.value1 = BufferReadLong(buffer, offset);
  p.value2 = BufferReadLong(buffer, offset);
  p.spriteSet = BufferReadLong(buffer, offset);
  p.spriteSet2 = BufferReadLong(buffer, offset);
  p.byte1 = BufferReadByte(buffer, offset);
  // A byte kept in a 4-byte slot: only its first byte carries the value.
  p.weaponByte1 = static_cast<std::uint8_t>(BufferReadLong(buffer, offset) & 0xFF);
  p.value3 = BufferReadLong(buffer, offset);
  p.weaponValue3 = BufferReadLong(buffer, offset);
  p.weaponByte2 = BufferReadByte(buffer, offset);
  p.byte2 = BufferReadByte(buffer, offset);
  p.value4 = BufferReadLong(buffer, offset);
  p.scaleX = BufferReadSingle(buffer, offset);
  p.scaleY = BufferReadSingle(buffer, offset);
  p.scaleZ = BufferReadSingle(buffer, offset);
  p.byte3 = BufferReadByte(buffer, offset);
  p.value5 = BufferReadLong(buffer, offset);
  p.sound = BufferReadLong(buffer, offset);
  p.weaponByte3 = BufferReadByte(buffer, offset);
  p.value6 = BufferReadSingle(buffer, offset);
  p.weaponValue4 = BufferReadLong(buffer, offset);
  SetObjectSprite(p.sprite, p.spriteSet);
  // The shape comes from the sprite set; one that is not in the table is error 9.
  p.collisionShape = CollisionShape();
  if (p.spriteSet >= 0 && !SpriteSetFirstCollisionShape(p.spriteSet, p.collisionShape)) {
    RaiseError(kErrIndex, "Subscript out of range");
  }
}

}  // namespace kiv
