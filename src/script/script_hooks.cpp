#include "script/script_hooks.h"

#include "platform/os/clock.h"

namespace kiv {

ScriptHooks scriptHooks;

void ScriptHooks::Reset() {
  TickCount = [] { return os::GetTickCount(); };
  RunTrigger = [](const TriggerRun&) { return Variant(); };
  const ScriptExecutor nothing = [](std::int32_t, ScriptValue&, std::int32_t, ScriptValue&, std::int16_t,
                                    const Variant&, bool) {};
  internalExecutor = nothing;
  actorExecutor = nothing;
  fieldExecutor = nothing;
  objectExecutor = nothing;
  CurrentPlayer = [] { return 0; };
  RelateContext = [](std::int32_t& map, std::int32_t& character) {
    map = -1;
    character = -1;
  };
  FindNextMapInOrder = [](std::int32_t, bool) { return -1; };
  IsMapInputActive = [](std::int32_t) { return true; };
  LoadingTickRunning = [] { return false; };
}

}  // namespace kiv
