#include "data/actor_record.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/data_buffer.h"
#include "core/math_util.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/legacy_sections.h"
#include "data/map_object_settings.h"
#include "data/object_defaults.h"
#include "data/script_codec.h"

namespace kiv {

namespace {

// Version gates of the actor section.
constexpr std::int32_t kFirstItemAmmunition = 100483;
constexpr std::int32_t kFirstEquipmentAmmunition = 100484;
constexpr std::int32_t kFirstStoredAiBit = 100521;
constexpr std::int32_t kFirstHeadingAngle = 100543;
constexpr std::int32_t kFirstPoints = 100555;
constexpr std::int32_t kFirstItemReference = 100595;
constexpr std::int32_t kFirstVehicleBlock = 100600;
constexpr std::int32_t kFirstUnprefixedName = 100601;
constexpr std::int32_t kFirstOldSlot5 = 100602;
constexpr std::int32_t kFirstTurretBlock = 100604;
constexpr std::int32_t kFirstTemplateId = 100611;
constexpr std::int32_t kFirstMapReference = 100614;
constexpr std::int32_t kFirstAnyMapKept = 100618;
constexpr std::int32_t kFirstTriggerList = 100620;
constexpr std::int32_t kFirstNoOldScripts = 100622;
constexpr std::int32_t kFirstDisplayName = 100629;
constexpr std::int32_t kFirstPhysicsThree = 100630;
constexpr std::int32_t kFirstScale = 100636;
constexpr std::int32_t kFirstAttachedSprites = 100637;
constexpr std::int32_t kFirstTeamId = 100643;
constexpr std::int32_t kFirstFurtherReferences = 100657;
constexpr std::int32_t kFirstUnscaledY = 100660;
constexpr std::int32_t kFirstPhysicsEleven = 100661;
constexpr std::int32_t kFirstOwnAttachments = 100663;
constexpr std::int32_t kFirstMapName = 100667;
constexpr std::int32_t kFirstVariables = 100694;
constexpr std::int32_t kFirstVariableFlag = 100700;
constexpr std::int32_t kFirstLastDesignByte = 100701;
constexpr std::int32_t kFirstSolid = 100704;
constexpr std::int32_t kFirstDerivedValues = 100708;
constexpr std::int32_t kFirstPhysicsBit40 = 100709;
constexpr std::int32_t kFirstSlotNames = 100720;
constexpr std::int32_t kFirstTint = 100742;
constexpr std::int32_t kFirstLastTargets = 100761;
constexpr std::int32_t kFirstColorCount = 100765;
constexpr std::int32_t kPeekedEquipmentVersion = 100774;
constexpr std::int32_t kFirstFloatKeys = 100783;

constexpr std::int32_t kOldLastPart = 9;
constexpr std::int32_t kOldLastSlot = 11;
constexpr std::int32_t kAreaBoxReach = 272;
constexpr std::int32_t kAreaBoxHeight = 256;

// Smallest stored entries, to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinPartSize = 20;
constexpr std::int32_t kStatisticSize = 24;
constexpr std::int32_t kMinItemSize = 21;
constexpr std::int32_t kMinEquipmentSize = 32;
constexpr std::int32_t kIntSize = 4;
constexpr std::int32_t kMinVariableSize = 9;
constexpr std::int32_t kPairSize = 8;
constexpr std::int32_t kWaypointSize = 16;

// Old per-event scripts become triggers in this order.
constexpr OldScriptEvent kOldActorEvents[] = {
    {0, u"Trigger.Actor.Action", nullptr, nullptr},
    {6, u"Trigger.Actor.TouchedActor", u"\"Character\"", u"1"},
    {7, u"Trigger.Actor.TouchedActor", u"\"Character\"", u"0"},
    {8, u"Trigger.Actor.TouchedActor", u"\"Vehicle\"", u"1"},
    {9, u"Trigger.Actor.TouchedActor", u"\"Vehicle\"", u"0"},
    {10, u"Trigger.Actor.DamagedActor", u"\"Character\"", u"1"},
    {11, u"Trigger.Actor.DamagedActor", u"\"Character\"", u"0"},
    {3, u"Trigger.Actor.Killed", nullptr, nullptr},
    {4, u"Trigger.Actor.Checked", nullptr, nullptr},
    {1, u"Trigger.Actor.SawEnemy", u"\"Character\"", nullptr},
    {2, u"Trigger.Actor.LostEnemy", u"\"Character\"", nullptr},
    {5, u"Trigger.Actor.Exited", u"\"Character\"", u"1"},
};
// The slots of the old scripts in file order.
constexpr int kOldScriptOrder[] = {0, 6, 7, 8, 9, 10, 11, 3, 4, 1, 2, 5};

float ReadHeading(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  if (version >= kFirstHeadingAngle) return BufferReadSingle(buffer, offset);
  return DirectionToAngle(BufferReadLong(buffer, offset));
}

void ReadParts(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  std::int32_t colorLast = 0;
  if (version >= kFirstColorCount) colorLast = std::max(BufferReadLong(buffer, offset), -1);
  std::int32_t partLast = kOldLastPart;
  if (version >= kFirstSlotNames) partLast = BufferReadLastIndex(buffer, offset, kMinPartSize);
  // The stored colours of every part must fit in the bytes left.
  BufferRequire(buffer, offset,
                (static_cast<std::int64_t>(partLast) + 1) * (static_cast<std::int64_t>(colorLast) + 1) * 4);
  actor.parts.assign(static_cast<std::size_t>(partLast + 1), AppearancePart());
  std::size_t kept = 0;
  for (std::int32_t k = 0; k <= partLast; ++k) {
    AppearancePart part;
    bool keep = true;
    if (version >= kFirstSlotNames) {
      part.slot = SymbolIntern(BufferReadString(buffer, offset));
      part.spriteSetId = BufferReadIdentifier(buffer, offset);
      part.spriteSet = -2;
    } else {
      // Old files number their parts by slot; there are only twelve slots.
      keep = k <= kOldLastSlot;
      if (keep) part.slot = objectDefaults.appearanceSlots[static_cast<std::size_t>(k)];
      part.spriteSet = -1;
      if (k == 9) {
        BufferRequire(buffer, offset, 8);
        offset += 8;
      }
    }
    // Only eight colours have a place; further stored colours are passed over.
    for (std::int32_t c = 0; c <= colorLast; ++c) {
      const auto color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
      if (c < static_cast<std::int32_t>(kActorColorCount)) part.colors[static_cast<std::size_t>(c)] = color;
    }
    if (keep) actor.parts[kept++] = part;
  }
  actor.parts.resize(kept);
}

void ReadOldScripts(const ByteList& buffer, std::int32_t& offset, std::int32_t version, bool withState,
                    std::array<Script, 12>& scripts) {
  const std::size_t count = version >= kFirstOldSlot5 ? 12 : 11;
  for (std::size_t i = 0; i < count; ++i) {
    ReadScript(buffer, offset, scripts[static_cast<std::size_t>(kOldScriptOrder[i])], withState, true, 1, true);
  }
}

void ReadStatistics(const ByteList& buffer, std::int32_t& offset, Actor& actor) {
  const std::vector<Statistic>& statistics = gameData.statistics;
  actor.statistics.assign(statistics.size(), StatisticValue());
  for (std::size_t i = 0; i < statistics.size(); ++i) actor.statistics[i].id = statistics[i].id;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kStatisticSize);
  for (std::int32_t i = 0; i <= last; ++i) {
    const Identifier id = BufferReadIdentifier(buffer, offset);
    const auto found = std::find_if(statistics.begin(), statistics.end(),
                                    [&id](const Statistic& statistic) { return statistic.id == id; });
    if (found == statistics.end()) {
      BufferRequire(buffer, offset, 8);
      offset += 8;
      continue;
    }
    StatisticValue& value = actor.statistics[static_cast<std::size_t>(found - statistics.begin())];
    value.currentValue = BufferReadLong(buffer, offset);
    value.baseValue = BufferReadLong(buffer, offset);
  }
}

void CompleteAppearance(Actor& actor) {
  if (!mapObjectSettings.completeAppearance) return;
  const Actor& defaults = objectDefaults.actor;
  for (std::size_t slot = 1; slot <= 9; ++slot) {
    const std::int32_t symbol = objectDefaults.appearanceSlots[slot];
    const bool has = std::any_of(actor.parts.begin(), actor.parts.end(),
                                 [symbol](const AppearancePart& p) { return p.slot == symbol; });
    if (has) continue;
    AppearancePart part;
    part.slot = symbol;
    part.spriteSet = -1;
    if (slot < defaults.parts.size()) part.colors = defaults.parts[slot].colors;
    actor.parts.push_back(part);
  }
}

void ReadItems(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  const std::int32_t last =
      BufferReadLastIndex(buffer, offset, kMinItemSize + (version >= kFirstItemAmmunition ? 4 : 0));
  actor.items.assign(static_cast<std::size_t>(last + 1), InventoryEntry());
  for (InventoryEntry& entry : actor.items) {
    entry.itemId = BufferReadIdentifier(buffer, offset);
    entry.item = -2;
    entry.quantity = BufferReadLong(buffer, offset);
    entry.flag = BufferReadByte(buffer, offset);
    entry.ammunition = version >= kFirstItemAmmunition ? BufferReadLong(buffer, offset) : 0;
  }
}

void ReadEquipment(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  const std::vector<Identifier>& areas = mapObjectSettings.equipmentAreaIds;
  actor.equipment.assign(areas.size(), InventoryEntry());
  for (std::size_t i = 0; i < areas.size(); ++i) {
    actor.equipment[i].areaId = areas[i];
    actor.equipment[i].item = -1;
  }
  const std::int32_t entrySize = version >= kFirstEquipmentAmmunition ? 36 : 32;
  std::int32_t last = BufferReadLong(buffer, offset);
  if (version == kPeekedEquipmentVersion) {
    // Files of this version can store a wrong count: four bytes of 255 just
    // after one entry per area mark the true count. A peek past the end of
    // the buffer finds no mark.
    const std::int64_t peek = static_cast<std::int64_t>(offset) + 36 * static_cast<std::int64_t>(areas.size());
    if (peek >= 0 && peek + 4 <= static_cast<std::int64_t>(buffer.size()) &&
        std::all_of(buffer.begin() + peek, buffer.begin() + peek + 4, [](std::uint8_t b) { return b == 255; })) {
      last = static_cast<std::int32_t>(areas.size()) - 1;
    }
  }
  if (last < 0) return;
  BufferRequire(buffer, offset, (static_cast<std::int64_t>(last) + 1) * entrySize);
  for (std::int32_t i = 0; i <= last; ++i) {
    const Identifier areaId = BufferReadIdentifier(buffer, offset);
    const auto found = std::find(areas.begin(), areas.end(), areaId);
    if (found == areas.end()) {
      offset += entrySize - 16;
      continue;
    }
    InventoryEntry& entry = actor.equipment[static_cast<std::size_t>(found - areas.begin())];
    entry.itemId = BufferReadIdentifier(buffer, offset);
    entry.item = -2;
    entry.ammunition = version >= kFirstEquipmentAmmunition ? BufferReadLong(buffer, offset) : 0;
  }
}

std::vector<std::int32_t> ReadIntList(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kIntSize);
  std::vector<std::int32_t> list(static_cast<std::size_t>(last + 1));
  for (std::int32_t& value : list) value = BufferReadLong(buffer, offset);
  return list;
}

std::vector<ValuePair> ReadPairList(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kPairSize);
  std::vector<ValuePair> list(static_cast<std::size_t>(last + 1));
  for (ValuePair& pair : list) {
    pair.first = BufferReadLong(buffer, offset);
    pair.second = BufferReadLong(buffer, offset);
  }
  return list;
}

void ReadVehicleBlock(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  if (version < kFirstVehicleBlock) {
    actor.vehicleValue1 = -0.15f;
    actor.vehicleValue15 = 15;
    actor.physicsFlags = 75;
    return;
  }
  actor.gas = BufferReadSingle(buffer, offset);
  actor.maxGas = BufferReadSingle(buffer, offset);
  actor.vehicleValue1 = BufferReadSingle(buffer, offset);
  actor.vehicleValue2 = BufferReadSingle(buffer, offset);
  actor.vehicleValue3 = BufferReadSingle(buffer, offset);
  if (version >= kFirstDerivedValues) {
    actor.derivedValue1 = BufferReadSingle(buffer, offset);
    actor.derivedValue2 = BufferReadSingle(buffer, offset);
  } else {
    actor.derivedValue1 = actor.vehicleValue3 * 20.0f;
    actor.derivedValue2 = actor.vehicleValue3 * 100.0f;
  }
  actor.vehicleValue15 = BufferReadLong(buffer, offset);
  actor.physicsFlags = BufferReadLong(buffer, offset);
  if (version < kFirstPhysicsThree && actor.physicsFlags == 1 && actor.vehicleValue2 == 0.0f)
    actor.physicsFlags = 3;
  if (version < kFirstPhysicsEleven && actor.physicsFlags == 3 && actor.vehicleValue2 == 0.0f)
    actor.physicsFlags = 11;
  if (version < kFirstPhysicsBit40) actor.physicsFlags |= 0x40;
}

void ReadTurretBlock(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  if (version < kFirstTurretBlock) {
    actor.vehicle = 1;
    actor.turretRange = 640;
    actor.turnRate = kPiOver2;
    actor.arc = kTwoPi;
    return;
  }
  actor.vehicle = BufferReadByte(buffer, offset);
  float keys[4];
  for (float& key : keys) {
    if (version >= kFirstFloatKeys) {
      key = BufferReadSingle(buffer, offset);
    } else {
      key = static_cast<float>(std::clamp<std::int32_t>(BufferReadInt16(buffer, offset), -1, 1));
    }
  }
  actor.keyTurning = keys[0];
  actor.keyForward = keys[1];
  actor.keyRising = keys[2];
  actor.keyStrafing = keys[3];
  actor.turret = BufferReadByte(buffer, offset);
  actor.turretRange = BufferReadLong(buffer, offset);
  actor.turnRate = BufferReadSingle(buffer, offset);
  actor.arc = BufferReadSingle(buffer, offset);
}

void ReadVariables(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  actor.variables.clear();
  if (version < kFirstVariables) return;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinVariableSize);
  actor.variables.resize(static_cast<std::size_t>(last + 1));
  for (ActorVariable& variable : actor.variables) {
    variable.symbol = SymbolIntern(BufferReadString(buffer, offset));
    BufferReadVariant(buffer, variable.value, offset);
    variable.extra1 = version >= kFirstVariableFlag ? BufferReadByte(buffer, offset) : 0;
  }
}

void ReadRunTimeBlockB(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Actor& actor) {
  actor.furtherActor2 = BufferReadLong(buffer, offset);
  actor.vehicleRidden = BufferReadLong(buffer, offset);
  actor.turretOperated = BufferReadLong(buffer, offset);
  actor.canMove = BufferReadByte(buffer, offset);
  actor.state = BufferReadLong(buffer, offset);
  actor.tickFlags = BufferReadLong(buffer, offset);
  actor.aiState = BufferReadLong(buffer, offset);
  actor.aiValue = BufferReadLong(buffer, offset);
  actor.stepTarget = BufferReadLong(buffer, offset);
  actor.stepDirection = BufferReadLong(buffer, offset);
  actor.stepLeft = BufferReadLong(buffer, offset);
  actor.path = ReadIntList(buffer, offset);
  actor.routePosition = BufferReadLong(buffer, offset);
  actor.areaBox.left = BufferReadLong(buffer, offset);
  actor.areaBox.top = BufferReadLong(buffer, offset);
  actor.areaBox.right = BufferReadLong(buffer, offset);
  actor.areaBox.bottom = BufferReadLong(buffer, offset);
  actor.aiFocus = BufferReadLong(buffer, offset);
  actor.pairs1 = ReadPairList(buffer, offset);
  actor.pairs2 = ReadPairList(buffer, offset);
  actor.targetActor = BufferReadLong(buffer, offset);
  actor.owningPlayer = BufferReadLong(buffer, offset);
  actor.partyMember = BufferReadLong(buffer, offset);
  actor.furtherActor1 = BufferReadLong(buffer, offset);
  actor.deathTimer = BufferReadLong(buffer, offset);
  actor.flashing = BufferReadByte(buffer, offset);
  actor.flashColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  for (std::int32_t& value : actor.flashValues) value = BufferReadLong(buffer, offset);
  actor.pose = SymbolIntern(BufferReadString(buffer, offset));
  actor.poseValue = BufferReadLong(buffer, offset);
  actor.customPoseTime = BufferReadLong(buffer, offset);
  actor.timeSinceHurt = BufferReadLong(buffer, offset);
  actor.driver = BufferReadLong(buffer, offset);
  actor.extension = BufferReadSingle(buffer, offset);
  actor.velocityX = BufferReadSingle(buffer, offset);
  actor.velocityY = BufferReadSingle(buffer, offset);
  actor.velocityZ = BufferReadSingle(buffer, offset);
  actor.velocity = BufferReadSingle(buffer, offset);
  actor.strafeSpeed = BufferReadSingle(buffer, offset);
  actor.arcStart = BufferReadSingle(buffer, offset);
  actor.arcEnd = BufferReadSingle(buffer, offset);
  actor.turningKey = BufferReadInt16(buffer, offset);
  actor.attachedEffects.clear();
  ReadAttachmentList(buffer, actor.attachedEffects, offset, version);
  actor.inMap = BufferReadByte(buffer, offset);
  actor.inMapExtra = BufferReadByte(buffer, offset);
  actor.inCamera = BufferReadByte(buffer, offset);
  actor.inCameraExtra = BufferReadByte(buffer, offset);
  actor.moved = BufferReadByte(buffer, offset);
  const std::int32_t waypointLast = BufferReadLastIndex(buffer, offset, kWaypointSize);
  actor.waypoints.assign(static_cast<std::size_t>(waypointLast + 1), Waypoint());
  for (Waypoint& waypoint : actor.waypoints) {
    waypoint.values[3] = BufferReadLong(buffer, offset);
    for (std::size_t i = 0; i < 3; ++i) waypoint.values[i] = BufferReadLong(buffer, offset);
  }
  actor.memorized = BufferReadLong(buffer, offset);
  actor.memorizedX = BufferReadSingle(buffer, offset);
  actor.memorizedY = BufferReadSingle(buffer, offset);
  actor.memorizedZ = BufferReadSingle(buffer, offset);
  if (actor.removed != 0) actor.targetActor = -1;
}

void DeriveRunTimeFields(Actor& actor) {
  actor.areaBox.left = RoundToLong(static_cast<double>(actor.x) - kAreaBoxReach);
  actor.areaBox.top = RoundToLong(static_cast<double>(actor.y) - kAreaBoxReach);
  actor.areaBox.right = RoundToLong(static_cast<double>(actor.x) + kAreaBoxReach);
  actor.areaBox.bottom = RoundToLong(static_cast<double>(actor.y) + kAreaBoxReach);
  actor.areaBox.front = RoundToLong(actor.z);
  actor.areaBox.back = RoundToLong(static_cast<double>(actor.z) + kAreaBoxHeight);
  actor.path.clear();
  actor.vehicleRidden = -1;
  actor.turretOperated = -1;
  actor.furtherActor1 = -1;
  actor.furtherActor2 = -1;
  actor.targetActor = -1;
  actor.aiFocus = -1;
  actor.pairs1.clear();
  actor.pairs2.clear();
  actor.owningPlayer = -1;
  actor.partyMember = -1;
  actor.timeSinceHurt = -1;
  actor.driver = -1;
  actor.attachedEffects.clear();
  actor.waypoints.clear();
  actor.memorized = -1;
  actor.canMove = 1;
  actor.turningKey = static_cast<std::int16_t>(std::clamp(RoundToLong(actor.keyTurning), -32768, 32767));
  actor.arcStart = actor.heading - actor.arc / 2;
  actor.arcEnd = actor.heading + actor.arc / 2;
}

// The grid position of a design actor: the position snapped to the path-finding grid.
std::int32_t SnapToGrid(float position) {
  const std::int32_t cell = dataSettings.gridCellSize;
  const std::int32_t origin = dataSettings.gridOrigin;
  if (cell <= 0) return RoundToLong(position);
  const double cells = RoundToLong((static_cast<double>(position) - origin) / cell);
  return RoundToLong(cells * cell + origin);
}

void ConvertOldTriggers(Actor& actor, std::array<Script, 12>& oldScripts) {
  actor.triggers = objectDefaults.actor.triggers;
  AddOldScriptTriggers(actor.triggers, oldScripts, kOldActorEvents, false);
}

}  // namespace

void ReadCharacter(const ByteList& buffer, std::int32_t& offset, Actor& actor, std::int32_t version,
                   bool withState, std::int32_t mapMode) {
  // Step 1: names.
  actor.fileVersion = version;
  actor.name = BufferReadString(buffer, offset);
  if (version < kFirstUnprefixedName) actor.name = u"Character " + actor.name;
  actor.displayName = version >= kFirstDisplayName ? BufferReadString(buffer, offset) : actor.name;

  // Step 2: appearance.
  actor.face = BufferReadByte(buffer, offset);
  ReadParts(buffer, offset, version, actor);
  actor.specular = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  actor.autoMoveStyle = BufferReadLong(buffer, offset);

  // Step 3: old per-event scripts.
  std::array<Script, 12> oldScripts;
  if (version < kFirstNoOldScripts) ReadOldScripts(buffer, offset, version, withState, oldScripts);

  // Step 4: heading, design bytes, statistics.
  actor.heading = ReadHeading(buffer, offset, version);
  actor.designByte1 = BufferReadByte(buffer, offset);
  actor.designByte2 = BufferReadByte(buffer, offset);
  ReadStatistics(buffer, offset, actor);

  // Step 5: position.
  actor.x = BufferReadSingle(buffer, offset);
  actor.y = BufferReadSingle(buffer, offset);
  actor.z = BufferReadSingle(buffer, offset);
  if (version < kFirstUnscaledY && mapMode == 2) {
    actor.y = static_cast<float>(RoundToLong(actor.y) / 32 + 16);
  }

  // Step 6: run-time block A, or the grid position derived.
  if (withState) {
    actor.gridX = BufferReadLong(buffer, offset);
    actor.gridY = BufferReadLong(buffer, offset);
    actor.gridHeading = ReadHeading(buffer, offset, version);
    if (version >= kFirstLastTargets) {
      actor.lastAttacked = BufferReadLong(buffer, offset);
      actor.lastDamaged = BufferReadLong(buffer, offset);
    } else {
      actor.lastAttacked = -1;
      actor.lastDamaged = -1;
    }
  } else {
    actor.gridX = SnapToGrid(actor.x);
    actor.gridY = SnapToGrid(actor.y);
    actor.gridHeading = actor.heading;
  }

  // Step 7: shadow, old part identifiers, appearance completion.
  actor.shadow = BufferReadByte(buffer, offset);
  actor.shadowColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  actor.designValue = BufferReadLong(buffer, offset);
  actor.speed = BufferReadSingle(buffer, offset);
  if (version < kFirstSlotNames) {
    for (AppearancePart& part : actor.parts) part.spriteSetId = BufferReadIdentifier(buffer, offset);
  }
  CompleteAppearance(actor);

  // Step 8: AI flags, items, equipment, route.
  actor.aiFlags = BufferReadLong(buffer, offset);
  actor.speedFactor = BufferReadSingle(buffer, offset);
  ReadItems(buffer, offset, version, actor);
  ReadEquipment(buffer, offset, version, actor);
  if (version < kFirstStoredAiBit && !withState && (actor.aiFlags & 1) != 0 &&
      (actor.equipment.empty() || IdIsEmpty(actor.equipment[0].itemId))) {
    actor.aiFlags &= ~1;
  }
  actor.route = ReadIntList(buffer, offset);

  // Step 9: state bytes, team, money, item reference.
  actor.removed = BufferReadByte(buffer, offset);
  actor.noDraw = BufferReadByte(buffer, offset);
  actor.noRect = BufferReadByte(buffer, offset);
  actor.solidToTouch = version >= kFirstSolid ? BufferReadByte(buffer, offset) : 1;
  if (version >= kFirstTeamId) {
    actor.teamId = BufferReadIdentifier(buffer, offset);
    actor.team = -2;
  } else {
    actor.team = std::min(BufferReadLong(buffer, offset), mapObjectSettings.teamLastIndex);
  }
  actor.experience = BufferReadLong(buffer, offset);
  BufferReadBytes(buffer, &actor.money, 8, offset);
  if (version >= kFirstPoints) actor.points = BufferReadLong(buffer, offset);
  if (version >= kFirstItemReference) {
    actor.itemReference.id = BufferReadIdentifier(buffer, offset);
    actor.itemReference.index = -2;
  } else {
    actor.itemReference.index = -1;
  }

  // Steps 10 and 11: vehicle and turret blocks.
  ReadVehicleBlock(buffer, offset, version, actor);
  ReadTurretBlock(buffer, offset, version, actor);

  // Step 12: scale and attached sprites.
  if (version >= kFirstScale) {
    actor.scaleX = BufferReadSingle(buffer, offset);
    actor.scaleY = BufferReadSingle(buffer, offset);
    actor.scaleZ = BufferReadSingle(buffer, offset);
  } else {
    actor.scaleX = actor.scaleY = actor.scaleZ = 1.0f;
  }
  actor.attachedSprites.clear();
  if (version >= kFirstAttachedSprites) ReadAttachmentList(buffer, actor.attachedSprites, offset, version);
  if (version < kFirstOwnAttachments) {
    if (actor.attachedSprites.empty()) actor.attachedSprites = objectDefaults.actor.attachedSprites;
    if (!actor.parts.empty() && actor.parts[0].spriteSet == -1 && !actor.attachedSprites.empty()) {
      actor.parts[0].colors[0] = actor.attachedSprites[0].color;
      actor.specular = static_cast<std::uint32_t>(actor.attachedSprites[0].valueD);
    }
  }

  // Step 13: template.
  if (version >= kFirstTemplateId) {
    actor.templateId = BufferReadIdentifier(buffer, offset);
  } else {
    IdFill(actor.templateId, 1);
  }
  actor.templateIndex = -2;

  // Step 14: map reference.
  actor.mapReference = ActorMapReference();
  if (version >= kFirstMapName) {
    actor.mapReference.name = BufferReadString(buffer, offset);
    actor.mapReference.kind = -2;
  } else if (version >= kFirstMapReference) {
    actor.mapReference.id = BufferReadIdentifier(buffer, offset);
    actor.mapReference.kind = -4;
  }
  if (version < kFirstAnyMapKept && !IdIsEmpty(actor.templateId)) {
    actor.mapReference.name = u"*";
    actor.mapReference.kind = -3;
  }

  // Step 15: the two further references.
  for (IndexedReference& reference : actor.furtherReferences) {
    if (version >= kFirstFurtherReferences) {
      reference.id = BufferReadIdentifier(buffer, offset);
      reference.index = -2;
    } else {
      reference.id = Identifier();
      reference.index = -3;
    }
  }

  // Step 16: tint.
  if (version >= kFirstTint) {
    actor.tint = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  } else if (!actor.parts.empty()) {
    actor.tint = actor.parts[0].colors[0] | 0x00FFFFFF;
    for (AppearancePart& part : actor.parts) part.colors[0] |= 0xFF000000;
  } else {
    actor.tint = kNoColor;
  }

  // Step 17: triggers.
  actor.triggers.clear();
  if (version >= kFirstTriggerList) {
    ReadEventList(buffer, offset, version, actor.triggers, withState, 1);
  } else {
    ConvertOldTriggers(actor, oldScripts);
  }

  // Steps 18 and 19: variables and the last design byte.
  ReadVariables(buffer, offset, version, actor);
  if (version >= kFirstLastDesignByte) actor.designByte = BufferReadByte(buffer, offset);

  // Steps 20 and 21: run-time block B, or its fields derived.
  if (withState) {
    ReadRunTimeBlockB(buffer, offset, version, actor);
  } else {
    DeriveRunTimeFields(actor);
  }
}

}  // namespace kiv
