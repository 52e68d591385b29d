#pragma once
// Reader of door-set files (".kdo").
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Reads a whole door-set file into gameData.doorSets[index] (which must exist).
void ReadDoorSet(const ByteList& buffer, std::int32_t index);

}  // namespace kiv
