#pragma once
// The per-map systems of the world update that belong to no one character:
// spawns, interface fields bound to value scripts, the navigation cursor and
// the animations shown on interfaces.
#include <cstdint>
#include <vector>

#include "data/lists.h"

namespace kiv {

struct MapSystemsState {
  // The map and character that scripts without a related character of their
  // own relate to while a pass runs for a carried interface; -1 otherwise.
  std::int32_t relateContextMap = -1;
  std::int32_t relateContextCharacter = -1;
  // Raised by the script properties that build a new array; tells the field
  // system that an array value may have changed.
  bool arrayValueBuilt = false;

  void Reset() { *this = MapSystemsState{}; }
};
extern MapSystemsState mapSystems;

// One pass over the map: spawns (unless fieldsOnly), then on an interface its
// fields, its cursor and its animations. relateMap and relateCharacter are
// the relate context of the pass (-1 none).
void UpdateMapSystems(std::int32_t map, std::int32_t relateMap, std::int32_t relateCharacter, bool fieldsOnly);

// Runs the pass of the interface a character carries on the character's own
// copies of its fields and spawns, relating to the character.
void UpdateCarriedInterface(std::int32_t map, std::int32_t actor);

// True when one of the triggers 0..lastIndex has the event and code to run.
bool HasTriggerEvent(const std::vector<Trigger>& triggers, std::int32_t lastIndex, std::int32_t eventCode);

}  // namespace kiv
