#include "world/world_setup.h"

#include "data/data_hooks.h"
#include "world/actor_shapes.h"
#include "world/placement.h"

namespace kiv {

void InstallWorldCollisionHooks() {
  dataHooks.BuildDoorCollisionShape = [](std::int32_t map, std::int32_t door, float openAmount,
                                         CollisionShape& shape) {
    BuildDoorCollisionShape(map, door, openAmount, shape);
  };
  dataHooks.UpdateCharacterFloorHeight = [](std::int32_t map, std::int32_t actor) {
    UpdateCharacterFloorHeight(map, actor);
  };
}

}  // namespace kiv
