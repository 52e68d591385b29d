#pragma once
// Writers of the three sections of a map or interface in the save form: the
// layouts that the map readers read at the current format version, with their
// save flag set for the properties and the body. A save's chunk for a map is
// its file name, then these three; the off-map record (-1) has only a body.
#include <cstdint>

#include "core/byte_list.h"
#include "data/map_record.h"

namespace kiv {

// Identifier, names, properties, size and the three tile-layer groups. The
// actors' variables are also written as one list that the reader drops (each
// actor carries its own again). Copies the display name into its working copy.
void WriteMapHeader(Map& map, ByteList& buffer, std::int32_t& offset);

// Every properties field as the map is now; isSave adds the saved run-time
// tail and the run state of background sprites, and passes on to the scripts.
void WriteMapProperties(Map& map, ByteList& buffer, std::int32_t& offset, bool isSave);

// The object lists in file order; the projectile list only when isSave.
void WriteMapBody(Map& map, ByteList& buffer, std::int32_t& offset, bool isSave);

}  // namespace kiv
