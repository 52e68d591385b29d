#include "support/map_object_writer.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/data_buffer.h"
#include "core/symbol_table.h"
#include "support/list_writer.h"
#include "support/script_writer.h"

namespace kiv::test {

namespace {

std::int32_t LastOf(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }

void Long(ByteList& b, std::int32_t& o, std::int64_t v) { BufferWriteLong(b, static_cast<std::int32_t>(v), o); }
void Color(ByteList& b, std::int32_t& o, std::uint32_t v) { BufferWriteLong(b, static_cast<std::int32_t>(v), o); }

void Script(ByteList& b, std::int32_t& o, bool shortForm) {
  ScriptFixture s = EmptyScriptFixture();
  s.shortForm = shortForm;
  WriteScriptFixture(b, o, s);
}

void Attachments(ByteList& b, std::int32_t& o, std::int32_t v, const std::vector<Attachment>& list) {
  std::vector<AttachmentFixture> fixtures;
  for (const Attachment& a : list) {
    AttachmentFixture f;
    f.spriteSetId = a.spriteSetId;
    f.a = a.valueA;
    f.b = a.valueB;
    f.c = a.valueC;
    f.f = a.byteF;
    f.g = a.byteG;
    f.e = a.byteE;
    f.color = a.color;
    f.d = a.valueD;
    fixtures.push_back(f);
  }
  WriteAttachmentListFixture(b, o, v, fixtures);
}

void Heading(ByteList& b, std::int32_t& o, std::int32_t v, float heading) {
  if (v >= 100543) {
    BufferWriteSingle(b, heading, o);
  } else {
    Long(b, o, AngleToDirection(heading));
  }
}

void Target(ByteList& b, std::int32_t& o, std::int32_t v, std::int32_t first, const MapTarget& target,
            const std::array<std::int32_t, 2>& values) {
  if (v >= 100667) {
    BufferWriteString(b, target.name, o);
  } else if (v >= first) {
    BufferWriteIdentifier(b, target.id, o);
  }
  if (v >= first) {
    Long(b, o, values[0]);
    Long(b, o, values[1]);
  }
}

void Rectangle(ByteList& b, std::int32_t& o, std::int32_t v, const CollisionShape& shape) {
  const CollisionBox box = shape.rectangles.empty() ? CollisionBox() : shape.rectangles[0];
  Long(b, o, box.left);
  Long(b, o, box.top);
  Long(b, o, box.right);
  Long(b, o, box.bottom);
  if (v >= 100567) {
    Long(b, o, box.front);
    Long(b, o, box.back);
  }
}

// An actor's triggers as the editor writes them: event name, parameters and
// the script, compiled or as text only.
std::vector<TriggerFixture> TriggerFixtures(const std::vector<Trigger>& triggers) {
  std::vector<TriggerFixture> fixtures;
  for (const Trigger& trigger : triggers) {
    TriggerFixture fixture;
    fixture.event = SymbolName(trigger.event);
    fixture.parameters = trigger.parameters;
    if (trigger.script.statements.empty()) {
      fixture.script.shortForm = false;
      fixture.script.text = trigger.script.text;
    } else {
      fixture.script = CompiledScriptFixture(trigger.script);
    }
    fixtures.push_back(std::move(fixture));
  }
  return fixtures;
}

}  // namespace

void WriteActorFixture(ByteList& b, std::int32_t& o, const Actor& a, std::int32_t v, bool withState,
                       const ActorWriteOptions& options) {
  BufferWriteString(b, a.name, o);
  if (v >= 100629) BufferWriteString(b, a.displayName, o);
  BufferWriteByte(b, a.face, o);
  const std::int32_t colorLast = v >= 100765 ? options.colorLast : 0;
  if (v >= 100765) Long(b, o, colorLast);
  auto colors = [&](const AppearancePart& part) {
    for (std::int32_t c = 0; c <= colorLast; ++c) {
      Color(b, o, c < 8 ? part.colors[static_cast<std::size_t>(c)] : 0x7E7E7E00u + static_cast<std::uint32_t>(c));
    }
  };
  if (v >= 100720) {
    Long(b, o, LastOf(a.parts.size()));
    for (const AppearancePart& part : a.parts) {
      BufferWriteString(b, SymbolName(part.slot), o);
      BufferWriteIdentifier(b, part.spriteSetId, o);
      colors(part);
    }
  } else {
    for (std::size_t k = 0; k < 10; ++k) {
      if (k == 9) Long(b, o, 0), Long(b, o, 0);
      colors(k < a.parts.size() ? a.parts[k] : AppearancePart());
    }
  }
  Color(b, o, a.specular);
  Long(b, o, a.autoMoveStyle);
  if (v < 100622) {
    for (int i = 0; i < (v >= 100602 ? 12 : 11); ++i) Script(b, o, withState);
  }
  Heading(b, o, v, a.heading);
  BufferWriteByte(b, a.designByte1, o);
  BufferWriteByte(b, a.designByte2, o);
  Long(b, o, LastOf(a.statistics.size() + static_cast<std::size_t>(options.unknownStatistics)));
  for (const StatisticValue& s : a.statistics) {
    BufferWriteIdentifier(b, s.id, o);
    Long(b, o, s.currentValue);
    Long(b, o, s.baseValue);
  }
  for (std::int32_t i = 0; i < options.unknownStatistics; ++i) {
    Identifier unknown;
    IdFill(unknown, static_cast<std::uint8_t>(0xE0 + i));
    BufferWriteIdentifier(b, unknown, o);
    Long(b, o, 777);
    Long(b, o, 888);
  }
  BufferWriteSingle(b, a.x, o);
  BufferWriteSingle(b, a.y, o);
  BufferWriteSingle(b, a.z, o);
  if (withState) {
    Long(b, o, a.gridX);
    Long(b, o, a.gridY);
    Heading(b, o, v, a.gridHeading);
    if (v >= 100761) {
      Long(b, o, a.lastAttacked);
      Long(b, o, a.lastDamaged);
    }
  }
  BufferWriteByte(b, a.shadow, o);
  Color(b, o, a.shadowColor);
  Long(b, o, a.designValue);
  BufferWriteSingle(b, a.speed, o);
  if (v < 100720) {
    for (std::size_t k = 0; k < 10; ++k) {
      BufferWriteIdentifier(b, k < a.parts.size() ? a.parts[k].spriteSetId : Identifier(), o);
    }
  }
  Long(b, o, a.aiFlags);
  BufferWriteSingle(b, a.speedFactor, o);
  Long(b, o, LastOf(a.items.size()));
  for (const InventoryEntry& e : a.items) {
    BufferWriteIdentifier(b, e.itemId, o);
    Long(b, o, e.quantity);
    BufferWriteByte(b, e.flag, o);
    if (v >= 100483) Long(b, o, e.ammunition);
  }
  std::vector<InventoryEntry> equipment;
  for (const InventoryEntry& e : a.equipment) {
    if (!IdIsEmpty(e.itemId)) equipment.push_back(e);
  }
  for (std::int32_t i = 0; i < options.unknownEquipment; ++i) {
    InventoryEntry unknown;
    IdFill(unknown.areaId, static_cast<std::uint8_t>(0xD0 + i));
    IdFill(unknown.itemId, 0x44);
    equipment.insert(equipment.begin(), unknown);
  }
  Long(b, o, options.equipmentLastOverride != -2 ? options.equipmentLastOverride : LastOf(equipment.size()));
  for (const InventoryEntry& e : equipment) {
    BufferWriteIdentifier(b, e.areaId, o);
    BufferWriteIdentifier(b, e.itemId, o);
    if (v >= 100484) Long(b, o, e.ammunition);
  }
  Long(b, o, LastOf(a.route.size()));
  for (std::int32_t value : a.route) Long(b, o, value);
  BufferWriteByte(b, a.removed, o);
  BufferWriteByte(b, a.noDraw, o);
  BufferWriteByte(b, a.noRect, o);
  if (v >= 100704) BufferWriteByte(b, a.solidToTouch, o);
  if (v >= 100643) {
    BufferWriteIdentifier(b, a.teamId, o);
  } else {
    Long(b, o, a.team);
  }
  Long(b, o, a.experience);
  BufferWriteBytes(b, &a.money, 8, o);
  if (v >= 100555) Long(b, o, a.points);
  if (v >= 100595) BufferWriteIdentifier(b, a.itemReference.id, o);
  if (v >= 100600) {
    BufferWriteSingle(b, a.gas, o);
    BufferWriteSingle(b, a.maxGas, o);
    BufferWriteSingle(b, a.vehicleValue1, o);
    BufferWriteSingle(b, a.vehicleValue2, o);
    BufferWriteSingle(b, a.vehicleValue3, o);
    if (v >= 100708) {
      BufferWriteSingle(b, a.derivedValue1, o);
      BufferWriteSingle(b, a.derivedValue2, o);
    }
    Long(b, o, a.vehicleValue15);
    Long(b, o, a.physicsFlags);
  }
  if (v >= 100604) {
    BufferWriteByte(b, a.vehicle, o);
    for (float key : {a.keyTurning, a.keyForward, a.keyRising, a.keyStrafing}) {
      if (v >= 100783) {
        BufferWriteSingle(b, key, o);
      } else {
        BufferWriteInt16(b, static_cast<std::int16_t>(key), o);
      }
    }
    BufferWriteByte(b, a.turret, o);
    Long(b, o, a.turretRange);
    BufferWriteSingle(b, a.turnRate, o);
    BufferWriteSingle(b, a.arc, o);
  }
  if (v >= 100636) {
    BufferWriteSingle(b, a.scaleX, o);
    BufferWriteSingle(b, a.scaleY, o);
    BufferWriteSingle(b, a.scaleZ, o);
  }
  if (v >= 100637) Attachments(b, o, v, a.attachedSprites);
  if (v >= 100611) BufferWriteIdentifier(b, a.templateId, o);
  if (v >= 100667) {
    BufferWriteString(b, a.mapReference.name, o);
  } else if (v >= 100614) {
    BufferWriteIdentifier(b, a.mapReference.id, o);
  }
  if (v >= 100657) {
    BufferWriteIdentifier(b, a.furtherReferences[0].id, o);
    BufferWriteIdentifier(b, a.furtherReferences[1].id, o);
  }
  if (v >= 100742) Color(b, o, a.tint);
  if (v >= 100620) WriteEventListFixture(b, o, v, withState, TriggerFixtures(a.triggers));
  if (v >= 100694) {
    Long(b, o, LastOf(a.variables.size()));
    for (const ActorVariable& variable : a.variables) {
      BufferWriteString(b, SymbolName(variable.symbol), o);
      BufferWriteVariant(b, variable.value, o);
      if (v >= 100700) BufferWriteByte(b, static_cast<std::uint8_t>(variable.extra1), o);
    }
  }
  if (v >= 100701) BufferWriteByte(b, a.designByte, o);
  if (!withState) return;
  Long(b, o, a.furtherActor2);
  Long(b, o, a.vehicleRidden);
  Long(b, o, a.turretOperated);
  BufferWriteByte(b, a.canMove, o);
  Long(b, o, a.state);
  Long(b, o, a.tickFlags);
  Long(b, o, a.aiState);
  Long(b, o, a.aiValue);
  Long(b, o, a.stepTarget);
  Long(b, o, a.stepDirection);
  Long(b, o, a.stepLeft);
  Long(b, o, LastOf(a.path.size()));
  for (std::int32_t value : a.path) Long(b, o, value);
  Long(b, o, a.routePosition);
  Long(b, o, a.areaBox.left);
  Long(b, o, a.areaBox.top);
  Long(b, o, a.areaBox.right);
  Long(b, o, a.areaBox.bottom);
  Long(b, o, a.aiFocus);
  for (const auto* pairs : {&a.pairs1, &a.pairs2}) {
    Long(b, o, LastOf(pairs->size()));
    for (const ValuePair& pair : *pairs) {
      Long(b, o, pair.first);
      Long(b, o, pair.second);
    }
  }
  Long(b, o, a.targetActor);
  Long(b, o, a.owningPlayer);
  Long(b, o, a.partyMember);
  Long(b, o, a.furtherActor1);
  Long(b, o, a.deathTimer);
  BufferWriteByte(b, a.flashing, o);
  Color(b, o, a.flashColor);
  for (std::int32_t value : a.flashValues) Long(b, o, value);
  BufferWriteString(b, SymbolName(a.pose), o);
  Long(b, o, a.poseValue);
  Long(b, o, a.customPoseTime);
  Long(b, o, a.timeSinceHurt);
  Long(b, o, a.driver);
  BufferWriteSingle(b, a.extension, o);
  for (float value : {a.velocityX, a.velocityY, a.velocityZ, a.velocity}) BufferWriteSingle(b, value, o);
  BufferWriteSingle(b, a.strafeSpeed, o);
  BufferWriteSingle(b, a.arcStart, o);
  BufferWriteSingle(b, a.arcEnd, o);
  BufferWriteInt16(b, a.turningKey, o);
  Attachments(b, o, v, a.attachedEffects);
  for (std::uint8_t value : {a.inMap, a.inMapExtra, a.inCamera, a.inCameraExtra, a.moved})
    BufferWriteByte(b, value, o);
  Long(b, o, LastOf(a.waypoints.size()));
  for (const Waypoint& w : a.waypoints) {
    Long(b, o, w.values[3]);
    for (std::size_t i = 0; i < 3; ++i) Long(b, o, w.values[i]);
  }
  Long(b, o, a.memorized);
  BufferWriteSingle(b, a.memorizedX, o);
  BufferWriteSingle(b, a.memorizedY, o);
  BufferWriteSingle(b, a.memorizedZ, o);
}

void WriteDoorFixture(ByteList& b, std::int32_t& o, const Door& d, std::int32_t v, bool isSave) {
  BufferWriteString(b, d.name, o);
  if (v >= 100629) BufferWriteString(b, d.displayName, o);
  BufferWriteByte(b, d.byte1, o);
  Long(b, o, d.value1);
  Long(b, o, d.value2);
  BufferWriteByte(b, d.byte2, o);
  BufferWriteByte(b, d.byte3, o);
  BufferWriteSingle(b, d.openAmount, o);
  if (isSave) BufferWriteSingle(b, d.openAmount2, o);
  BufferWriteByte(b, d.openStyle, o);
  BufferWriteSingle(b, d.x, o);
  BufferWriteSingle(b, d.y, o);
  BufferWriteSingle(b, d.z, o);
  BufferWriteByte(b, d.byte4, o);
  Long(b, o, d.value3);
  Long(b, o, d.value4);
  BufferWriteIdentifier(b, d.doorSetId, o);
  BufferWriteByte(b, d.byte5, o);
  BufferWriteByte(b, d.byte6, o);
  Target(b, o, v, 100540, d.target, d.targetValues);
  if (v >= 100569) Long(b, o, d.value5);
  for (int i = 0; i < 10; ++i) Script(b, o, isSave);
  BufferWriteByte(b, d.byte7, o);
  BufferWriteByte(b, d.byte8, o);
  BufferWriteString(b, d.text, o);
  BufferWriteIdentifier(b, d.itemId, o);
  if (v >= 100529) {
    Long(b, o, d.value6);
    if (isSave) Long(b, o, d.value7);
  }
}

void WriteZoneFixture(ByteList& b, std::int32_t& o, const Zone& z, std::int32_t v, bool isSave) {
  BufferWriteString(b, z.name, o);
  if (v >= 100629) BufferWriteString(b, z.displayName, o);
  Rectangle(b, o, v, z.keptShape);
  BufferWriteByte(b, z.byte1, o);
  Target(b, o, v, 100539, z.target, z.targetValues);
  if (v >= 100569) Long(b, o, z.value1);
  if (v < 100626) {
    for (int i = 0; i < 12; ++i) Script(b, o, isSave);
  }
  BufferWriteByte(b, z.byte2, o);
  if (v >= 100705) {
    std::vector<std::pair<Identifier, std::uint8_t>> flags;
    for (const TemplateFlag& flag : z.templateFlags) flags.emplace_back(flag.id, flag.flag);
    WriteTemplateFlagTableFixture(b, o, flags);
  }
  if (v >= 100626) WriteEventListFixture(b, o, v, isSave, {});
  if (isSave) BufferWriteByte(b, z.saveByte, o);
}

void WriteBoundaryFixture(ByteList& b, std::int32_t& o, const CollisionShape& shape, std::int32_t v) {
  Rectangle(b, o, v, shape);
}

void WritePickUpFixture(ByteList& b, std::int32_t& o, const PickUp& p, std::int32_t v, bool withState) {
  if (v >= 100524) {
    BufferWriteSingle(b, p.x, o);
    BufferWriteSingle(b, p.y, o);
  } else {
    Long(b, o, static_cast<std::int32_t>(p.x));
    Long(b, o, static_cast<std::int32_t>(p.y));
  }
  if (v >= 100574) BufferWriteSingle(b, p.z, o);
  BufferWriteByte(b, p.flag1, o);
  Long(b, o, p.values1[0]);
  Long(b, o, p.values1[1]);
  for (int shift = 24; shift >= 0; shift -= 8) BufferWriteByte(b, static_cast<std::uint8_t>(p.color >> shift), o);
  BufferWriteByte(b, p.flag2, o);
  Long(b, o, p.values2[0]);
  Long(b, o, p.values2[1]);
  BufferWriteIdentifier(b, p.spriteSetId, o);
  BufferWriteIdentifier(b, p.items[0].itemId, o);
  Long(b, o, p.items[0].quantity);
  Long(b, o, p.items[1].quantity);
  Long(b, o, p.respawnTime);
  BufferWriteBytes(b, &p.money, 8, o);
  Long(b, o, p.values3[0]);
  if (v >= 100555) Long(b, o, p.values3[1]);
  if (withState) {
    Long(b, o, p.respawnCountdown);
    Long(b, o, p.runValue);
  }
}

void WriteLightFixture(ByteList& b, std::int32_t& o, const Light& l, std::int32_t v) {
  BufferWriteString(b, l.name, o);
  if (v >= 100629) BufferWriteString(b, l.displayName, o);
  BufferWriteByte(b, l.enabled, o);
  BufferWriteSingle(b, l.x, o);
  BufferWriteSingle(b, l.y, o);
  BufferWriteSingle(b, v < 100566 ? l.z + 16.0f : l.z, o);
  Long(b, o, l.radius);
  BufferWriteSingle(b, l.horizontalFrom, o);
  BufferWriteSingle(b, l.horizontalTo, o);
  if (v >= 100774) {
    BufferWriteSingle(b, l.verticalFrom, o);
    BufferWriteSingle(b, l.verticalTo, o);
  }
  BufferWriteSingle(b, l.edgeIntensity, o);
  BufferWriteByte(b, l.red, o);
  BufferWriteByte(b, l.green, o);
  BufferWriteByte(b, l.blue, o);
  BufferWriteByte(b, l.subtractive, o);
  BufferWriteBytes(b, l.pattern.data(), static_cast<std::int32_t>(l.pattern.size()), o);
  Long(b, o, l.cycleLength);
}

void WriteSpeakerFixture(ByteList& b, std::int32_t& o, const Speaker& s, std::int32_t v) {
  BufferWriteString(b, s.name, o);
  if (v >= 100629) BufferWriteString(b, s.displayName, o);
  BufferWriteByte(b, s.enabled, o);
  BufferWriteSingle(b, s.x, o);
  BufferWriteSingle(b, s.y, o);
  BufferWriteSingle(b, v < 100566 ? s.z + 16.0f : s.z, o);
  Long(b, o, s.radius);
  BufferWriteSingle(b, s.startAngle, o);
  BufferWriteSingle(b, s.endAngle, o);
  BufferWriteIdentifier(b, s.soundSetId, o);
  BufferWriteBytes(b, s.pattern.data(), static_cast<std::int32_t>(s.pattern.size()), o);
  Long(b, o, s.cycleLength);
  if (v >= 100547) BufferWriteSingle(b, s.focus, o);
}

void WriteSpawnFixture(ByteList& b, std::int32_t& o, const Spawn& s, std::int32_t v, bool withState) {
  BufferWriteString(b, s.name, o);
  if (v >= 100629) BufferWriteString(b, s.displayName, o);
  BufferWriteSingle(b, s.x, o);
  BufferWriteSingle(b, s.y, o);
  BufferWriteSingle(b, s.z, o);
  for (int i = 0; i < 4; ++i) Script(b, o, withState);
  BufferWriteByte(b, s.paused, o);
  Long(b, o, s.delay);
  Long(b, o, s.interval);
  Long(b, o, s.count);
  Long(b, o, s.simultaneous);
  Long(b, o, s.proximity);
  if (withState) {
    Long(b, o, s.linkedActor);
    Long(b, o, s.time);
    Long(b, o, s.born);
    Long(b, o, s.died);
  }
}

void WriteFieldFixture(ByteList& b, std::int32_t& o, const Field& f, std::int32_t v, bool withState) {
  BufferWriteString(b, f.name, o);
  if (v >= 100629) BufferWriteString(b, f.displayName, o);
  BufferWriteByte(b, f.face, o);
  if (v >= 100496) {
    for (std::size_t i = 0; i < kFieldStateCount; ++i) {
      Color(b, o, f.colorsA[i]);
      Color(b, o, f.colorsB[i]);
    }
  } else {
    Color(b, o, f.colorsA[0]);
    Color(b, o, f.colorsB[0]);
  }
  BufferWriteSingle(b, f.x, o);
  BufferWriteSingle(b, f.y, o);
  BufferWriteSingle(b, f.z, o);
  for (float size : {f.width, f.height, f.depth}) {
    if (v >= 100754) {
      BufferWriteSingle(b, size, o);
    } else {
      Long(b, o, static_cast<std::int32_t>(size));
    }
  }
  if (v >= 100550) Long(b, o, f.lineHeight);
  BufferWriteByte(b, f.shadow, o);
  if (v >= 100496) {
    for (std::uint32_t color : f.colorsC) Color(b, o, color);
  } else {
    Color(b, o, f.colorsC[0]);
  }
  BufferWriteByte(b, f.noDraw, o);
  if (v >= 100505) BufferWriteByte(b, f.nonExistent, o);
  if (v >= 100513) {
    for (std::int32_t value : f.layoutValues) Long(b, o, value);
  }
  int scripts = 2 + (v >= 100519 ? 1 : 0) + (v >= 100513 ? 3 : 0) + (v >= 100499 && v < 100724 ? 3 : 0) +
                (v >= 100554 ? 2 : 0) + (v >= 100586 ? 1 : 0) + (v >= 100696 ? 2 : 0);
  for (int i = 0; i < scripts; ++i) Script(b, o, withState);
  if (v >= 100724) WriteEventListFixture(b, o, v, withState, {});
  BufferWriteVariant(b, f.value1, o);
  BufferWriteVariant(b, f.value2, o);
  BufferWriteByte(b, f.contentKind, o);
  BufferWriteIdentifier(b, f.fontSetId, o);
  if (v >= 100552) BufferWriteByte(b, f.designByte1, o);
  BufferWriteIdentifier(b, f.spriteSetId, o);
  if (v < 100636) BufferWriteBytes(b, ByteList(16, 0x5A).data(), 16, o);
  BufferWriteByte(b, f.designByte2, o);
  if (v >= 100735) Long(b, o, f.valueDefault1);
  BufferWriteByte(b, f.designByte3, o);
  Long(b, o, f.designValues[0]);
  Long(b, o, f.designValues[1]);
  for (std::uint8_t byte : f.placementBytes) BufferWriteByte(b, byte, o);
  Long(b, o, f.anchorFlags);
  if (v >= 100496) BufferWriteByte(b, f.style, o);
  if (v >= 100636) {
    Color(b, o, f.specular);
    Long(b, o, f.valueAfterSpecular);
    Long(b, o, f.rotation);
  }
  if (v >= 100498) BufferWriteByte(b, f.selectable, o);
  if (v >= 100506) BufferWriteByte(b, f.disabled, o);
  if (v >= 100578) BufferWriteByte(b, f.byteDefault1, o);
  if (v >= 100697) BufferWriteByte(b, f.byteByContent, o);
  if (v >= 100579) BufferWriteByte(b, f.activationOrder, o);
  if (v >= 100504) Long(b, o, f.parent);
  if (v >= 100575) {
    Long(b, o, LastOf(f.actions.size()));
    for (const FieldAction& action : f.actions) {
      if (v >= 100667) {
        BufferWriteString(b, action.mapName, o);
      } else {
        BufferWriteIdentifier(b, action.mapId, o);
      }
      Long(b, o, action.code);
    }
  }
  if (v >= 100682) Long(b, o, f.view.followedPlayer);
  if (v >= 100724) {
    BufferWriteIdentifier(b, f.controlId, o);
    Long(b, o, f.controlValue);
  }
  if (v >= 100753) {
    BufferWriteSingle(b, f.fontScale, o);
    BufferWriteByte(b, f.sizeMode, o);
  }
  if (v >= 100770) BufferWriteByte(b, f.fontSizeMode, o);
  if (v == 100772) BufferWriteByte(b, 0xEE, o);
  if (!withState) return;
  const FieldView& view = f.view;
  Long(b, o, f.ownIndex);
  BufferWriteByte(b, f.appliedSelectable, o);
  BufferWriteByte(b, f.state, o);
  Long(b, o, f.spawner);
  Long(b, o, f.runValue);
  Long(b, o, f.previousPixelWidth);
  Long(b, o, f.previousPixelHeight);
  BufferWriteByte(b, f.runByte, o);
  BufferWriteByte(b, view.byte2, o);
  Long(b, o, view.int1);
  BufferWriteByte(b, view.byte1, o);
  // View values 1, 2, 4, 5, 3, 6, 7, 8 (pan start x, y, z, target x, y, z, elapsed, duration).
  for (std::int32_t x : {view.panStartX, view.panStartY, view.panTargetX, view.panTargetY, view.panStartZ,
                         view.panTargetZ, view.panElapsed, view.panDuration})
    Long(b, o, x);
  Long(b, o, view.ownMap);
  Long(b, o, view.followedCharacter);
  Long(b, o, view.transitionKind);  // value 9
  BufferWriteByte(b, view.panning, o);
  for (std::int32_t x : {static_cast<std::int32_t>(view.transitionColor), view.transitionElapsed,
                         view.transitionDuration})
    Long(b, o, x);
  BufferWriteByte(b, view.transitionMode, o);
  for (std::int32_t x : {static_cast<std::int32_t>(view.flashColor), view.flashCount, view.flashElapsed,
                         view.flashDuration})
    Long(b, o, x);
  BufferWriteByte(b, view.flashRepeat, o);
  BufferWriteSingle(b, view.shakeAngle, o);
  for (std::int32_t x : {view.shakeAmplitude, view.shakeCount, view.shakeElapsed, view.shakeDuration}) Long(b, o, x);
  for (float x : {view.pitch, view.distance, view.distance2, view.yaw}) BufferWriteSingle(b, x, o);
  Long(b, o, view.value22);
  Long(b, o, LastOf(f.runtimeEntries.size()));
  for (const FieldRuntimeEntry& entry : f.runtimeEntries) {
    for (std::size_t n : {4, 5, 1, 9, 7, 8, 6, 2, 3}) Long(b, o, entry.values[n - 1]);
  }
}

void WritePositionedTextFixture(ByteList& b, std::int32_t& o, const PositionedText& t) {
  BufferWriteSingle(b, t.x, o);
  BufferWriteSingle(b, t.y, o);
  BufferWriteSingle(b, t.z, o);
  BufferWriteString(b, t.text, o);
}

void WriteProjectileFixture(ByteList& b, std::int32_t& o, const Projectile& p) {
  for (float x : {p.x, p.y, p.z, p.heading, p.speed}) BufferWriteSingle(b, x, o);
  Long(b, o, p.item);
  Long(b, o, p.owner);
  BufferWriteSingle(b, p.remainingRange, o);
  Long(b, o, p.age);
  Long(b, o, p.currentZone);
  Long(b, o, p.spriteSet);
  Long(b, o, p.explosionSpriteSet);
  BufferWriteByte(b, p.kind, o);
  Long(b, o, p.damagePhase);
  Long(b, o, p.damage);
  Long(b, o, p.damageInterval);
  BufferWriteByte(b, p.motionMode, o);
  BufferWriteByte(b, p.holdLastFrame, o);
  Long(b, o, p.specular);
  for (float x : {p.scaleX, p.scaleY, p.scaleZ}) BufferWriteSingle(b, x, o);
  BufferWriteByte(b, p.triggered, o);
  Long(b, o, p.homingRange);
  Long(b, o, p.hitSound);
  BufferWriteByte(b, p.chargeTrigger, o);
  BufferWriteSingle(b, p.turnRate, o);
  BufferWriteSingle(b, p.verticalSpeed, o);
}

void WriteLegacyVehicleFixture(ByteList& b, std::int32_t& o, const LegacyVehicleFixture& v, bool withState) {
  BufferWriteString(b, v.name, o);
  BufferWriteByte(b, v.face, o);
  Long(b, o, v.color);
  Long(b, o, v.designInt);
  for (int i = 0; i < 9; ++i) Script(b, o, withState);
  BufferWriteSingle(b, v.heading, o);
  BufferWriteByte(b, v.byte1, o);
  BufferWriteByte(b, v.byte2, o);
  Long(b, o, v.statisticValue);
  Long(b, o, v.statisticBase);
  BufferWriteSingle(b, v.gas, o);
  BufferWriteSingle(b, v.maxGas, o);
  BufferWriteSingle(b, v.x, o);
  BufferWriteSingle(b, v.y, o);
  BufferWriteSingle(b, v.z, o);
  BufferWriteByte(b, 1, o);
  Long(b, o, 0x22000000);
  Long(b, o, 5);
  BufferWriteIdentifier(b, v.spriteSetId, o);
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, 0, o);
  BufferWriteIdentifier(b, v.itemId, o);
  if (withState) BufferWriteBytes(b, ByteList(24, 0).data(), 24, o);
}

void WriteLegacyTurretFixture(ByteList& b, std::int32_t& o, const LegacyTurretFixture& t, std::int32_t v,
                              bool withState) {
  BufferWriteString(b, t.name, o);
  BufferWriteByte(b, 0, o);
  Long(b, o, 0);
  Long(b, o, 0);
  for (int i = 0; i < 10; ++i) Script(b, o, withState);
  BufferWriteSingle(b, t.heading, o);
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, 0, o);
  Long(b, o, t.designValue);
  Long(b, o, 0);
  for (float x : {t.x, t.y, t.z}) {
    if (v >= 100523) {
      BufferWriteSingle(b, x, o);
    } else {
      Long(b, o, static_cast<std::int32_t>(x));
    }
  }
  BufferWriteByte(b, 0, o);
  Long(b, o, 0);
  Long(b, o, 0);
  BufferWriteIdentifier(b, t.spriteSetId, o);
  Long(b, o, t.vehicleValue);
  BufferWriteIdentifier(b, t.itemId, o);
  BufferWriteSingle(b, t.arcStart, o);
  BufferWriteSingle(b, t.arcEnd, o);
  BufferWriteSingle(b, t.turnRate, o);
  if (v >= 100495) {
    BufferWriteInt16(b, t.triState, o);
  } else {
    BufferWriteByte(b, t.triState == 1 ? 0 : t.triState == -1 ? 1 : 2, o);
  }
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, t.turretFlag, o);
  BufferWriteByte(b, t.vehicleFlag, o);
  Long(b, o, t.team);
  Long(b, o, t.range);
  if (withState) {
    const std::int32_t count = 9 + (v >= 100496 ? 2 : 0);
    BufferWriteBytes(b, ByteList(static_cast<std::size_t>(count), 0).data(), count, o);
  }
}

void WriteLegacyDynamicObjectFixture(ByteList& b, std::int32_t& o, const LegacyDynamicObjectFixture& d,
                                     bool isSave) {
  BufferWriteString(b, d.name, o);
  BufferWriteIdentifier(b, d.spriteSetId, o);
  BufferWriteBytes(b, ByteList(11, 0).data(), 11, o);
  BufferWriteSingle(b, d.x, o);
  BufferWriteSingle(b, d.y, o);
  BufferWriteSingle(b, d.z, o);
  BufferWriteBytes(b, ByteList(25, 0).data(), 25, o);
  for (int i = 0; i < 8; ++i) Script(b, o, isSave);
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, 0, o);
  BufferWriteByte(b, d.flags, o);
  Long(b, o, 0);
}

void WriteMapBodyFixture(ByteList& b, std::int32_t& o, const MapBodyFixture& body, std::int32_t v, bool isSave) {
  if (v < 100636) {
    Long(b, o, LastOf(body.dynamicObjects.size()));
    for (const auto& d : body.dynamicObjects) WriteLegacyDynamicObjectFixture(b, o, d, isSave);
  }
  Long(b, o, LastOf(body.doors.size()));
  for (const Door& d : body.doors) WriteDoorFixture(b, o, d, v, isSave);
  Long(b, o, LastOf(body.zones.size()));
  for (const Zone& z : body.zones) WriteZoneFixture(b, o, z, v, isSave);
  Long(b, o, LastOf(body.boundaries.size()));
  for (const CollisionShape& s : body.boundaries) WriteBoundaryFixture(b, o, s, v);
  Long(b, o, LastOf(body.actors.size()));
  for (const Actor& a : body.actors) WriteActorFixture(b, o, a, v, isSave);
  if (v < 100601) {
    Long(b, o, LastOf(body.vehicles.size()));
    for (const auto& vehicle : body.vehicles) WriteLegacyVehicleFixture(b, o, vehicle, isSave);
  }
  if (v < 100590) {
    Long(b, o, LastOf(body.tilePlacements.size()));
    for (const auto& t : body.tilePlacements) {
      BufferWriteIdentifier(b, t.tileId, o);
      Long(b, o, t.x);
      Long(b, o, t.y);
    }
  }
  Long(b, o, LastOf(body.pickUps.size()));
  for (const PickUp& p : body.pickUps) WritePickUpFixture(b, o, p, v, isSave);
  Long(b, o, LastOf(body.lights.size()));
  for (const Light& l : body.lights) WriteLightFixture(b, o, l, v);
  if (v >= 100546) {
    Long(b, o, LastOf(body.speakers.size()));
    for (const Speaker& s : body.speakers) WriteSpeakerFixture(b, o, s, v);
  }
  if (isSave) {
    Long(b, o, LastOf(body.projectiles.size()));
    for (const Projectile& p : body.projectiles) WriteProjectileFixture(b, o, p);
  }
  if (v < 100565) {
    Long(b, o, LastOf(body.blocks.size()));
    for (const auto& block : body.blocks) {
      Long(b, o, block.x);
      Long(b, o, block.y);
      BufferWriteByte(b, block.style, o);
      BufferWriteByte(b, block.variant, o);
      BufferWriteBytes(b, ByteList(3, 0).data(), 3, o);
      Long(b, o, block.topLayer);
      Long(b, o, 0);
    }
  }
  if (v < 100605) {
    Long(b, o, LastOf(body.turrets.size()));
    for (const auto& t : body.turrets) WriteLegacyTurretFixture(b, o, t, v, isSave);
  }
  Long(b, o, LastOf(body.spawns.size()));
  for (const Spawn& s : body.spawns) WriteSpawnFixture(b, o, s, v, isSave);
  Long(b, o, LastOf(body.fields.size()));
  for (const Field& f : body.fields) WriteFieldFixture(b, o, f, v, isSave);
  if (v >= 100751) {
    Long(b, o, LastOf(body.positionedTexts.size()));
    for (const PositionedText& t : body.positionedTexts) WritePositionedTextFixture(b, o, t);
  }
}

}  // namespace kiv::test
