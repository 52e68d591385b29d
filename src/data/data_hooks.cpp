#include "data/data_hooks.h"

namespace kiv {

DataHooks dataHooks;

void DataHooks::Reset() {
  CompileScript = [](Script&) {};
  BuildTriggerConditions = [](Trigger&) {};
  FindGlobalName = [](std::int32_t, std::uint8_t&, std::int32_t&) { return false; };
  GlobalNameSymbol = [](std::uint8_t, std::int32_t) { return -1; };
  LooseNameMatching = [] { return false; };
  ScriptRaiseObjectEvent = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {};
  GenerateMapData = [](std::int32_t, bool) {};
  ActivePlayerMap = [] { return -1; };
  RefreshViewedMaps = [](std::int32_t) {};
  RestartTickBase = [] {};
  YieldToWindowSystem = [] {};
  QuitRequested = [] { return false; };
}

}  // namespace kiv
