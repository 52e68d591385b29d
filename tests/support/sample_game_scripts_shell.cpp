#include "support/sample_game_scripts_shell.h"

namespace kiv::test {

std::u16string SampleGuardLoadedScript() { return u"Main.SystemMessage(\"The guard keeps watch.\")"; }

}  // namespace kiv::test
