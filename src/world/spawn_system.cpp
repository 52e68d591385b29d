#include "world/spawn_system.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/game_data.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/player_control.h"
#include "script/trigger_dispatch.h"
#include "world/placement.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstSpawnEvent = 0;
constexpr std::int32_t kEverySpawnEvent = 1;
constexpr std::int32_t kLastSpawnEvent = 2;
constexpr std::int32_t kActorLoaded = 552;            // Trigger.Actor.Loaded
constexpr std::int32_t kActorExistenceChanged = 553;  // Trigger.Actor.ExistenceChanged

bool SpawnExists(std::int32_t map, std::int32_t spawn) {
  return static_cast<std::size_t>(spawn) < gameData.maps[map].spawns.size();
}

Spawn& SpawnAt(std::int32_t map, std::int32_t spawn) {
  return gameData.maps[map].spawns[static_cast<std::size_t>(spawn)];
}

// True when the current player's controlled character stands on this map
// within the spawn's activation radius.
bool PlayerWithinRadius(std::int32_t map, const Spawn& spawn) {
  const PlayerControlState control = ScriptPlayerControl(shell.currentPlayer);
  if (control.currentMap != map || control.controlledMember < 0) return false;
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  if (control.controlledCharacter < 0 || static_cast<std::size_t>(control.controlledCharacter) >= actors.size())
    return false;
  const Actor& member = actors[static_cast<std::size_t>(control.controlledCharacter)];
  const double dx = static_cast<double>(member.x) - spawn.x;
  const double dy = static_cast<double>(member.y) - spawn.y;
  return std::sqrt(dx * dx + dy * dy) <= spawn.proximity;
}

// Spawn events relate to the character the spawn copies, not to the copy.
void RunSpawnEvent(std::int32_t map, std::int32_t spawn, std::int32_t event) {
  TriggerRun run;
  run.ownerKind = kOwnerSpawn;
  run.ownerIndex = spawn;
  run.subIndex = event;
  run.map = map;
  run.relateActor = SpawnAt(map, spawn).linkedActor;
  ScriptRunTrigger(run);
}

// Appends a copy of the template character, in play and on the grid, and
// announces it.
void SpawnCopy(std::int32_t map, std::int32_t templateActor) {
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (static_cast<std::size_t>(templateActor) >= actors.size()) return;
  Actor copy = actors[static_cast<std::size_t>(templateActor)];
  copy.removed = 0;
  actors.push_back(std::move(copy));
  const auto index = static_cast<std::int32_t>(actors.size()) - 1;
  SnapCharacterToGrid(map, index, -1);
  ScriptRaiseObjectEvent(kOwnerActor, index, kActorLoaded, map);
  ScriptRaiseObjectEvent(kOwnerActor, index, kActorExistenceChanged, map);
}

// Creates every character that fell due. A spawn without an interval spawns
// at most once per tick (the due count would divide by zero).
void SpawnDue(std::int32_t map, std::int32_t s) {
  bool spawnedThisTick = false;
  while (SpawnExists(map, s)) {
    Spawn& spawn = SpawnAt(map, s);
    if (spawn.interval == 0) {
      if (spawnedThisTick) return;
    } else {
      const std::int64_t due = (static_cast<std::int64_t>(spawn.time) - spawn.delay) / spawn.interval;
      if (spawn.born >= due + 1) return;
    }
    if (spawn.count != 0 && spawn.born >= spawn.count) return;
    spawn.born += 1;
    spawnedThisTick = true;
    if (spawn.born == 1) RunSpawnEvent(map, s, kFirstSpawnEvent);
    if (!SpawnExists(map, s)) return;
    RunSpawnEvent(map, s, kEverySpawnEvent);
    if (!SpawnExists(map, s)) return;
    if (SpawnAt(map, s).linkedActor >= 0) SpawnCopy(map, SpawnAt(map, s).linkedActor);
    if (!SpawnExists(map, s)) return;
    if (SpawnAt(map, s).born == SpawnAt(map, s).count) RunSpawnEvent(map, s, kLastSpawnEvent);
    if (!SpawnExists(map, s) || SpawnAt(map, s).paused == 1) return;
  }
}

}  // namespace

void RunSpawnSystem(std::int32_t map) {
  gameData.currentActivity = "Spawn System";
  for (std::int32_t s = 0; SpawnExists(map, s); ++s) {
    Spawn& spawn = SpawnAt(map, s);
    if (spawn.paused != 0) continue;
    if (spawn.proximity != 0 && spawn.time < 1 && !PlayerWithinRadius(map, spawn)) continue;
    if (spawn.simultaneous != 0 && spawn.linkedActor != -1 &&
        static_cast<std::int64_t>(spawn.born) - spawn.died >= spawn.simultaneous)
      continue;
    // The timer stops at the largest Long rather than wrapping round.
    const std::int64_t time = static_cast<std::int64_t>(spawn.time) + shell.frameElapsed;
    spawn.time = static_cast<std::int32_t>(std::min<std::int64_t>(time, std::numeric_limits<std::int32_t>::max()));
    if (spawn.time >= spawn.delay) SpawnDue(map, s);
  }
}

}  // namespace kiv
