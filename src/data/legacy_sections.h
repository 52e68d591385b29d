#pragma once
// Sections of old map files that are converted into current objects while
// they are read: vehicles (before 100601) and turrets (before 100605) become
// actors, dynamic objects (before 100636) fields of an interface or actors of
// a map. The converted record goes to the given index of the map's actor or
// field list, which must exist.
#include <cstdint>

#include "core/byte_list.h"
#include "data/map_record.h"

namespace kiv {

void ReadLegacyVehicle(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                       std::int32_t actorIndex, bool withState);
void ReadLegacyTurret(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                      std::int32_t actorIndex, bool withState);
// targetIndex is the index in the field list (interfaces) or the actor list (maps).
void ReadLegacyDynamicObject(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                             std::int32_t mapIndex, std::int32_t targetIndex, bool isSave);

}  // namespace kiv
