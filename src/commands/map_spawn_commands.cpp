// Identifiers that copy objects into a map or interface: zones, lights and
// actors (copied from another actor or made from a template).
#include "commands/map_command_table.h"
#include "commands/map_object_copies.h"
#include "commands/object_executor.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "data/template_application.h"
#include "data/fixed_identifiers.h"
#include "script/call_frame.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/trigger_dispatch.h"
#include "world/placement.h"
#include "world/reference_fields.h"
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

// A copy starts with no ties to other objects or players: each index that
// names another actor, a vehicle, a player or a spawn, and the contact lists.
void CutLinks(Actor& actor) {
  actor.vehicleRidden = -1;
  actor.owningPlayer = -1;
  actor.driver = -1;
  actor.turretOperated = -1;
  actor.driverLink = -1;
  actor.furtherActor1 = -1;
  RemoveMark(actor) = -1;
  EnemyInSight(actor) = -1;
  MoveTargetActor(actor) = -1;
  LastAttacker(actor) = -1;
  LastVictim(actor) = -1;
  LeaderActor(actor) = -1;
  SpawnedBy(actor) = -1;
  TouchingZones(actor).clear();
  TouchingActors(actor).clear();
}

// Names, places and announces the actor appended last to the map's list.
void PlaceNewActor(InternalCall& call, std::int32_t map, bool spawned) {
  const std::u16string name = call.ArgumentText(1);
  const float x = static_cast<float>(VarToDouble(call.Argument(2)));
  const float y = static_cast<float>(VarToDouble(call.Argument(3)));
  const float z = static_cast<float>(VarToDouble(call.Argument(4)));
  const float heading = ScriptConvertRotation(call.Argument(5), true);
  const bool snap = call.argumentUpper >= 6 && call.ArgumentBoolean(6);
  const auto index = static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  Actor& actor = gameData.maps[map].actors.back();
  actor.name = name;
  if (spawned) actor.removed = 0;
  actor.x = x;
  actor.y = y;
  actor.z = z;
  actor.heading = heading;
  const std::int32_t placed = SetCharacterPosition(index, map, map, false, false);
  if (snap) SnapCharacterToGrid(map, placed, -1);
  ScriptRaiseObjectEvent(kOwnerActor, placed, kSymTriggerActorLoaded, map);
  ScriptRaiseObjectEvent(kOwnerActor, placed, kSymTriggerActorExistenceChanged, map);
}

void SpawnActor(InternalCall& call, std::int32_t map) {
  // Resolving may load the source's map: the list is read after it.
  const ScriptValue source = ScriptResolveActor(call.ArgumentText(0), -1, true, false);
  const std::int32_t sourceMap = source.mapIndex;
  const std::int32_t sourceActor = VarToLong(source.value);
  const std::vector<Actor>& actors = gameData.maps[sourceMap].actors;
  if (sourceActor < 0 || static_cast<std::size_t>(sourceActor) >= actors.size()) {
    RaiseObjectMessage("Actor \"" + Utf16ToAnsi(call.ArgumentText(0)) + "\" does not exist.");
  }
  Actor copy = actors[static_cast<std::size_t>(sourceActor)];
  for (Trigger& trigger : copy.triggers) RegisterScript(trigger.script);
  CutLinks(copy);
  gameData.maps[map].actors.push_back(std::move(copy));
  PlaceNewActor(call, map, true);
}

void CreateActor(InternalCall& call, std::int32_t map) {
  const std::int32_t templateIndex = VarToLong(ScriptLookupActorTemplate(call.ArgumentText(0), true).value);
  Actor actor;
  InitCharacterFromTemplate(actor, templateIndex, false);
  for (Trigger& trigger : actor.triggers) RegisterScript(trigger.script);
  ApplyActorTemplate(actor, false, false);
  gameData.maps[map].actors.push_back(std::move(actor));
  PlaceNewActor(call, map, false);
}

constexpr MapCommand kSpawn[] = {
    {"SpawnZone", SpawnZone},
    {"SpawnLight", SpawnLight},
    {"SpawnActor", SpawnActor},
    {"CreateActor", CreateActor},
};

}  // namespace

std::span<const MapCommand> MapSpawnCommands() { return kSpawn; }

}  // namespace kiv
