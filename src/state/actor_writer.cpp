// The actor record in the save form.
#include "core/data_buffer.h"
#include "core/symbol_table.h"
#include "data/script_codec.h"
#include "state/object_writers.h"
#include "state/save_references.h"
#include "state/symbol_text.h"

namespace kiv {

namespace {

void WriteIntList(ByteList& buffer, std::int32_t& offset, const std::vector<std::int32_t>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (std::int32_t value : list) BufferWriteLong(buffer, value, offset);
}

void WritePairList(ByteList& buffer, std::int32_t& offset, const std::vector<ValuePair>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const ValuePair& pair : list) {
    BufferWriteLong(buffer, pair.first, offset);
    BufferWriteLong(buffer, pair.second, offset);
  }
}

void WriteParts(ByteList& buffer, std::int32_t& offset, const Actor& actor) {
  BufferWriteLong(buffer, static_cast<std::int32_t>(kActorColorCount) - 1, offset);
  BufferWriteLastIndex(buffer, actor.parts.size(), offset);
  for (const AppearancePart& part : actor.parts) {
    BufferWriteString(buffer, SymbolText(part.slot), offset);
    WriteReference(buffer, offset, SaveTable::kSpriteSet, part.spriteSet, part.spriteSetId, true);
    for (std::uint32_t color : part.colors) BufferWriteLong(buffer, static_cast<std::int32_t>(color), offset);
  }
}

void WriteInventory(ByteList& buffer, std::int32_t& offset, const Actor& actor) {
  BufferWriteLastIndex(buffer, actor.items.size(), offset);
  for (const InventoryEntry& entry : actor.items) {
    WriteReference(buffer, offset, SaveTable::kItem, entry.item, entry.itemId);
    BufferWriteLong(buffer, entry.quantity, offset);
    BufferWriteByte(buffer, entry.flag, offset);
    BufferWriteLong(buffer, entry.ammunition, offset);
  }
  BufferWriteLastIndex(buffer, actor.equipment.size(), offset);
  for (const InventoryEntry& entry : actor.equipment) {
    BufferWriteIdentifier(buffer, entry.areaId, offset);
    WriteReference(buffer, offset, SaveTable::kItem, entry.item, entry.itemId, true);
    BufferWriteLong(buffer, entry.ammunition, offset);
  }
}

void WriteRunTimeBlockB(ByteList& buffer, std::int32_t& offset, const Actor& actor) {
  BufferWriteLong(buffer, actor.furtherActor2, offset);
  BufferWriteLong(buffer, actor.vehicleRidden, offset);
  BufferWriteLong(buffer, actor.turretOperated, offset);
  BufferWriteByte(buffer, actor.canMove, offset);
  for (std::int32_t value : {actor.state, actor.tickFlags, actor.aiState, actor.aiValue})
    BufferWriteLong(buffer, value, offset);
  for (std::int32_t value : {actor.stepTarget, actor.stepDirection, actor.stepLeft})
    BufferWriteLong(buffer, value, offset);
  WriteIntList(buffer, offset, actor.path);
  BufferWriteLong(buffer, actor.routePosition, offset);
  for (std::int32_t value : {actor.areaBox.left, actor.areaBox.top, actor.areaBox.right, actor.areaBox.bottom})
    BufferWriteLong(buffer, value, offset);
  BufferWriteLong(buffer, actor.aiFocus, offset);
  WritePairList(buffer, offset, actor.pairs1);
  WritePairList(buffer, offset, actor.pairs2);
  for (std::int32_t value :
       {actor.targetActor, actor.owningPlayer, actor.partyMember, actor.furtherActor1, actor.deathTimer})
    BufferWriteLong(buffer, value, offset);
  BufferWriteByte(buffer, actor.flashing, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(actor.flashColor), offset);
  for (std::int32_t value : actor.flashValues) BufferWriteLong(buffer, value, offset);
  BufferWriteString(buffer, SymbolText(actor.pose), offset);
  for (std::int32_t value : {actor.poseValue, actor.customPoseTime, actor.timeSinceHurt, actor.driver})
    BufferWriteLong(buffer, value, offset);
  for (float value : {actor.extension, actor.velocityX, actor.velocityY, actor.velocityZ, actor.velocity, actor.strafeSpeed})
    BufferWriteSingle(buffer, value, offset);
  BufferWriteSingle(buffer, actor.arcStart, offset);
  BufferWriteSingle(buffer, actor.arcEnd, offset);
  BufferWriteInt16(buffer, actor.turningKey, offset);
  WriteSpriteRefList(buffer, offset, actor.attachedEffects);
  for (std::uint8_t value : {actor.inMap, actor.inMapExtra, actor.inCamera, actor.inCameraExtra, actor.moved})
    BufferWriteByte(buffer, value, offset);
  BufferWriteLastIndex(buffer, actor.waypoints.size(), offset);
  for (const Waypoint& waypoint : actor.waypoints) {
    BufferWriteLong(buffer, waypoint.values[3], offset);
    for (std::size_t i = 0; i < 3; ++i) BufferWriteLong(buffer, waypoint.values[i], offset);
  }
  BufferWriteLong(buffer, actor.memorized, offset);
  BufferWriteSingle(buffer, actor.memorizedX, offset);
  BufferWriteSingle(buffer, actor.memorizedY, offset);
  BufferWriteSingle(buffer, actor.memorizedZ, offset);
}

}  // namespace

void WriteSpriteRefList(ByteList& buffer, std::int32_t& offset, const std::vector<Attachment>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const Attachment& entry : list) {
    WriteReference(buffer, offset, SaveTable::kSpriteSet, entry.spriteSet, entry.spriteSetId);
    BufferWriteLong(buffer, entry.valueA, offset);
    BufferWriteLong(buffer, entry.valueB, offset);
    BufferWriteLong(buffer, entry.valueC, offset);
    BufferWriteByte(buffer, entry.byteF, offset);
    BufferWriteByte(buffer, entry.byteG, offset);
    BufferWriteByte(buffer, entry.byteE, offset);
    BufferWriteLong(buffer, static_cast<std::int32_t>(entry.color), offset);
    BufferWriteLong(buffer, entry.valueD, offset);
  }
}

void WriteActor(Actor& actor, ByteList& buffer, std::int32_t& offset, bool isSave) {
  BufferWriteString(buffer, actor.name, offset);
  BufferWriteString(buffer, actor.displayName, offset);
  BufferWriteByte(buffer, actor.face, offset);
  WriteParts(buffer, offset, actor);
  BufferWriteLong(buffer, static_cast<std::int32_t>(actor.specular), offset);
  BufferWriteLong(buffer, actor.autoMoveStyle, offset);

  BufferWriteSingle(buffer, actor.heading, offset);
  BufferWriteByte(buffer, actor.designByte1, offset);
  BufferWriteByte(buffer, actor.designByte2, offset);
  BufferWriteLastIndex(buffer, actor.statistics.size(), offset);
  for (const StatisticValue& value : actor.statistics) {
    BufferWriteIdentifier(buffer, value.id, offset);
    BufferWriteLong(buffer, value.currentValue, offset);
    BufferWriteLong(buffer, value.baseValue, offset);
  }
  BufferWriteSingle(buffer, actor.x, offset);
  BufferWriteSingle(buffer, actor.y, offset);
  BufferWriteSingle(buffer, actor.z, offset);
  if (isSave) {
    BufferWriteLong(buffer, actor.gridX, offset);
    BufferWriteLong(buffer, actor.gridY, offset);
    BufferWriteSingle(buffer, actor.gridHeading, offset);
    BufferWriteLong(buffer, actor.lastAttacked, offset);
    BufferWriteLong(buffer, actor.lastDamaged, offset);
  }

  BufferWriteByte(buffer, actor.shadow, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(actor.shadowColor), offset);
  BufferWriteLong(buffer, actor.designValue, offset);
  BufferWriteSingle(buffer, actor.speed, offset);
  BufferWriteLong(buffer, actor.aiFlags, offset);
  BufferWriteSingle(buffer, actor.speedFactor, offset);
  WriteInventory(buffer, offset, actor);
  WriteIntList(buffer, offset, actor.route);

  for (std::uint8_t value : {actor.removed, actor.noDraw, actor.noRect, actor.solidToTouch})
    BufferWriteByte(buffer, value, offset);
  WriteReference(buffer, offset, SaveTable::kTeam, actor.team, actor.teamId);
  BufferWriteLong(buffer, actor.experience, offset);
  BufferWriteBytes(buffer, &actor.money, 8, offset);
  BufferWriteLong(buffer, actor.points, offset);
  WriteReference(buffer, offset, SaveTable::kItem, actor.itemReference.index, actor.itemReference.id);

  for (float value : {actor.gas, actor.maxGas, actor.vehicleValue1, actor.vehicleValue2, actor.vehicleValue3,
                      actor.derivedValue1, actor.derivedValue2})
    BufferWriteSingle(buffer, value, offset);
  BufferWriteLong(buffer, actor.vehicleValue15, offset);
  BufferWriteLong(buffer, actor.physicsFlags, offset);
  BufferWriteByte(buffer, actor.vehicle, offset);
  for (float value : {actor.keyTurning, actor.keyForward, actor.keyRising, actor.keyStrafing})
    BufferWriteSingle(buffer, value, offset);
  BufferWriteByte(buffer, actor.turret, offset);
  BufferWriteLong(buffer, actor.turretRange, offset);
  BufferWriteSingle(buffer, actor.turnRate, offset);
  BufferWriteSingle(buffer, actor.arc, offset);

  BufferWriteSingle(buffer, actor.scaleX, offset);
  BufferWriteSingle(buffer, actor.scaleY, offset);
  BufferWriteSingle(buffer, actor.scaleZ, offset);
  WriteSpriteRefList(buffer, offset, actor.attachedSprites);
  WriteReference(buffer, offset, SaveTable::kActorTemplate, actor.templateIndex, actor.templateId);
  BufferWriteString(buffer, actor.mapReference.name, offset);
  for (const IndexedReference& reference : actor.furtherReferences)
    WriteReference(buffer, offset, SaveTable::kSpriteSet, reference.index, reference.id, true);
  BufferWriteLong(buffer, static_cast<std::int32_t>(actor.tint), offset);
  WriteEventList(buffer, offset, actor.triggers, isSave);

  BufferWriteLastIndex(buffer, actor.variables.size(), offset);
  for (const ActorVariable& variable : actor.variables) {
    BufferWriteString(buffer, SymbolText(variable.symbol), offset);
    BufferWriteVariant(buffer, variable.value, offset);
    BufferWriteByte(buffer, static_cast<std::uint8_t>(variable.extra1), offset);
  }
  BufferWriteByte(buffer, actor.designByte, offset);
  if (isSave) WriteRunTimeBlockB(buffer, offset, actor);
}

}  // namespace kiv
