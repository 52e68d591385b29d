#include "world/movement_setup.h"

#include "data/game_data.h"
#include "script/trigger_hooks.h"
#include "world/movement_fields.h"

namespace kiv {

bool ActorStopped(std::int32_t map, std::int32_t actor) {
  if (map < -1 || map > gameData.maps.LastIndex()) return true;
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  if (actor < 0 || static_cast<std::size_t>(actor) >= actors.size()) return true;
  const Actor& a = actors[static_cast<std::size_t>(actor)];
  return a.path.empty() && StepRemaining(a) < 1;
}

void InstallWorldMovementHooks() {
  triggerHooks.ActorStopped = [](std::int32_t map, std::int32_t actor) { return ActorStopped(map, actor); };
}

}  // namespace kiv
