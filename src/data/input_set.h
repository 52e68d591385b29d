#pragma once
// Reader of input-set files (".kin"): named groups of input sequences, each
// with the script it runs when completed.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Reads a whole input-set file into gameData.inputSets[index] (which must
// exist); control steps are resolved against the controls table at once.
void ReadInputSet(const ByteList& buffer, std::int32_t index);

// For every entry: no-control is set unless a step is bound to a control;
// kind-4 is set by a step of kind 4 that is not a control step.
void DeriveInputEntryFlags(std::int32_t index);

}  // namespace kiv
