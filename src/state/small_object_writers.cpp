// Doors, zones, boundaries, pick-ups, lights, speakers, spawns, positioned
// texts and projectiles.
#include "core/data_buffer.h"
#include "data/script_codec.h"
#include "state/object_writers.h"
#include "state/save_references.h"

namespace kiv {

namespace {

// The ten door scripts in file order.
constexpr std::size_t kDoorScriptOrder[] = {0, 4, 5, 6, 7, 8, 9, 1, 2, 3};

void WriteNamedHead(ByteList& buffer, std::int32_t& offset, const std::u16string& name,
                    const std::u16string& displayName) {
  BufferWriteString(buffer, name, offset);
  BufferWriteString(buffer, displayName, offset);
}

void WriteTarget(ByteList& buffer, std::int32_t& offset, const MapTarget& target,
                 const std::array<std::int32_t, 2>& values) {
  BufferWriteString(buffer, target.name, offset);
  BufferWriteLong(buffer, values[0], offset);
  BufferWriteLong(buffer, values[1], offset);
}

void WriteFirstRectangle(ByteList& buffer, std::int32_t& offset, const CollisionShape& shape) {
  const CollisionBox box = shape.rectangles.empty() ? CollisionBox() : shape.rectangles[0];
  for (std::int32_t value : {box.left, box.top, box.right, box.bottom, box.front, box.back})
    BufferWriteLong(buffer, value, offset);
}

}  // namespace

void WriteDoor(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave) {
  Door& door = map.doors.at(static_cast<std::size_t>(index));
  WriteNamedHead(buffer, offset, door.name, door.displayName);
  BufferWriteByte(buffer, door.byte1, offset);
  BufferWriteLong(buffer, door.value1, offset);
  BufferWriteLong(buffer, door.value2, offset);
  BufferWriteByte(buffer, door.byte2, offset);
  BufferWriteByte(buffer, door.byte3, offset);
  BufferWriteSingle(buffer, door.openAmount, offset);
  if (isSave) BufferWriteSingle(buffer, door.openAmount2, offset);
  BufferWriteByte(buffer, door.openStyle, offset);
  BufferWriteSingle(buffer, door.x, offset);
  BufferWriteSingle(buffer, door.y, offset);
  BufferWriteSingle(buffer, door.z, offset);
  BufferWriteByte(buffer, door.byte4, offset);
  BufferWriteLong(buffer, door.value3, offset);
  BufferWriteLong(buffer, door.value4, offset);
  WriteReference(buffer, offset, SaveTable::kDoorSet, door.doorSet, door.doorSetId);
  BufferWriteByte(buffer, door.byte5, offset);
  BufferWriteByte(buffer, door.byte6, offset);
  WriteTarget(buffer, offset, door.target, door.targetValues);
  BufferWriteLong(buffer, door.value5, offset);
  for (std::size_t slot : kDoorScriptOrder) SerializeScript(buffer, offset, door.scripts[slot], isSave);
  BufferWriteByte(buffer, door.byte7, offset);
  BufferWriteByte(buffer, door.byte8, offset);
  BufferWriteString(buffer, door.text, offset);
  WriteReference(buffer, offset, SaveTable::kItem, door.item, door.itemId);
  BufferWriteLong(buffer, door.value6, offset);
  if (isSave) BufferWriteLong(buffer, door.value7, offset);
}

void WriteZone(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave) {
  Zone& zone = map.zones.at(static_cast<std::size_t>(index));
  WriteNamedHead(buffer, offset, zone.name, zone.displayName);
  WriteFirstRectangle(buffer, offset, zone.shape);
  BufferWriteByte(buffer, zone.byte1, offset);
  WriteTarget(buffer, offset, zone.target, zone.targetValues);
  BufferWriteLong(buffer, zone.value1, offset);
  BufferWriteByte(buffer, zone.byte2, offset);
  BufferWriteLastIndex(buffer, zone.templateFlags.size(), offset);
  for (const TemplateFlag& entry : zone.templateFlags) {
    BufferWriteIdentifier(buffer, entry.id, offset);
    BufferWriteByte(buffer, entry.flag, offset);
  }
  WriteEventList(buffer, offset, zone.triggers, isSave);
  if (isSave) BufferWriteByte(buffer, zone.saveByte, offset);
}

void WriteBoundary(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  WriteFirstRectangle(buffer, offset, map.boundaries.at(static_cast<std::size_t>(index)));
}

void WritePickUp(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave) {
  const PickUp& pickUp = map.pickUps.at(static_cast<std::size_t>(index));
  BufferWriteSingle(buffer, pickUp.x, offset);
  BufferWriteSingle(buffer, pickUp.y, offset);
  BufferWriteSingle(buffer, pickUp.z, offset);
  BufferWriteByte(buffer, pickUp.flag1, offset);
  BufferWriteLong(buffer, pickUp.values1[0], offset);
  BufferWriteLong(buffer, pickUp.values1[1], offset);
  // The colour's most significant byte (alpha) first.
  for (int shift = 24; shift >= 0; shift -= 8)
    BufferWriteByte(buffer, static_cast<std::uint8_t>(pickUp.color >> shift), offset);
  BufferWriteByte(buffer, pickUp.flag2, offset);
  BufferWriteLong(buffer, pickUp.values2[0], offset);
  BufferWriteLong(buffer, pickUp.values2[1], offset);
  WriteReference(buffer, offset, SaveTable::kSpriteSet, pickUp.spriteSet, pickUp.spriteSetId);
  WriteReference(buffer, offset, SaveTable::kItem, pickUp.items[0].item, pickUp.items[0].itemId);
  BufferWriteLong(buffer, pickUp.items[0].quantity, offset);
  BufferWriteLong(buffer, pickUp.items[1].quantity, offset);
  BufferWriteLong(buffer, pickUp.respawnTime, offset);
  BufferWriteBytes(buffer, &pickUp.money, 8, offset);
  BufferWriteLong(buffer, pickUp.values3[0], offset);
  BufferWriteLong(buffer, pickUp.values3[1], offset);
  if (isSave) {
    BufferWriteLong(buffer, pickUp.respawnCountdown, offset);
    BufferWriteLong(buffer, pickUp.runValue, offset);
  }
}

void WriteLight(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  const Light& light = map.lights.at(static_cast<std::size_t>(index));
  WriteNamedHead(buffer, offset, light.name, light.displayName);
  BufferWriteByte(buffer, light.enabled, offset);
  BufferWriteSingle(buffer, light.x, offset);
  BufferWriteSingle(buffer, light.y, offset);
  BufferWriteSingle(buffer, light.z, offset);
  BufferWriteLong(buffer, light.radius, offset);
  BufferWriteSingle(buffer, light.horizontalFrom, offset);
  BufferWriteSingle(buffer, light.horizontalTo, offset);
  BufferWriteSingle(buffer, light.verticalFrom, offset);
  BufferWriteSingle(buffer, light.verticalTo, offset);
  BufferWriteSingle(buffer, light.edgeIntensity, offset);
  BufferWriteByte(buffer, light.red, offset);
  BufferWriteByte(buffer, light.green, offset);
  BufferWriteByte(buffer, light.blue, offset);
  BufferWriteByte(buffer, light.subtractive, offset);
  BufferWriteBytes(buffer, light.pattern.data(), static_cast<std::int32_t>(kPatternLength), offset);
  BufferWriteLong(buffer, light.cycleLength, offset);
}

void WriteSpeaker(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  const Speaker& speaker = map.speakers.at(static_cast<std::size_t>(index));
  WriteNamedHead(buffer, offset, speaker.name, speaker.displayName);
  BufferWriteByte(buffer, speaker.enabled, offset);
  BufferWriteSingle(buffer, speaker.x, offset);
  BufferWriteSingle(buffer, speaker.y, offset);
  BufferWriteSingle(buffer, speaker.z, offset);
  BufferWriteLong(buffer, speaker.radius, offset);
  BufferWriteSingle(buffer, speaker.startAngle, offset);
  BufferWriteSingle(buffer, speaker.endAngle, offset);
  WriteReference(buffer, offset, SaveTable::kSoundSet, speaker.soundSet, speaker.soundSetId);
  BufferWriteBytes(buffer, speaker.pattern.data(), static_cast<std::int32_t>(kPatternLength), offset);
  BufferWriteLong(buffer, speaker.cycleLength, offset);
  BufferWriteSingle(buffer, speaker.focus, offset);
}

void WriteSpawn(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave) {
  Spawn& spawn = map.spawns.at(static_cast<std::size_t>(index));
  WriteNamedHead(buffer, offset, spawn.name, spawn.displayName);
  BufferWriteSingle(buffer, spawn.x, offset);
  BufferWriteSingle(buffer, spawn.y, offset);
  BufferWriteSingle(buffer, spawn.z, offset);
  for (Script& script : spawn.scripts) SerializeScript(buffer, offset, script, isSave);
  BufferWriteByte(buffer, spawn.paused, offset);
  for (std::int32_t value : {spawn.delay, spawn.interval, spawn.count, spawn.simultaneous, spawn.proximity})
    BufferWriteLong(buffer, value, offset);
  if (isSave) {
    for (std::int32_t value : {spawn.linkedActor, spawn.time, spawn.born, spawn.died})
      BufferWriteLong(buffer, value, offset);
  }
}

void WriteMapExtra(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  const PositionedText& text = map.positionedTexts.at(static_cast<std::size_t>(index));
  BufferWriteSingle(buffer, text.x, offset);
  BufferWriteSingle(buffer, text.y, offset);
  BufferWriteSingle(buffer, text.z, offset);
  BufferWriteString(buffer, text.text, offset);
}

void WriteProjectile(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  const Projectile& p = map.projectiles.at(static_cast<std::size_t>(index));
  BufferWriteSingle(buffer, p.x, offset);
  BufferWriteSingle(buffer, p.y, offset);
  BufferWriteSingle(buffer, p.z, offset);
  BufferWriteSingle(buffer, p.heading, offset);
  BufferWriteSingle(buffer, p.speed, offset);
  BufferWriteLong(buffer, p.item, offset);
  BufferWriteLong(buffer, p.owner, offset);
  BufferWriteSingle(buffer, p.remainingRange, offset);
  BufferWriteLong(buffer, p.age, offset);
  BufferWriteLong(buffer, p.currentZone, offset);
  BufferWriteLong(buffer, p.spriteSet, offset);
  BufferWriteLong(buffer, p.explosionSpriteSet, offset);
  BufferWriteByte(buffer, p.kind, offset);
  // A byte kept in a 4-byte slot; the three filler bytes are zero.
  BufferWriteLong(buffer, p.damagePhase, offset);
  BufferWriteLong(buffer, p.damage, offset);
  BufferWriteLong(buffer, p.damageInterval, offset);
  BufferWriteByte(buffer, p.motionMode, offset);
  BufferWriteByte(buffer, p.holdLastFrame, offset);
  BufferWriteLong(buffer, p.specular, offset);
  BufferWriteSingle(buffer, p.scaleX, offset);
  BufferWriteSingle(buffer, p.scaleY, offset);
  BufferWriteSingle(buffer, p.scaleZ, offset);
  BufferWriteByte(buffer, p.triggered, offset);
  BufferWriteLong(buffer, p.homingRange, offset);
  BufferWriteLong(buffer, p.hitSound, offset);
  BufferWriteByte(buffer, p.chargeTrigger, offset);
  BufferWriteSingle(buffer, p.turnRate, offset);
  BufferWriteSingle(buffer, p.verticalSpeed, offset);
}

}  // namespace kiv
