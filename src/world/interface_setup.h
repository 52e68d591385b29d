#pragma once

namespace kiv {

// Installs the interface focus and the pointer into the hooks of the libraries
// below: showing maps at load and the main loop's pointer update.
void InstallInterfaceHooks();

}  // namespace kiv
