#pragma once
// Characters and zones leaving play while their slots stay in the map's
// lists, so that every other index stays valid until the world update
// compacts the lists.
#include <cstdint>

namespace kiv {

// Takes the character out of play: it leaves what it rides or operates (a
// vehicle or turret puts its occupant out at its own place), the zones and
// characters it touches hear that it left, its spawn counts it as departed,
// references to it are cleared and its own links reset.
void RemoveCharacterFromPlay(std::int32_t map, std::int32_t character);
// Empties the slot: no name, removed, no owner, and marked for the world
// update's removal pass.
void ClearCharacterSlot(std::int32_t map, std::int32_t character);
// Every character touching the zone loses it (each entry raises the zone's
// LeftActor) and references to the zone are cleared.
void RemoveZoneFromPlay(std::int32_t map, std::int32_t zone);

// A move to another map takes a vehicle out of play and lets its occupant
// board it again on the new map; while one lives, the occupant keeps its
// vehicle input sets. Elsewhere the occupant walks off with the walking set.
class OccupantReboardsScope {
 public:
  OccupantReboardsScope();
  ~OccupantReboardsScope();
  OccupantReboardsScope(const OccupantReboardsScope&) = delete;
  OccupantReboardsScope& operator=(const OccupantReboardsScope&) = delete;
};

}  // namespace kiv
