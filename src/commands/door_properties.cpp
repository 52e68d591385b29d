// Doors of a map: position, look, and how far and which way they open.
#include "commands/map_object_access.h"
#include "commands/object_kind_commands.h"
#include "data/door_fields.h"
#include "script/script_convert.h"
#include "script/script_value_ops.h"
#include "world/actor_shapes.h"

namespace kiv {

namespace {

Door& CalledDoor(const InternalCall& call) { return CalledMapObject(call, &Map::doors); }

// The door's footprint follows its open amount and style.
void RebuildDoorShape(const InternalCall& call) {
  const std::int32_t map = CalledMapIndex(call);
  const auto door = static_cast<std::int32_t>(CalledObjectIndex(call, gameData.maps[map].doors.size()));
  Door& record = gameData.maps[map].doors[static_cast<std::size_t>(door)];
  BuildDoorCollisionShape(map, door, record.openAmount, record.collisionShape);
}

void DoorOpenAmount(InternalCall& call) {
  Door& door = CalledDoor(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Single(door.openAmount));
    return;
  }
  PropertySlot slot;
  slot.BindSingle(door.openAmount);
  slot.Clamp(-1.0, 1.0);
  AssignNow(call, slot);
  RebuildDoorShape(call);
}

void DoorOpenStyle(InternalCall& call) {
  Door& door = CalledDoor(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Byte(door.openStyle));
    return;
  }
  door.openStyle = static_cast<std::uint8_t>(ScriptConvertDoorOpenStyle(VarToText(call.value), true));
  if (door.openStyle == 0) {
    door.openAmount = 0.0f;
    DoorSwing(door) = 0.0f;
  }
  RebuildDoorShape(call);
}

void DoorTile(InternalCall& call, std::uint8_t& (*field)(Door&)) {
  call.slot.BindByte(field(CalledDoor(call)));
  call.slot.Clamp(0.0, 7.0);
}

constexpr InternalCommand kDoorCommands[] = {
    {"Name", [](InternalCall& call) { TextProperty(call, CalledDoor(call).name); }},
    {"FullName", [](InternalCall& call) { FullNameProperty(call, CalledDoor(call).name); }},
    {"X", [](InternalCall& call) { call.slot.BindSingle(CalledDoor(call).x); }},
    {"Y", [](InternalCall& call) { call.slot.BindSingle(CalledDoor(call).y); }},
    {"Z", [](InternalCall& call) { call.slot.BindSingle(CalledDoor(call).z); }},
    {"OpenAmount", DoorOpenAmount},
    {"OpenFuture",
     [](InternalCall& call) {
       call.slot.BindSingle(DoorSwing(CalledDoor(call)));
       call.slot.Clamp(-1.0, 1.0);
     }},
    {"OpenStyle", DoorOpenStyle},
    {"TileX", [](InternalCall& call) { DoorTile(call, DoorTileX); }},
    {"TileY", [](InternalCall& call) { DoorTile(call, DoorTileY); }},
    {"Color", [](InternalCall& call) { call.slot.BindLong(DoorColour(CalledDoor(call))); }},
    {"Face", [](InternalCall& call) { call.slot.BindBoolean(DoorFace(CalledDoor(call))); }},
    {"Specular", [](InternalCall& call) { call.slot.BindLong(DoorSpecular(CalledDoor(call))); }},
    {"Shadow", [](InternalCall& call) { call.slot.BindBoolean(DoorCastsShadow(CalledDoor(call))); }},
    {"ShadowColor", [](InternalCall& call) { call.slot.BindLong(DoorShadowColour(CalledDoor(call))); }},
    {"NoDraw", [](InternalCall& call) { call.slot.BindBoolean(DoorNoDraw(CalledDoor(call))); }},
    {"NoRect", [](InternalCall& call) { call.slot.BindBoolean(CalledDoor(call).Inactive()); }},
};

}  // namespace

void RunDoorProperty(InternalCall& call) {
  static const ObjectCommandTable table(kDoorCommands);
  table.Run(call);
}

std::span<const InternalCommand> DoorCommands() { return kDoorCommands; }

}  // namespace kiv
