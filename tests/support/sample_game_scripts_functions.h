#pragma once
// A sample script that uses the structure, text, math, colour and main
// functions as a game would: when the Town is loaded it posts what it worked
// out as a notice.
#include <string>

namespace kiv::test {

// The Town hero's second Loaded script.
std::u16string SampleFunctionsScript();

}  // namespace kiv::test
