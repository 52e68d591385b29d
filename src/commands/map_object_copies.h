#pragma once
// Copying and moving the objects of a map's lists while the game runs. An
// object that leaves a map keeps its entry (blanked or marked) and its copy is
// appended to the target's list, so the indexes of all other entries stay
// valid for the scripts and objects that hold them.
#include <cstdint>
#include <string>

namespace kiv {

// The first area box of a zone in the order the copy takes it.
struct ZoneBox {
  std::int32_t xFrom = 0;
  std::int32_t yFrom = 0;
  std::int32_t xTo = 0;
  std::int32_t yTo = 0;
  std::int32_t zFrom = 0;  // floor
  std::int32_t zTo = 0;    // ceiling
};

// Appends a copy of the zone to the target map, its trigger scripts registered
// anew so that the copy runs its own, with a new name and first area box.
void CopyZone(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceZone, const std::u16string& name,
              const ZoneBox& box);

// Appends a copy of the light to the target map at a new place, enters it into
// the sector grid and, when lit, adds its light to the map.
void CopyLight(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceLight, const std::u16string& name,
               std::int32_t x, std::int32_t y, std::int32_t z);

// Takes a lit light's light off the map and blanks its name.
void RemoveLight(std::int32_t map, std::int32_t light);

// Moves a light. Within its map a move that leaves every coordinate on the same
// whole number only stores the place; a move that changes one re-lights. To
// another map the light is copied there and the old entry blanked. Returns the
// copy's index in the target map, or the light's own index when it stayed.
std::int32_t MoveLight(std::int32_t light, std::int32_t map, std::int32_t targetMap, float x, float y, float z);

// Moves a speaker; to another map its sound stops here and a copy (playing
// when the speaker was enabled) is appended there, the old entry blanked.
// Returns the copy's index, or the speaker's own index when it stayed.
std::int32_t MoveSpeaker(std::int32_t speaker, std::int32_t map, std::int32_t targetMap, float x, float y, float z);

// Moves a field; to another map or interface it is detached, copied there, and
// the old entry reset with its removal mark set to the copy's index. Returns
// the copy's index, or the field's own index when it stayed.
std::int32_t MoveField(std::int32_t field, std::int32_t map, std::int32_t targetMap, float x, float y, float z);

}  // namespace kiv
