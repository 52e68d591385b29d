#include "world/world_hooks.h"

namespace kiv {

WorldHooks worldHooks;

void WorldHooks::Reset() {
  RemoveCharacterFromPlay = [](std::int32_t, std::int32_t) {};
  ClearCharacterSlot = [](std::int32_t, std::int32_t) {};
  EnterVehicle = [](std::int32_t, std::int32_t, std::int32_t) {};
  ShiftFieldRefs = [](std::int32_t, std::int32_t, std::int32_t, bool) {};
}

}  // namespace kiv
