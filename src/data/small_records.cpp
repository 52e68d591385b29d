// Pick-ups, lights, speakers, spawns and positioned texts.
#include "core/data_buffer.h"
#include "data/find_by_id.h"
#include "data/map_object_readers.h"
#include "data/object_defaults.h"
#include "data/script_codec.h"
#include "data/sector_grid.h"
#include "data/set_lookups.h"
#include "data/sprite_instance.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstDisplayName = 100629;
constexpr std::int32_t kFirstPickUpFloats = 100524;
constexpr std::int32_t kFirstPickUpZ = 100574;
constexpr std::int32_t kFirstPickUpValue = 100555;
constexpr std::int32_t kFirstUnraisedZ = 100566;
constexpr std::int32_t kFirstLightArc = 100774;
constexpr std::int32_t kFirstSpeakerFocus = 100547;
constexpr std::int32_t kFirstInterfaceDepth = 100585;
constexpr float kOldLiftedZ = 16.0f;
constexpr std::int32_t kPickUpHalfSize = 24;

std::u16string ReadDisplayName(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                               const std::u16string& name) {
  return version >= kFirstDisplayName ? BufferReadString(buffer, offset) : name;
}

}  // namespace

void ReadPickUp(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index,
                bool withState) {
  PickUp& pickUp = map.pickUps.at(static_cast<std::size_t>(index));
  if (version >= kFirstPickUpFloats) {
    pickUp.x = BufferReadSingle(buffer, offset);
    pickUp.y = BufferReadSingle(buffer, offset);
  } else {
    pickUp.x = static_cast<float>(BufferReadLong(buffer, offset));
    pickUp.y = static_cast<float>(BufferReadLong(buffer, offset));
  }
  if (version >= kFirstPickUpZ) pickUp.z = BufferReadSingle(buffer, offset);
  pickUp.flag1 = BufferReadByte(buffer, offset);
  pickUp.values1[0] = BufferReadLong(buffer, offset);
  pickUp.values1[1] = BufferReadLong(buffer, offset);
  // Stored alpha first: the colour's most significant byte leads.
  std::uint32_t color = 0;
  for (int i = 0; i < 4; ++i) color = (color << 8) | BufferReadByte(buffer, offset);
  pickUp.color = color;
  pickUp.flag2 = BufferReadByte(buffer, offset);
  pickUp.values2[0] = BufferReadLong(buffer, offset);
  pickUp.values2[1] = BufferReadLong(buffer, offset);
  pickUp.spriteSetId = BufferReadIdentifier(buffer, offset);
  pickUp.spriteSet = -2;
  // Started now with the set as it stands; linking resolves the set.
  SetObjectSprite(pickUp.sprite, pickUp.spriteSet);
  pickUp.items[0].itemId = BufferReadIdentifier(buffer, offset);
  pickUp.items[0].item = -2;
  pickUp.items[0].quantity = BufferReadLong(buffer, offset);
  pickUp.items[1].quantity = BufferReadLong(buffer, offset);
  pickUp.respawnTime = BufferReadLong(buffer, offset);
  BufferReadBytes(buffer, &pickUp.money, 8, offset);
  pickUp.values3[0] = BufferReadLong(buffer, offset);
  if (version >= kFirstPickUpValue) pickUp.values3[1] = BufferReadLong(buffer, offset);
  if (withState) {
    pickUp.respawnCountdown = BufferReadLong(buffer, offset);
    pickUp.runValue = BufferReadLong(buffer, offset);
  }
}

void SetObjectCollisionBox(PickUp& pickUp) {
  if (pickUp.spriteSet >= 0 && SpriteSetFirstCollisionShape(pickUp.spriteSet, pickUp.collisionShape)) return;
  pickUp.collisionShape = objectDefaults.collisionShape;
  if (pickUp.collisionShape.rectangles.empty()) pickUp.collisionShape.rectangles.emplace_back();
  CollisionBox& box = pickUp.collisionShape.rectangles[0];
  std::int32_t half = kPickUpHalfSize;
  std::int32_t height = 2 * kPickUpHalfSize;
  if (pickUp.items[0].item >= 0) {
    height = ItemPickUpSize(pickUp.items[0].item);
    half = height / 2;
  }
  box.left = -half;
  box.top = -half;
  box.right = half;
  box.bottom = half;
  box.front = 0;
  box.back = height;
}

void ReadLight(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index) {
  Light& light = map.lights.at(static_cast<std::size_t>(index));
  light.name = BufferReadString(buffer, offset);
  light.displayName = ReadDisplayName(buffer, offset, version, light.name);
  light.enabled = BufferReadByte(buffer, offset);
  light.x = BufferReadSingle(buffer, offset);
  light.y = BufferReadSingle(buffer, offset);
  light.z = BufferReadSingle(buffer, offset);
  if (version < kFirstUnraisedZ) light.z -= kOldLiftedZ;
  light.radius = BufferReadLong(buffer, offset);
  light.horizontalFrom = BufferReadSingle(buffer, offset);
  light.horizontalTo = BufferReadSingle(buffer, offset);
  if (version >= kFirstLightArc) {
    light.verticalFrom = BufferReadSingle(buffer, offset);
    light.verticalTo = BufferReadSingle(buffer, offset);
  } else {
    light.verticalFrom = 0.0f;
    light.verticalTo = 6.2831855f;
  }
  light.edgeIntensity = BufferReadSingle(buffer, offset);
  light.red = BufferReadByte(buffer, offset);
  light.green = BufferReadByte(buffer, offset);
  light.blue = BufferReadByte(buffer, offset);
  light.subtractive = BufferReadByte(buffer, offset);
  BufferReadBytes(buffer, light.pattern.data(), static_cast<std::int32_t>(kPatternLength), offset);
  light.cycleLength = BufferReadLong(buffer, offset);
  light.appliedIntensity = 1.0f;
  light.currentIntensity = 1.0f;
  light.nearestBlockedSquared =
      static_cast<float>(static_cast<double>(light.radius) * static_cast<double>(light.radius) + 1.0);
  light.clearDistanceSquared = 0.0f;
  SectorGridAddLight(map, index, light.x, light.y, light.z, light.radius, false);
}

void ReadSpeaker(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                 std::int32_t index) {
  Speaker& speaker = map.speakers.at(static_cast<std::size_t>(index));
  speaker.name = BufferReadString(buffer, offset);
  speaker.displayName = ReadDisplayName(buffer, offset, version, speaker.name);
  speaker.enabled = BufferReadByte(buffer, offset);
  speaker.x = BufferReadSingle(buffer, offset);
  speaker.y = BufferReadSingle(buffer, offset);
  speaker.z = BufferReadSingle(buffer, offset);
  if (version < kFirstUnraisedZ) speaker.z -= kOldLiftedZ;
  speaker.radius = BufferReadLong(buffer, offset);
  speaker.startAngle = BufferReadSingle(buffer, offset);
  speaker.endAngle = BufferReadSingle(buffer, offset);
  speaker.soundSetId = BufferReadIdentifier(buffer, offset);
  speaker.soundSet = FindSoundSetById(speaker.soundSetId);
  BufferReadBytes(buffer, speaker.pattern.data(), static_cast<std::int32_t>(kPatternLength), offset);
  speaker.cycleLength = BufferReadLong(buffer, offset);
  if (version >= kFirstSpeakerFocus) speaker.focus = BufferReadSingle(buffer, offset);
  speaker.volumeFactor = 1.0f;
}

void ReadSpawn(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index,
               bool withState) {
  Spawn& spawn = map.spawns.at(static_cast<std::size_t>(index));
  spawn.name = BufferReadString(buffer, offset);
  spawn.displayName = ReadDisplayName(buffer, offset, version, spawn.name);
  spawn.x = BufferReadSingle(buffer, offset);
  spawn.y = BufferReadSingle(buffer, offset);
  spawn.z = BufferReadSingle(buffer, offset);
  if (version < kFirstInterfaceDepth && map.isInterface) spawn.z = 0.0f;
  for (Script& script : spawn.scripts) ReadScript(buffer, offset, script, withState, true, 1, true);
  spawn.paused = BufferReadByte(buffer, offset);
  spawn.delay = BufferReadLong(buffer, offset);
  spawn.interval = BufferReadLong(buffer, offset);
  if (spawn.interval <= 0) spawn.interval = 1;
  spawn.count = BufferReadLong(buffer, offset);
  spawn.simultaneous = BufferReadLong(buffer, offset);
  spawn.proximity = BufferReadLong(buffer, offset);
  if (withState) {
    spawn.linkedActor = BufferReadLong(buffer, offset);
    spawn.time = BufferReadLong(buffer, offset);
    spawn.born = BufferReadLong(buffer, offset);
    spawn.died = BufferReadLong(buffer, offset);
  }
}

void ReadPositionedText(const ByteList& buffer, std::int32_t& offset, Map& map, std::int32_t index) {
  PositionedText& text = map.positionedTexts.at(static_cast<std::size_t>(index));
  text.x = BufferReadSingle(buffer, offset);
  text.y = BufferReadSingle(buffer, offset);
  text.z = BufferReadSingle(buffer, offset);
  text.text = BufferReadString(buffer, offset);
}

}  // namespace kiv
