#include "data/legacy_sections.h"

#include <array>
#include <bit>
#include <cmath>

#include "core/angles.h"
#include "core/data_buffer.h"
#include "core/symbol_table.h"
#include "data/field_state.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "data/object_defaults.h"
#include "data/script_codec.h"
#include "data/sprite_instance.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstTurretFloatPosition = 100523;
constexpr std::int32_t kFirstTurretTriState = 100495;
constexpr std::int32_t kFirstTurretStateBytes = 100496;
constexpr std::int32_t kFirstInterfaceDepth = 100585;

// Flags of an old dynamic object that place the converted actor.
constexpr std::uint8_t kDynamicObjectDrawOffset = 1;  // its x and y were the drawn corner
constexpr std::uint8_t kDynamicObjectOnFloor = 2;     // its z becomes 0

// The old per-event scripts of vehicles and turrets, as triggers.
constexpr OldScriptEvent kVehicleEvents[] = {
    {0, u"Trigger.Actor.Action", nullptr, nullptr},
    {3, u"Trigger.Actor.TouchedActor", u"\"Character\"", u"1"},
    {4, u"Trigger.Actor.TouchedActor", u"\"Character\"", u"0"},
    {5, u"Trigger.Actor.TouchedActor", u"\"Vehicle\"", u"1"},
    {6, u"Trigger.Actor.TouchedActor", u"\"Vehicle\"", u"0"},
    {7, u"Trigger.Actor.DamagedActor", u"\"Character\"", u"1"},
    {8, u"Trigger.Actor.DamagedActor", u"\"Character\"", u"0"},
    {2, u"Trigger.Actor.Killed", nullptr, nullptr},
    {1, u"Trigger.Actor.Exited", u"\"Character\"", u"1"},
};
constexpr OldScriptEvent kTurretEvents[] = {
    {0, u"Trigger.Actor.Action", nullptr, nullptr},
    {4, u"Trigger.Actor.TouchedActor", u"\"Character\"", u"1"},
    {5, u"Trigger.Actor.TouchedActor", u"\"Character\"", u"0"},
    {6, u"Trigger.Actor.TouchedActor", u"\"Vehicle\"", u"1"},
    {7, u"Trigger.Actor.TouchedActor", u"\"Vehicle\"", u"0"},
    {8, u"Trigger.Actor.DamagedActor", u"\"Character\"", u"1"},
    {9, u"Trigger.Actor.DamagedActor", u"\"Character\"", u"0"},
    {1, u"Trigger.Actor.SawEnemy", u"\"Character\"", nullptr},
    {2, u"Trigger.Actor.LostEnemy", u"\"Character\"", nullptr},
    {3, u"Trigger.Actor.Killed", nullptr, nullptr},
};
constexpr std::size_t kVehicleScriptOrder[] = {0, 1, 3, 4, 5, 6, 7, 8, 2};
constexpr std::size_t kTurretScriptOrder[] = {0, 4, 5, 6, 7, 8, 9, 1, 2, 3};

// What old vehicles and turrets take from their sprite set. The set keeps its
// box in values C to H; block I holds the value stored after the box, then
// vehicle value 1, the speed and vehicle values 2 and 3 (floats) and the value
// that defaults to 15; value J holds the physics flags.
struct SpriteSetLegacyValues {
  Box box;
  std::int32_t valueAfterBox = 0;
  float vehicleValue1 = 0.0f;
  float speed = 0.0f;
  float vehicleValue2 = 0.0f;
  float vehicleValue3 = 0.0f;
  std::int32_t vehicleValue15 = 0;
  std::int32_t physicsFlags = 0;
};

// Word k (little-endian) of a sprite set's block I.
std::uint32_t BlockWord(const SpriteSet& set, std::size_t k) {
  const std::size_t at = k * 4;
  return static_cast<std::uint32_t>(set.blockI.at(at)) |
         static_cast<std::uint32_t>(set.blockI.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(set.blockI.at(at + 2)) << 16 |
         static_cast<std::uint32_t>(set.blockI.at(at + 3)) << 24;
}

SpriteSetLegacyValues LegacyValuesOf(const SpriteSet& set) {
  SpriteSetLegacyValues values;
  const auto& box = set.valuesCtoH;
  values.box = Box{box[0], box[1], box[2], box[3], box[4], box[5]};
  values.valueAfterBox = std::bit_cast<std::int32_t>(BlockWord(set, 0));
  values.vehicleValue1 = std::bit_cast<float>(BlockWord(set, 1));
  values.speed = std::bit_cast<float>(BlockWord(set, 2));
  values.vehicleValue2 = std::bit_cast<float>(BlockWord(set, 3));
  values.vehicleValue3 = std::bit_cast<float>(BlockWord(set, 4));
  values.vehicleValue15 = std::bit_cast<std::int32_t>(BlockWord(set, 5));
  values.physicsFlags = set.valueJ;
  return values;
}

// The sprite set at an index found by identifier; nullptr for none (-1, -2).
const SpriteSet* SpriteSetAt(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.spriteSets.size()) return nullptr;
  return &gameData.spriteSets[static_cast<std::size_t>(index)];
}

// What both kinds share: colour and sprite set go to parts 0 and 9.
void SetBodyParts(Actor& actor, std::uint32_t color, std::int32_t spriteSet, const Identifier& spriteSetId) {
  for (std::size_t k : {0, 9}) {
    if (k >= actor.parts.size()) continue;
    actor.parts[k].colors[0] = color;
    actor.parts[k].spriteSet = spriteSet;
    actor.parts[k].spriteSetId = spriteSetId;
  }
}

// The fields that old vehicle and turret sections both store.
struct LegacyActorLook {
  std::u16string name;
  std::uint8_t face;
  std::uint32_t color;
  std::uint32_t designInt;
  float heading;
  std::uint8_t byte1;
  std::uint8_t byte2;
  float x;
  float y;
  float z;
  std::uint8_t shadow;
  std::uint32_t shadowColor;
  std::int32_t shadowValue;
  std::int32_t spriteSet;
  Identifier spriteSetId;
  std::uint8_t noDraw;
  std::uint8_t noRect;
};

// Turns the actor slot into a default actor carrying the look of an old section.
Actor& StartLegacyActor(Map& map, std::int32_t actorIndex, const LegacyActorLook& look,
                        std::int32_t statisticValue, std::int32_t statisticBase) {
  Actor& actor = map.actors.at(static_cast<std::size_t>(actorIndex));
  actor = objectDefaults.actor;
  actor.name = look.name;
  actor.displayName = actor.name;
  actor.face = look.face;
  SetBodyParts(actor, look.color, look.spriteSet, look.spriteSetId);
  actor.specular = look.designInt;
  actor.heading = look.heading;
  actor.designByte1 = look.byte1;
  actor.designByte2 = look.byte2;
  if (!actor.statistics.empty()) {
    actor.statistics[0].currentValue = statisticValue;
    actor.statistics[0].baseValue = statisticBase;
  }
  actor.x = look.x;
  actor.y = look.y;
  actor.z = look.z;
  actor.shadow = look.shadow;
  actor.shadowColor = look.shadowColor;
  actor.designValue = look.shadowValue;
  actor.noDraw = look.noDraw;
  actor.noRect = look.noRect;
  return actor;
}

}  // namespace

void AddOldScriptTriggers(std::vector<Trigger>& triggers, std::span<const Script> scripts,
                          std::span<const OldScriptEvent> events, bool force) {
  for (const OldScriptEvent& old : events) {
    std::vector<std::u16string> parameters;
    if (old.kind != nullptr) parameters.emplace_back(old.kind);
    if (old.flag != nullptr) parameters.emplace_back(old.flag);
    AddTriggerFromScript(triggers, scripts[old.slot], SymbolIntern(old.event), force, parameters);
  }
}

void ReadLegacyVehicle(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                       std::int32_t actorIndex, bool withState) {
  const std::u16string name = BufferReadString(buffer, offset);
  const std::uint8_t face = BufferReadByte(buffer, offset);
  const auto color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  const auto designInt = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  std::array<Script, 10> scripts;
  for (std::size_t slot : kVehicleScriptOrder) ReadScript(buffer, offset, scripts[slot], withState, true, 1, true);
  const float heading = BufferReadSingle(buffer, offset);
  const std::uint8_t byte1 = BufferReadByte(buffer, offset);
  const std::uint8_t byte2 = BufferReadByte(buffer, offset);
  const std::int32_t statisticValue = BufferReadLong(buffer, offset);
  const std::int32_t statisticBase = BufferReadLong(buffer, offset);
  const float gas = BufferReadSingle(buffer, offset);
  const float maxGas = BufferReadSingle(buffer, offset);
  const float x = BufferReadSingle(buffer, offset);
  const float y = BufferReadSingle(buffer, offset);
  const float z = BufferReadSingle(buffer, offset);
  const std::uint8_t shadow = BufferReadByte(buffer, offset);
  const auto shadowColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  const std::int32_t shadowValue = BufferReadLong(buffer, offset);
  const Identifier spriteSetId = BufferReadIdentifier(buffer, offset);
  const std::uint8_t noDraw = BufferReadByte(buffer, offset);
  const std::uint8_t noRect = BufferReadByte(buffer, offset);
  const std::uint8_t removed = BufferReadByte(buffer, offset);
  const Identifier itemId = BufferReadIdentifier(buffer, offset);
  // The run-time fields stay with the legacy record, which is not kept.
  if (withState) {
    BufferRequire(buffer, offset, 24);
    offset += 24;
  }
  const std::int32_t spriteSet = FindSpriteSetById(spriteSetId);
  const std::int32_t item = FindItemById(itemId);
  (void)version;

  Actor& actor = StartLegacyActor(map, actorIndex,
                                  {u"Vehicle " + name, face, color, designInt, heading, byte1, byte2, x, y, z,
                                   shadow, shadowColor, shadowValue, spriteSet, spriteSetId, noDraw, noRect},
                                  statisticValue, statisticBase);
  actor.gas = gas;
  actor.maxGas = maxGas;
  actor.removed = removed;
  actor.itemReference.index = item;
  actor.itemReference.id = itemId;
  actor.team = -1;
  actor.teamId = Identifier();
  actor.vehicle = 1;
  if (const SpriteSet* set = SpriteSetAt(spriteSet)) {
    const SpriteSetLegacyValues values = LegacyValuesOf(*set);
    actor.vehicleValue1 = values.vehicleValue1;
    actor.speed = values.speed;
    actor.vehicleValue2 = values.vehicleValue2;
    actor.vehicleValue3 = values.vehicleValue3;
    actor.vehicleValue15 = values.vehicleValue15;
    actor.derivedValue1 = actor.vehicleValue3 * 20.0f;
    actor.derivedValue2 = actor.vehicleValue3 * 100.0f;
    actor.physicsFlags = values.physicsFlags;
  }
  actor.triggers.clear();
  AddOldScriptTriggers(actor.triggers, scripts, kVehicleEvents, false);
  IdFill(actor.templateId, 2);
  actor.templateIndex = -2;
}

void ReadLegacyTurret(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                      std::int32_t actorIndex, bool withState) {
  const std::u16string name = BufferReadString(buffer, offset);
  const std::uint8_t face = BufferReadByte(buffer, offset);
  const auto color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  const auto designInt = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  std::array<Script, 10> scripts;
  for (std::size_t slot : kTurretScriptOrder) ReadScript(buffer, offset, scripts[slot], withState, true, 1, true);
  float heading = BufferReadSingle(buffer, offset);
  const std::uint8_t byte1 = BufferReadByte(buffer, offset);
  const std::uint8_t byte2 = BufferReadByte(buffer, offset);
  const std::int32_t designValue = BufferReadLong(buffer, offset);
  BufferReadLong(buffer, offset);  // a second int that the conversion does not carry
  float x, y, z;
  if (version >= kFirstTurretFloatPosition) {
    x = BufferReadSingle(buffer, offset);
    y = BufferReadSingle(buffer, offset);
    z = BufferReadSingle(buffer, offset);
  } else {
    x = static_cast<float>(BufferReadLong(buffer, offset));
    y = static_cast<float>(BufferReadLong(buffer, offset));
    z = static_cast<float>(BufferReadLong(buffer, offset));
  }
  const std::uint8_t shadow = BufferReadByte(buffer, offset);
  const auto shadowColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  const std::int32_t shadowValue = BufferReadLong(buffer, offset);
  const Identifier spriteSetId = BufferReadIdentifier(buffer, offset);
  const std::int32_t vehicleValue = BufferReadLong(buffer, offset);
  const Identifier itemId = BufferReadIdentifier(buffer, offset);
  const float arcStart = BufferReadSingle(buffer, offset);
  float arcEnd = BufferReadSingle(buffer, offset);
  const float turnRate = BufferReadSingle(buffer, offset);
  std::int16_t triState;
  if (version >= kFirstTurretTriState) {
    triState = BufferReadInt16(buffer, offset);
  } else {
    const std::uint8_t stored = BufferReadByte(buffer, offset);
    triState = stored == 0 ? 1 : stored == 1 ? -1 : 0;
  }
  const std::uint8_t noDraw = BufferReadByte(buffer, offset);
  const std::uint8_t noRect = BufferReadByte(buffer, offset);
  const std::uint8_t turretFlag = BufferReadByte(buffer, offset);
  const std::uint8_t vehicleFlag = BufferReadByte(buffer, offset);
  const std::int32_t team = BufferReadLong(buffer, offset);
  const std::int32_t range = BufferReadLong(buffer, offset);
  if (withState) {
    const std::int32_t stateBytes = 9 + (version >= kFirstTurretStateBytes ? 2 : 0);
    BufferRequire(buffer, offset, stateBytes);
    offset += stateBytes;
  }
  const std::int32_t spriteSet = FindSpriteSetById(spriteSetId);
  const std::int32_t item = FindItemById(itemId);

  // Preparation: the arc runs from start to end through increasing angles.
  const bool hasArc = arcStart != -1.0f || arcEnd != -2.0f;
  if (hasArc && arcStart > arcEnd) {
    arcEnd += kTwoPi;
    if (heading < arcStart) heading += kTwoPi;
  }

  Actor& actor = StartLegacyActor(map, actorIndex,
                                  {u"Turret " + name, face, color, designInt, heading, byte1, byte2, x, y, z,
                                   shadow, shadowColor, shadowValue, spriteSet, spriteSetId, noDraw, noRect},
                                  0, 0);
  const auto& areas = mapObjectSettings.equipmentAreaIds;
  actor.equipment.assign(areas.size(), InventoryEntry());
  for (std::size_t i = 0; i < areas.size(); ++i) actor.equipment[i].areaId = areas[i];
  if (!actor.equipment.empty()) {
    actor.equipment[0].item = item;
    actor.equipment[0].itemId = itemId;
  }
  actor.team = team;
  actor.vehicle = vehicleFlag;
  actor.turret = turretFlag;
  actor.keyTurning = static_cast<float>(triState);
  // The old int lands in a float member: its bits are kept, not its number.
  actor.speedFactor = std::bit_cast<float>(designValue);
  actor.turretRange = range;
  actor.turnRate = turnRate * 2.0f;
  actor.vehicleValue3 = static_cast<float>(vehicleValue);
  if (hasArc) {
    actor.arc = (arcEnd - heading) * 2.0f;
    actor.arcStart = arcStart;
    actor.arcEnd = arcEnd;
  } else {
    actor.arc = kTwoPi;
  }
  if (const SpriteSet* set = SpriteSetAt(spriteSet)) {
    const SpriteSetLegacyValues values = LegacyValuesOf(*set);
    const std::int64_t across = (static_cast<std::int64_t>(values.box.left) + values.box.right) / 32;
    actor.x = static_cast<float>(static_cast<double>(actor.x) + static_cast<double>(across * 16 + 16));
    actor.y =
        static_cast<float>(static_cast<double>(actor.y) + std::ceil(values.valueAfterBox / 16.0) * 16.0);
  }
  actor.triggers.clear();
  AddOldScriptTriggers(actor.triggers, scripts, kTurretEvents, false);
  IdFill(actor.templateId, 3);
  actor.templateIndex = -2;
}

void ReadLegacyDynamicObject(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                             std::int32_t mapIndex, std::int32_t targetIndex, bool isSave) {
  const std::u16string name = BufferReadString(buffer, offset);
  const Identifier spriteSetId = BufferReadIdentifier(buffer, offset);
  // Fields 3 to 7.
  BufferRequire(buffer, offset, 1 + 4 + 4 + 1 + 1);
  offset += 11;
  const float x = BufferReadSingle(buffer, offset);
  const float y = BufferReadSingle(buffer, offset);
  float z = BufferReadSingle(buffer, offset);
  // Fields 11 to 17.
  BufferRequire(buffer, offset, 4 * 4 + 1 + 4 + 4);
  offset += 25;
  std::array<Script, 8> scripts;
  for (Script& script : scripts) ReadScript(buffer, offset, script, isSave, true, 1, true);
  BufferReadByte(buffer, offset);
  BufferReadByte(buffer, offset);
  const std::uint8_t flags = BufferReadByte(buffer, offset);
  BufferReadLong(buffer, offset);
  if (version < kFirstInterfaceDepth && map.isInterface) z = 0.0f;
  const std::int32_t spriteSet = FindSpriteSetById(spriteSetId);
  const std::u16string convertedName = u"Dynamic Object " + name;

  if (map.isInterface) {
    Field& field = map.fields.at(static_cast<std::size_t>(targetIndex));
    field = objectDefaults.field;
    field.mapIndex = mapIndex;
    field.name = convertedName;
    field.displayName = convertedName;
    field.x = x;
    field.y = y;
    field.z = z;
    field.spriteSet = spriteSet;
    field.spriteSetId = spriteSetId;
    for (std::size_t i = 0; i < scripts.size(); ++i) field.scripts[i] = scripts[i];
    UpdateFieldLayout(map, mapIndex, targetIndex);
    SetFieldStateDefaults(field);
    ApplyFieldState(map, targetIndex);
    return;
  }
  Actor& actor = map.actors.at(static_cast<std::size_t>(targetIndex));
  actor = objectDefaults.actor;
  actor.name = convertedName;
  actor.displayName = convertedName;
  actor.x = x;
  actor.y = y;
  actor.z = z;
  Attachment attachment;
  attachment.spriteSet = spriteSet;
  attachment.spriteSetId = spriteSetId;
  actor.attachedSprites = {attachment};
  SetObjectSprite(actor.sprite, spriteSet);
  // The eight scripts stay behind: an actor has no slots for them.
  const SpriteSet* set = SpriteSetAt(spriteSet);
  if (set == nullptr) return;
  if ((flags & kDynamicObjectDrawOffset) != 0) {
    // The object stood where its sprite's corner was drawn; the actor stands
    // at the sprite's origin.
    std::int32_t pose = 0;
    std::int32_t direction = 0;
    FindSpriteDirection(spriteSet, pose, direction);
    if (static_cast<std::size_t>(pose) < set->poses.size()) {
      const SpriteDirection& shown =
          set->poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)];
      actor.x = static_cast<float>(static_cast<double>(actor.x) - shown.minX);
      actor.y = static_cast<float>(static_cast<double>(actor.y) - shown.minY);
    }
  }
  if ((flags & kDynamicObjectOnFloor) != 0) actor.z = 0.0f;
}

}  // namespace kiv
