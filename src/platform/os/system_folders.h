#pragma once
// Where the Windows special folders live on Linux (XDG base directories).
#include <optional>
#include <string>

namespace kiv::os {

// $XDG_DATA_HOME, or ~/.local/share; nullopt when neither can be found. Not created here.
std::optional<std::string> UserDataFolder();
// The temporary folder: $TMPDIR, or /tmp.
std::string TempFolder();
// The running program's own file (/proc/self/exe) and its folder.
std::string ExecutablePath();
std::string ExecutableFolder();
// Creates a folder and its parents; false on failure (an existing folder is success).
bool CreateFolders(const std::string& path);

}  // namespace kiv::os
