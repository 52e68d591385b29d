#pragma once
// Writers of the object records of a map in the save form: the layouts the
// map readers read at the current format version with their save flag. Each
// writes the record at an index of the map's list as it is now and changes
// nothing but the scripts' run-time copies that serialising refreshes.
#include <cstdint>
#include <vector>

#include "core/byte_list.h"
#include "data/actor_record.h"
#include "data/lists.h"
#include "data/map_record.h"

namespace kiv {

void WriteDoor(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave);
// Only the first rectangle of a zone's shape is stored.
void WriteZone(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave);
// Only the first rectangle of a boundary is stored.
void WriteBoundary(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index);
// A pick-up's second inventory entry keeps only its count.
void WritePickUp(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave);
void WriteLight(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index);
void WriteSpeaker(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index);
void WriteSpawn(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave);
// The positioned texts of a map (its "map extras").
void WriteMapExtra(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index);
// Saves only. The sprite set is stored as its table index; the sprite and the
// collision shape are rebuilt from it on reading.
void WriteProjectile(const Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index);

void WriteActor(Actor& actor, ByteList& buffer, std::int32_t& offset, bool isSave);
void WriteField(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave);

// A list of attached sprites (or, in saves, effects) of an actor.
void WriteSpriteRefList(ByteList& buffer, std::int32_t& offset, const std::vector<Attachment>& list);

}  // namespace kiv
