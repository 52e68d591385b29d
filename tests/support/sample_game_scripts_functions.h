#pragma once
// A sample script that uses the structure, text, math, colour and main
// functions as a game would: it writes what it worked out into the game's
// globals when the Town is loaded.
#include <string>

#include "support/state_block_writer.h"

namespace kiv::test {

// The Town hero's second Loaded script.
std::u16string SampleFunctionsScript();

// The globals that script writes: Motto, Tint, Sum, Leader, Heading.
void AddSampleFunctionGlobals(GlobalListsFixture& globals);

}  // namespace kiv::test
