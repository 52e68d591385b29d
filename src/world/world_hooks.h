#pragma once
// Calls of the collision code into world operations that other parts of the
// world library provide (object removal, vehicles, reference fix-up). Start-up
// installs them; until then each does the harmless default named beside it.
#include <cstdint>
#include <functional>
#include <string>

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

  // Field operations of interface upkeep that the map systems call.
  // Copies a field (and its children when asked) into a map under a name and
  // position; answers the source field's index after the insertion.
  // Default: nothing, the source index unchanged.
  std::function<std::int32_t(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceField,
                             bool withChildren, const std::string& name, std::int32_t x, std::int32_t y)>
      InsertField;
  // Turns the copies a field spawned into dormant spares. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t field)> UnspawnChildFields;
  // Set a field's selectable or disabled byte and its state. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t field, std::uint8_t value)> SetFieldSelectable;
  std::function<void(std::int32_t map, std::int32_t field, std::uint8_t value)> SetFieldDisabled;
  // Scrolls the map's fields so that a field lies in its scroll region. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t field)> KeepFieldInScrollRegion;
  // Reloads a map from its file (showing an interface that asks for it).
  // Default: nothing.
  std::function<void(std::int32_t map, bool skipEntryTrigger, bool spareNewestWait, bool loadFlag)> ReloadMap;

  WorldHooks() { Reset(); }
  void Reset();
};

extern WorldHooks worldHooks;

}  // namespace kiv
