#pragma once
// Readers of the object sections of a map body. Each reads one record at
// offset (advancing it) into the list entry index of the map's list, which
// must exist, at the format version of the file. Read errors propagate; the
// record keeps what was read so far.
#include <cstdint>

#include "core/byte_list.h"
#include "data/map_record.h"

namespace kiv {

// Doors and zones; isSave reads the fields that only saves carry. A door is
// entered into the map's sector grid.
void ReadDoor(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t mapIndex,
              std::int32_t index, bool isSave);
void ReadZone(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index,
              bool isSave);

// A map boundary: the default shape with its first rectangle read raw.
void ReadBoundary(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                  std::int32_t index);

// Pick-ups, lights, speakers, spawns and positioned texts. A light is entered
// into the map's sector grid; a pick-up gets its collision box when linked.
void ReadPickUp(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index,
                bool withState);
void ReadLight(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index);
void ReadSpeaker(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                 std::int32_t index);
void ReadSpawn(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, std::int32_t index,
               bool withState);
void ReadPositionedText(const ByteList& buffer, std::int32_t& offset, Map& map, std::int32_t index);

// Gives a pick-up its collision shape: its sprite set's, else a box of its
// item's size, else 48 x 48 x 48.
void SetObjectCollisionBox(PickUp& pickUp);

// A projectile of a save: 97 bytes of fixed fields.
inline constexpr std::int32_t kProjectileRecordSize = 97;
void ReadProjectile(const ByteList& buffer, std::int32_t& offset, Map& map, std::int32_t index);

}  // namespace kiv
