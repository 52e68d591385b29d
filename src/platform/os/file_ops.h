#pragma once
// Small whole-file operations over POSIX.
#include <optional>
#include <string>
#include <string_view>

namespace kiv::os {

// True when the path names an existing file or folder.
bool PathExists(const std::string& path);
// Deletes a file (not a folder); false when that fails.
bool RemoveFile(const std::string& path);
// The whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Writes the bytes to a temporary file beside the path and renames it over the
// path, so a crash never leaves a half-written file. An existing file keeps its
// permissions. False when anything fails (the old file is then untouched).
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace kiv::os
