#pragma once
// The player shell's section of the kivplay dump: the resource groups and
// interfaces of the last frame, the loading texts, the last tick's activities
// and the inputs that fired.
#include <nlohmann/json.hpp>

namespace kivplay {

// Wraps the hooks the section watches; call after the harness installed its own.
void InstallShellDump();
// The section as the run left it.
nlohmann::json ShellDump();

}  // namespace kivplay
