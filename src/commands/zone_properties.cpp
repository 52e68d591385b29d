// Zones of a map: the area of their first rectangle, their flags, and
// emptying a zone in place.
#include "commands/map_object_access.h"
#include "commands/object_kind_commands.h"
#include "core/error.h"
#include "player/character_fields.h"
#include "script/script_value_ops.h"
#include "world/object_removal.h"
#include "world/object_resets.h"

namespace kiv {

namespace {

Zone& CalledZone(const InternalCall& call) { return CalledMapObject(call, &Map::zones); }

// The rectangle that collision reads and saves write; error 9 for a zone without one.
CollisionBox& ZoneArea(Zone& zone) {
  if (zone.shape.rectangles.empty()) RaiseError(kErrIndex, "Subscript out of range.");
  return zone.shape.rectangles.front();
}

// One side: an assignment marks the zone changed.
void ZoneSide(InternalCall& call, std::int32_t CollisionBox::*side) {
  Zone& zone = CalledZone(call);
  std::int32_t& value = ZoneArea(zone).*side;
  if (!call.Assigning()) {
    call.Answer(Variant::Long(value));
    return;
  }
  PropertySlot slot;
  slot.BindLong(value);
  AssignNow(call, slot);
  ZoneMoved(zone) = 1;
}

// Four arguments leave floor and ceiling as they are.
void ZonePosition(InternalCall& call) {
  Zone& zone = CalledZone(call);
  CollisionBox& area = ZoneArea(zone);
  const std::int32_t left = call.ArgumentLong(0), top = call.ArgumentLong(1);
  const std::int32_t right = call.ArgumentLong(2), bottom = call.ArgumentLong(3);
  std::int32_t floor = area.front, ceiling = area.back;
  if (call.argumentUpper > 3) {
    floor = call.ArgumentLong(4);
    ceiling = call.ArgumentLong(5);
  }
  area.left = left;
  area.top = top;
  area.right = right;
  area.bottom = bottom;
  area.front = floor;
  area.back = ceiling;
  ZoneMoved(zone) = 1;
}

// Every character in the zone leaves it (each raising the zone's LeftActor,
// whose scripts may change the map), then the zone is emptied where it stands.
void ZoneDelete(InternalCall& call) {
  const std::int32_t map = CalledMapIndex(call);
  const auto zone = static_cast<std::int32_t>(CalledObjectIndex(call, gameData.maps[map].zones.size()));
  RemoveZoneFromPlay(map, zone);
  if (map > gameData.maps.LastIndex()) return;
  if (static_cast<std::size_t>(zone) >= gameData.maps[map].zones.size()) return;
  ResetZoneState(map, zone);
}

constexpr InternalCommand kZoneCommands[] = {
    {"Name", [](InternalCall& call) { TextProperty(call, CalledZone(call).name); }},
    {"FullName", [](InternalCall& call) { FullNameProperty(call, CalledZone(call).name); }},
    {"Left", [](InternalCall& call) { ZoneSide(call, &CollisionBox::left); }},
    {"Top", [](InternalCall& call) { ZoneSide(call, &CollisionBox::top); }},
    {"Right", [](InternalCall& call) { ZoneSide(call, &CollisionBox::right); }},
    {"Bottom", [](InternalCall& call) { ZoneSide(call, &CollisionBox::bottom); }},
    {"Floor", [](InternalCall& call) { ZoneSide(call, &CollisionBox::front); }},
    {"Ceiling", [](InternalCall& call) { ZoneSide(call, &CollisionBox::back); }},
    {"Position", ZonePosition},
    {"Block", [](InternalCall& call) { call.slot.BindBoolean(CalledZone(call).Blocking()); }},
    {"NoRect", [](InternalCall& call) { call.slot.BindBoolean(CalledZone(call).Disabled()); }},
    {"Delete", ZoneDelete},
};

}  // namespace

void RunZoneProperty(InternalCall& call) {
  static const ObjectCommandTable table(kZoneCommands);
  table.Run(call);
}

std::span<const InternalCommand> ZoneCommands() { return kZoneCommands; }

}  // namespace kiv
