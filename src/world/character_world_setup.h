#pragma once

namespace kiv {

// Installs the world operations that the per-tick life of characters calls
// into characterWorld.
void InstallCharacterWorldHooks();

}  // namespace kiv
