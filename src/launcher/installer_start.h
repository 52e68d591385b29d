#pragma once
// Starting the unpacked installer.
#include <string>

namespace kiv {

// Starts the program at `path` with no arguments, in the current folder and with
// this process's environment, and does not wait for it. 0 when it started, else
// the error number of the failure.
int StartInstaller(const std::string& path);

}  // namespace kiv
