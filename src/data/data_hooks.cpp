#include "data/data_hooks.h"

#include "core/log.h"
#include "data/game_data.h"

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

  ItemAmmunitionCapacity = [](std::int32_t) { return 0; };
  BuildDoorCollisionShape = [](std::int32_t, std::int32_t, float, CollisionShape&) {};
  FieldDrawnWidth = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return -1; };
  WrapText = [](std::int32_t, const std::u16string&, std::int32_t, std::int32_t&, float) {
    return std::vector<std::int16_t>{0};
  };

  InitMapWeather = [](std::int32_t) {};
  RebuildSpriteLayers = [](Actor&) {};
  UpdateCharacterFloorHeight = [](std::int32_t, std::int32_t) {};
  SetMapActive = [](std::int32_t, bool) {};
  RunOverlayTrigger = [](std::int32_t) {};
  SetInputSetEnabled = [](std::int32_t player, std::int32_t set, bool enabled) {
    if (player < 0 || player >= kInputPlayerCount) return;
    if (set < 0 || set >= static_cast<std::int32_t>(gameData.inputSets.size())) return;
    gameData.inputSets[static_cast<std::size_t>(set)].enabled[static_cast<std::size_t>(player)] = enabled ? 1 : 0;
  };
  ShowLoadingProgress = [](const std::string& text, float) { LogWriteLine(text); };
  ResetScriptRunState = [] {};
  ResetShellState = [] {};
}

}  // namespace kiv
