#pragma once
// Calls of the collision code into world operations that other parts of the
// world library provide (object removal, vehicles, reference fix-up). Start-up
// installs them; until then each does the harmless default named beside it.
#include <cstdint>
#include <functional>

namespace kiv {

struct WorldHooks {
  // Takes a character out of play in its map (exits its vehicle, raises its
  // events, clears references to it). Default: nothing.
  std::function<void(std::int32_t map, std::int32_t actor)> RemoveCharacterFromPlay;
  // Empties a character's slot in its map's list. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t actor)> ClearCharacterSlot;
  // Lets a character board or operate a vehicle of the same map. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t actor, std::int32_t vehicle)> EnterVehicle;
  // Adjusts every stored field reference after field `field` of the map moved
  // by `delta` (-1 removed). Default: nothing.
  std::function<void(std::int32_t map, std::int32_t field, std::int32_t delta, bool compacting)> ShiftFieldRefs;

  WorldHooks() { Reset(); }
  void Reset();
};

extern WorldHooks worldHooks;

}  // namespace kiv
