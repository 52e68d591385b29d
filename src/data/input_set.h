#pragma once
// Reader of input-set files (".kin"): named groups of input sequences, each
// with the script it runs when completed.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Reads a whole input-set file into gameData.inputSets[index] (which must
// exist); control steps are resolved against the controls table at once, and
// each entry's no-control and kind-4 flags are derived from its steps.
void ReadInputSet(const ByteList& buffer, std::int32_t index);

}  // namespace kiv
