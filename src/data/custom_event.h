#pragma once
// Reader of custom-event files (".kce"): an event that scripts raise by name,
// with typed parameters and the script it runs.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Reads a whole custom-event file into gameData.customEvents[index] (which
// must exist), links its script and refreshes the registered copy.
void ReadCustomEvent(const ByteList& buffer, std::int32_t index);

}  // namespace kiv
