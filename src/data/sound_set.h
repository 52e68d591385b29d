#pragma once
// The sound-set file (".kso"): one sound effect or piece of music with its
// variations, each a block of encoded audio inside the same file. Only the
// variations' offsets and lengths are kept; the audio layer plays the data
// from the package file.
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "media/sound_sets.h"

namespace kiv {

// Reads one sound-set file held whole into soundSets[index]; the variations'
// offsets are within the file. Failures are raised errors.
void ReadSoundSet(const ByteList& bytes, std::int32_t index);

// Makes the variations' offsets absolute in the package file that was loaded,
// given where the entry's data starts in that file and how many bytes it
// holds there. A variation whose bytes do not lie inside the entry, or any
// variation of an entry stored compressed, is marked unusable (it keeps its
// place but never gets a handle) and a line goes to the log.
void PlaceSoundSetInPackage(SoundSet& set, const std::string& packagePath, std::int64_t entryPosition,
                            std::int64_t entrySize, bool entryCompressed);

}  // namespace kiv
