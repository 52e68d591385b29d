// Identifiers that copy objects into a map or interface: zones, lights and
// actors (copied from another actor or made from a template).
#include "commands/map_command_table.h"
#include "commands/map_object_copies.h"
#include "commands/object_executor.h"
#include "data/game_data.h"
#include "script/script_object_resolvers.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

void SpawnZone(InternalCall& call, std::int32_t map) {
  const ScriptValue source = ScriptResolveZone(call.ArgumentText(0), true);
  ZoneBox box;
  box.xFrom = call.ArgumentLong(2);
  box.xTo = call.ArgumentLong(3);
  box.yFrom = call.ArgumentLong(4);
  box.yTo = call.ArgumentLong(5);
  box.zTo = call.ArgumentLong(6);
  box.zFrom = call.ArgumentLong(7);
  CopyZone(map, source.mapIndex, VarToLong(source.value), call.ArgumentText(1), box);
}

void SpawnLight(InternalCall& call, std::int32_t map) {
  const ScriptValue source = ScriptResolveLight(call.ArgumentText(0), true);
  CopyLight(map, source.mapIndex, VarToLong(source.value), call.ArgumentText(1), call.ArgumentLong(2),
            call.ArgumentLong(3), call.ArgumentLong(4));
}

constexpr MapCommand kSpawn[] = {
    {"SpawnZone", SpawnZone},
    {"SpawnLight", SpawnLight},
};

}  // namespace

std::span<const MapCommand> MapSpawnCommands() { return kSpawn; }

}  // namespace kiv
