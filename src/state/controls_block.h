#pragma once
// The controls block: the controls table with its stamp, as stored in the
// project state, in saves and in "controls.dat".
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// The project's controls stamp. Only reading a controls block sets it; a
// "controls.dat" whose stamp differs belongs to another version of the game.
extern std::int32_t controlsStamp;

// Appends the block for `controls` and `controlsStamp` in the current layout.
void WriteControls(ByteList& buffer, std::int32_t& offset);

// Reads a block stored at the given format version. The table and the stamp
// are replaced only when the whole block reads; a damaged block raises and
// leaves both as they were. A block with no controls (last index -1) keeps the
// table (the stamp is still taken).
void ReadControls(const ByteList& buffer, std::int32_t& offset, std::int32_t version);

// The stamp at the head of a block that starts at offset 0.
std::int32_t ReadControlsKey(const ByteList& buffer);

}  // namespace kiv
