// Spawn points of a map: position, timer settings, counters and the actor
// they spawned last.
#include "commands/map_object_access.h"
#include "commands/object_kind_commands.h"
#include "core/error.h"
#include "script/script_object_names.h"
#include "script/script_value.h"

namespace kiv {

namespace {

Spawn& CalledSpawn(const InternalCall& call) { return CalledMapObject(call, &Map::spawns); }

// Settings and counters take no negative values.
void SpawnCount(InternalCall& call, std::int32_t Spawn::*field) {
  call.slot.BindLong(CalledSpawn(call).*field);
  call.slot.Clamp(0.0, kClampHighest);
}

// The actor the spawn is linked to, nullptr when none.
const Actor* LinkedActor(const InternalCall& call) {
  const Spawn& spawn = CalledSpawn(call);
  if (call.Assigning()) {
    RaiseObjectError(u"You cannot change the child of the spawn. This was attempted on spawn \"" + spawn.name +
                     u"\".");
  }
  if (spawn.linkedActor < 0) return nullptr;
  const std::vector<Actor>& actors = CalledMap(call).actors;
  if (static_cast<std::size_t>(spawn.linkedActor) >= actors.size()) RaiseError(kErrIndex, "Subscript out of range.");
  return &actors[static_cast<std::size_t>(spawn.linkedActor)];
}

void SpawnChild(InternalCall& call) {
  const Actor* actor = LinkedActor(call);
  call.Answer(Variant::Text(actor == nullptr ? std::u16string() : ScriptParseScriptingId(actor->name, kObjectCharacter)));
}

void SpawnChildActor(InternalCall& call) {
  const Actor* actor = LinkedActor(call);
  call.Answer(Variant::Text(actor == nullptr ? std::u16string() : MapObjectFullName(CalledMapIndex(call), actor->name)));
}

void SpawnReset(InternalCall& call) {
  Spawn& spawn = CalledSpawn(call);
  spawn.time = 0;
  spawn.born = 0;
  spawn.died = 0;
}

constexpr InternalCommand kSpawnCommands[] = {
    {"X", [](InternalCall& call) { call.slot.BindSingle(CalledSpawn(call).x); }},
    {"Y", [](InternalCall& call) { call.slot.BindSingle(CalledSpawn(call).y); }},
    {"Z", [](InternalCall& call) { call.slot.BindSingle(CalledSpawn(call).z); }},
    {"Paused", [](InternalCall& call) { call.slot.BindBoolean(CalledSpawn(call).paused); }},
    {"Delay", [](InternalCall& call) { SpawnCount(call, &Spawn::delay); }},
    {"Interval", [](InternalCall& call) { SpawnCount(call, &Spawn::interval); }},
    {"Count", [](InternalCall& call) { SpawnCount(call, &Spawn::count); }},
    {"Proximity", [](InternalCall& call) { SpawnCount(call, &Spawn::proximity); }},
    {"Simultaneous", [](InternalCall& call) { SpawnCount(call, &Spawn::simultaneous); }},
    {"Born", [](InternalCall& call) { SpawnCount(call, &Spawn::born); }},
    {"Died", [](InternalCall& call) { SpawnCount(call, &Spawn::died); }},
    {"Time", [](InternalCall& call) { SpawnCount(call, &Spawn::time); }},
    {"Reset", SpawnReset},
    {"Child", SpawnChild},
    {"ChildActor", SpawnChildActor},
};

}  // namespace

void RunSpawnProperty(InternalCall& call) {
  static const ObjectCommandTable table(kSpawnCommands);
  table.Run(call);
}

std::span<const InternalCommand> SpawnCommands() { return kSpawnCommands; }

}  // namespace kiv
