#pragma once

namespace kiv {

// Installs the character-layer rebuild into the hook that template
// application calls.
void InstallWorldLayerHooks();

}  // namespace kiv
