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

  FindById = [](LookupTable, const Identifier& id) { return IdIsEmpty(id) ? -1 : -2; };
  SpriteSetCollisionShape = [](std::int32_t, CollisionShape&) { return false; };
  LegacySpriteSet = [](std::int32_t, LegacySpriteSetInfo&) { return false; };
  ItemSize = [](std::int32_t) { return 0; };
  ItemAmmunitionCapacity = [](std::int32_t) { return 0; };
  FontLineHeight = [](std::int32_t) { return 0; };
  TileSetIsWall = [](std::int32_t) { return false; };
  FindTileById = [](const Identifier&, TileLookup&) { return false; };
  BuildDoorCollisionShape = [](std::int32_t, std::int32_t, float, CollisionShape&) {};
  FieldDrawnWidth = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return -1; };
  WrapText = [](std::int32_t, const std::u16string& text, std::int32_t, float) {
    return std::vector<std::u16string>{text};
  };
  LinkMapObjects = [](std::int32_t, bool) {};
  ResolveMapLinks = [](std::int32_t) {};
}

}  // namespace kiv
