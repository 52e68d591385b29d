#pragma once
// Save files: a Long with the length of the uncompressed stream, then one zlib
// stream of the file version, the state block, a chunk per map and the
// script engine's waiting scripts and timed changes.
#include <cstdint>
#include <string>

namespace kiv {

inline constexpr std::int32_t kSaveFormatVersion = 100790;

// Writes the running game to path. The file is written under a temporary name
// and renamed, so a failure leaves the previous save as it was; the error is
// raised to the caller after the audio update threads and the tick base are
// restored.
void SaveGame(const std::string& path);

// Replaces the running game by the save at path. Returns 0, or the number of
// the first error (53: no such file). A damaged save is refused before the
// running game is touched; one that fails while its contents are read leaves
// the game reset to its start, never half replaced.
std::int32_t LoadGame(const std::string& path);

}  // namespace kiv
