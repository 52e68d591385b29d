#include "world/world_hooks.h"

namespace kiv {

WorldHooks worldHooks;

void WorldHooks::Reset() {
  RemoveCharacterFromPlay = [](std::int32_t, std::int32_t) {};
  ClearCharacterSlot = [](std::int32_t, std::int32_t) {};
  EnterVehicle = [](std::int32_t, std::int32_t, std::int32_t) {};
  ShiftFieldRefs = [](std::int32_t, std::int32_t, std::int32_t, bool) {};
  InsertField = [](std::int32_t, std::int32_t, std::int32_t sourceField, bool, const std::string&, std::int32_t,
                   std::int32_t) { return sourceField; };
  UnspawnChildFields = [](std::int32_t, std::int32_t) {};
  SetFieldSelectable = [](std::int32_t, std::int32_t, std::uint8_t) {};
  SetFieldDisabled = [](std::int32_t, std::int32_t, std::uint8_t) {};
  KeepFieldInScrollRegion = [](std::int32_t, std::int32_t) {};
  ReloadMap = [](std::int32_t, bool, bool, bool) {};
}

}  // namespace kiv
