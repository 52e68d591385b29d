#pragma once
// Reader of item-set files (".kit").
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Reads a whole item file into gameData.items[index] (which must exist).
// Statistic values are matched to gameData.statistics by identifier.
void ReadItemSet(const ByteList& buffer, std::int32_t index);

}  // namespace kiv
