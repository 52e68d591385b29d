#include "state/state_setup.h"

#include "data/data_hooks.h"
#include "media/graphics.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {
constexpr std::size_t kLooseNameMatchingFlag = 22;  // option flag 23
}  // namespace

void InstallGameStateHooks() {
  dataHooks.LooseNameMatching = [] { return storedProjectSettings.flags[kLooseNameMatchingFlag] != 0; };
  graphicsHooks.captureMouseInWindow = [] { return storedProjectSettings.captureMouse != 0; };
}

}  // namespace kiv
