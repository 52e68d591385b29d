#pragma once
// The state block: everything about a game that is not a map. The project
// form ("INTRO.kst", written by the editor) starts with the resource header and
// carries the project settings; the save form starts with a bare version and
// carries the running-game values instead.
#include <cstdint>
#include <vector>

#include "core/byte_list.h"
#include "media/sound_channels.h"

namespace kiv {

// Reads one block at offset (advanced); full: the save form. Raises -1 with a
// message for versions the player refuses and for damaged data.
void LoadState(const ByteList& buffer, std::int32_t& offset, bool full);
// Appends the save form; raises saveCount first.
void SaveState(ByteList& buffer, std::int32_t& offset);

// Reads the package entry "INTRO.kst" in the project form.
void LoadProjectState();

// Pieces of the two above.
void ReadStatistics(const ByteList& buffer, std::int32_t& offset, std::int32_t version);
void ReadMusicSnapshots(const ByteList& buffer, std::int32_t& offset, std::vector<MusicSnapshot>& list,
                        std::int32_t version);
void WriteMusicSnapshots(ByteList& buffer, std::int32_t& offset, const std::vector<MusicSnapshot>& list);

}  // namespace kiv
