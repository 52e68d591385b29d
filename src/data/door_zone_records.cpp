#include <cmath>

#include "core/data_buffer.h"
#include "data/data_hooks.h"
#include "data/find_by_id.h"
#include "data/legacy_sections.h"
#include "data/map_object_readers.h"
#include "data/object_defaults.h"
#include "data/script_codec.h"
#include "data/sector_grid.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstDoorDisplayName = 100629;
constexpr std::int32_t kFirstDoorTarget = 100540;
constexpr std::int32_t kFirstZoneTarget = 100539;
constexpr std::int32_t kFirstTargetName = 100667;
constexpr std::int32_t kFirstTargetValue = 100569;
constexpr std::int32_t kFirstDoorTrailingValues = 100529;
constexpr std::int32_t kFirstRectangleDepth = 100567;
constexpr std::int32_t kFirstZoneTriggerList = 100626;
constexpr std::int32_t kFirstZoneTemplateFlags = 100705;
constexpr std::int32_t kOpenExtent = 100000;

// The ten door scripts in file order.
constexpr std::size_t kDoorScriptOrder[] = {0, 4, 5, 6, 7, 8, 9, 1, 2, 3};
// The twelve old zone scripts in file order.
constexpr std::size_t kZoneScriptOrder[] = {0, 1, 2, 3, 6, 7, 10, 11, 4, 5, 8, 9};

// The old zone scripts, as triggers.
constexpr OldScriptEvent kOldZoneEvents[] = {
    {0, u"Trigger.Zone.ActionBeside", nullptr, nullptr},
    {1, u"Trigger.Zone.ActionAbove", nullptr, nullptr},
    {2, u"Trigger.Zone.TouchedActor", u"\"Character\"", u"1"},
    {3, u"Trigger.Zone.TouchedActor", u"\"Character\"", u"0"},
    {6, u"Trigger.Zone.TouchedActor", u"\"Vehicle\"", u"1"},
    {7, u"Trigger.Zone.TouchedActor", u"\"Vehicle\"", u"0"},
    {4, u"Trigger.Zone.LeftActor", u"\"Character\"", u"1"},
    {5, u"Trigger.Zone.LeftActor", u"\"Character\"", u"0"},
    {8, u"Trigger.Zone.LeftActor", u"\"Vehicle\"", u"1"},
    {9, u"Trigger.Zone.LeftActor", u"\"Vehicle\"", u"0"},
    {10, u"Trigger.Zone.DamagedActor", u"\"Character\"", u"1"},
    {11, u"Trigger.Zone.DamagedActor", u"\"Character\"", u"0"},
};

void ReadTarget(const ByteList& buffer, std::int32_t& offset, std::int32_t version, std::int32_t firstTarget,
                MapTarget& target, std::array<std::int32_t, 2>& values) {
  target = MapTarget();
  if (version >= kFirstTargetName) {
    target.name = BufferReadString(buffer, offset);
    target.index = -2;
  } else if (version >= firstTarget) {
    target.id = BufferReadIdentifier(buffer, offset);
    target.index = -4;
  }
  if (version >= firstTarget) {
    values[0] = BufferReadLong(buffer, offset);
    values[1] = BufferReadLong(buffer, offset);
  } else {
    values = {16, 16};
  }
}

// The first rectangle of a shape stored raw: 16 bytes, or 24 with its heights.
void ReadFirstRectangle(const ByteList& buffer, std::int32_t& offset, std::int32_t version, CollisionShape& shape) {
  if (shape.rectangles.empty()) shape.rectangles.emplace_back();
  CollisionBox& box = shape.rectangles[0];
  box.left = BufferReadLong(buffer, offset);
  box.top = BufferReadLong(buffer, offset);
  box.right = BufferReadLong(buffer, offset);
  box.bottom = BufferReadLong(buffer, offset);
  if (version >= kFirstRectangleDepth) {
    box.front = BufferReadLong(buffer, offset);
    box.back = BufferReadLong(buffer, offset);
  }
}

// The rule of zones and map boundaries: a flat height or y extent of the
// first rectangle is opened to -100000..100000.
void OpenFlatExtents(CollisionShape& shape) {
  if (shape.rectangles.empty()) return;
  CollisionBox& box = shape.rectangles[0];
  if (box.front == 0 && box.back == 0) {
    box.front = -kOpenExtent;
    box.back = kOpenExtent;
  }
  if (box.top == 0 && box.bottom == 0) {
    box.top = -kOpenExtent;
    box.bottom = kOpenExtent;
  }
}

}  // namespace

void ReadDoor(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t mapIndex,
              std::int32_t index, bool isSave) {
  Door& door = map.doors.at(static_cast<std::size_t>(index));
  door.name = BufferReadString(buffer, offset);
  door.displayName = version >= kFirstDoorDisplayName ? BufferReadString(buffer, offset) : door.name;
  door.byte1 = BufferReadByte(buffer, offset);
  door.value1 = BufferReadLong(buffer, offset);
  door.value2 = BufferReadLong(buffer, offset);
  door.byte2 = BufferReadByte(buffer, offset);
  door.byte3 = BufferReadByte(buffer, offset);
  door.openAmount = BufferReadSingle(buffer, offset);
  door.openAmountShown = door.openAmount;
  door.openAmount2 = isSave ? BufferReadSingle(buffer, offset) : door.openAmount;
  door.openStyle = BufferReadByte(buffer, offset);
  door.x = BufferReadSingle(buffer, offset);
  door.y = BufferReadSingle(buffer, offset);
  door.z = BufferReadSingle(buffer, offset);
  door.byte4 = BufferReadByte(buffer, offset);
  door.value3 = BufferReadLong(buffer, offset);
  door.value4 = BufferReadLong(buffer, offset);
  door.doorSetId = BufferReadIdentifier(buffer, offset);
  door.byte5 = BufferReadByte(buffer, offset);
  door.byte6 = BufferReadByte(buffer, offset);
  ReadTarget(buffer, offset, version, kFirstDoorTarget, door.target, door.targetValues);
  door.value5 = version >= kFirstTargetValue ? BufferReadLong(buffer, offset) : 0;
  for (std::size_t slot : kDoorScriptOrder) ReadScript(buffer, offset, door.scripts[slot], isSave, true, 1, true);
  door.byte7 = BufferReadByte(buffer, offset);
  door.byte8 = BufferReadByte(buffer, offset);
  door.text = BufferReadString(buffer, offset);
  door.itemId = BufferReadIdentifier(buffer, offset);
  if (version >= kFirstDoorTrailingValues) {
    door.value6 = BufferReadLong(buffer, offset);
    if (isSave) door.value7 = BufferReadLong(buffer, offset);
  }

  door.doorSet = FindDoorSetById(door.doorSetId);
  door.item = FindItemById(door.itemId);
  dataHooks.BuildDoorCollisionShape(mapIndex, index, door.openAmount, door.collisionShape);
  SectorGridAddDoorAt(map, index, door.x, door.y, door.z, false);
}

void ReadZone(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index,
              bool isSave) {
  Zone& zone = map.zones.at(static_cast<std::size_t>(index));
  zone.name = BufferReadString(buffer, offset);
  zone.displayName = version >= kFirstDoorDisplayName ? BufferReadString(buffer, offset) : zone.name;
  zone.shape = objectDefaults.collisionShape;
  ReadFirstRectangle(buffer, offset, version, zone.shape);
  zone.keptShape = zone.shape;
  OpenFlatExtents(zone.shape);
  zone.byte1 = BufferReadByte(buffer, offset);
  ReadTarget(buffer, offset, version, kFirstZoneTarget, zone.target, zone.targetValues);
  zone.value1 = version >= kFirstTargetValue ? BufferReadLong(buffer, offset) : 0;
  std::array<Script, 12> oldScripts;
  if (version < kFirstZoneTriggerList) {
    for (std::size_t slot : kZoneScriptOrder) ReadScript(buffer, offset, oldScripts[slot], isSave, true, 1, true);
  }
  zone.byte2 = BufferReadByte(buffer, offset);
  ReadTemplateFlagTable(buffer, offset, version, zone.templateFlags, kFirstZoneTemplateFlags);
  zone.triggers.clear();
  if (version >= kFirstZoneTriggerList) {
    ReadEventList(buffer, offset, version, zone.triggers, isSave, 1);
  } else {
    AddOldScriptTriggers(zone.triggers, oldScripts, kOldZoneEvents, true);
  }
  if (isSave) zone.saveByte = BufferReadByte(buffer, offset);
}

void ReadBoundary(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                  std::int32_t index) {
  CollisionShape& shape = map.boundaries.at(static_cast<std::size_t>(index));
  shape = objectDefaults.collisionShape;
  ReadFirstRectangle(buffer, offset, version, shape);
  OpenFlatExtents(shape);
}

}  // namespace kiv
