#pragma once
// The sample game's scripts that use the game-shell commands as a game would.
#include <string>

namespace kiv::test {

// The Town guard's script when the Town is loaded: a notice that the guard
// keeps watch ("The guard keeps watch.").
std::u16string SampleGuardLoadedScript();

}  // namespace kiv::test
