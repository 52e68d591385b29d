#include "script/script_hooks.h"

#include "data/data_hooks.h"
#include "platform/os/clock.h"

namespace kiv {

ScriptHooks scriptHooks;

void ScriptHooks::Reset() {
  TickCount = [] { return os::GetTickCount(); };
  RunTrigger = [](const TriggerRun&) { return Variant(); };
  SuspendForWait = [] {};
  StartTimedChange = [](std::int32_t, const ScriptValue&, std::int32_t, const Variant&, std::int32_t) {
    return false;
  };
  const ScriptExecutor nothing = [](std::int32_t, ScriptValue&, std::int32_t, ScriptValue&, std::int16_t,
                                    const Variant&, bool) {};
  internalExecutor = nothing;
  actorExecutor = nothing;
  fieldExecutor = nothing;
  objectExecutor = nothing;
  CustomEventGateCount = [](std::int32_t) { return 1; };
  LooseTextCompare = [] { return dataHooks.LooseNameMatching(); };
  MainAlwaysControlled = [] { return false; };
  CurrentPlayer = [] { return 0; };
  PlayerControl = [](std::int32_t) { return PlayerControlState(); };
  CharacterOwnerPlayer = [](std::int32_t, std::int32_t) { return -1; };
  FieldParentField = [](std::int32_t, std::int32_t) { return -1; };
  ActorPosition = [](std::int32_t, std::int32_t, float& x, float& y, float& z) { x = y = z = 0.0f; };
  RelateContext = [](std::int32_t& map, std::int32_t& character) {
    map = -1;
    character = -1;
  };
  OwnerName = [](std::int32_t, std::int32_t, std::int32_t) { return std::u16string(); };
  TriggerEventText = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return std::u16string(); };
  InputTriggerEntries = [](std::int32_t, std::int32_t) { return std::vector<InputTriggerEntry>(); };
  ControlCount = [] { return 0; };
  ControlName = [](std::int32_t) { return std::u16string(); };
  ControlHasKeyBinding = [](std::int32_t, std::int32_t, std::int32_t) { return false; };
  InputControlName = [](std::int32_t, std::int32_t) { return std::u16string(); };
}

}  // namespace kiv
