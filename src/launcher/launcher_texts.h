#pragma once
// The launcher's texts that contain the letters of the product mark.
#include <cstddef>

namespace kiv {

// The three bytes that open the appended block, in the first 512-byte block after the program.
inline constexpr std::size_t kProductMarkLength = 3;
extern const char* const kProductMark;

// Output file name of the installer payload.
extern const char* const kInstallerFileName;

// Shown when the launcher's file carries no appended block.
extern const char* const kNotBundledMessage;

}  // namespace kiv
