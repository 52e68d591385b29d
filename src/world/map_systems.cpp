#include "world/map_systems.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "data/game_data.h"
#include "data/sprite_set_queries.h"
#include "player/shell_state.h"
#include "world/field_system.h"
#include "world/map_system_fields.h"
#include "world/navigation_system.h"
#include "world/spawn_system.h"

namespace kiv {

MapSystemsState mapSystems;

namespace {

// Clears the relate context when the pass ends, however it ends.
struct RelateContextScope {
  RelateContextScope(std::int32_t map, std::int32_t character) {
    mapSystems.relateContextMap = map;
    mapSystems.relateContextCharacter = character;
  }
  ~RelateContextScope() {
    mapSystems.relateContextMap = -1;
    mapSystems.relateContextCharacter = -1;
  }
  RelateContextScope(const RelateContextScope&) = delete;
  RelateContextScope& operator=(const RelateContextScope&) = delete;
};

// Animations shown on an interface play once: held on their last frame when
// asked, else spent; spent entries leave the list.
void AgeInterfaceAnimations(std::int32_t map) {
  std::vector<Projectile>& list = gameData.maps[map].projectiles;
  for (auto k = static_cast<std::int32_t>(list.size()) - 1; k >= 0; --k) {
    Projectile& p = list[static_cast<std::size_t>(k)];
    const std::int64_t elapsed = static_cast<std::int64_t>(ProjectileElapsedMs(p)) + shell.frameElapsed;
    ProjectileElapsedMs(p) = static_cast<std::int32_t>(std::min<std::int64_t>(elapsed, std::numeric_limits<std::int32_t>::max()));
    if (ProjectileKind(p) == kProjectileAnimation) {
      const std::int32_t length = SpriteSetDuration(p.spriteSet);
      if (length < ProjectileElapsedMs(p)) {
        if (ProjectileHoldLastFrame(p) != 0) {
          ProjectileElapsedMs(p) = length;
        } else {
          ProjectileLifeLeft(p) = 0.0f;
        }
      }
    }
    if (!(ProjectileLifeLeft(p) > 0.0f)) list.erase(list.begin() + k);
  }
}

}  // namespace

void UpdateMapSystems(std::int32_t map, std::int32_t relateMap, std::int32_t relateCharacter, bool fieldsOnly) {
  const RelateContextScope scope(relateMap, relateCharacter);
  if (!fieldsOnly) RunSpawnSystem(map);
  if (!gameData.maps[map].isInterface) return;
  RunFieldSystem(map);
  RunNavigationSystem(map);
  AgeInterfaceAnimations(map);
}

void UpdateCarriedInterface(std::int32_t map, std::int32_t actor) {
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (actor < 0 || static_cast<std::size_t>(actor) >= actors.size()) return;
  Actor& a = actors[static_cast<std::size_t>(actor)];
  const std::int32_t carried = a.mapReference.kind;
  if (carried < 0 || carried > gameData.maps.LastIndex()) return;
  // The interface's own lists wait aside while the actor's copies stand in.
  Map& shown = gameData.maps[carried];
  std::vector<Field> ownFields = std::exchange(shown.fields, std::move(a.carriedFields));
  std::vector<Spawn> ownSpawns = std::exchange(shown.spawns, std::move(a.carriedSpawns));
  const auto restore = [&] {
    Map& m = gameData.maps[carried];
    std::vector<Actor>& list = gameData.maps[map].actors;
    if (static_cast<std::size_t>(actor) < list.size()) {
      list[static_cast<std::size_t>(actor)].carriedFields = std::move(m.fields);
      list[static_cast<std::size_t>(actor)].carriedSpawns = std::move(m.spawns);
    }
    m.fields = std::move(ownFields);
    m.spawns = std::move(ownSpawns);
  };
  try {
    UpdateMapSystems(carried, map, actor, false);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

bool HasTriggerEvent(const std::vector<Trigger>& triggers, std::int32_t lastIndex, std::int32_t eventCode) {
  const std::int64_t last = std::min<std::int64_t>(lastIndex, static_cast<std::int64_t>(triggers.size()) - 1);
  for (std::int64_t t = 0; t <= last; ++t) {
    const Trigger& trigger = triggers[static_cast<std::size_t>(t)];
    if (trigger.event == eventCode && trigger.script.hasStatements) return true;
  }
  return false;
}

}  // namespace kiv
