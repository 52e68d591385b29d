#pragma once
// The extension block at the end of our save files: run-time values that the
// world uses and that the save's record layouts have no place for, so that a
// loaded game plays on as the saved one would have.
//
// Layout, after the timed changes: the Long kSaveExtensionMark, the Long block
// version, the last index of the map entries (map -1 is entry 0), then per map a Byte (0: nothing
// stored for that map, as for a map kept by identifier) and, when it is 1, the
// map's actors, doors, spawns and fields, each list a Long last index and its
// entries. A save without the block (an older one, or one that another program
// wrote) loads with these values at their defaults.
//
// Version 1 holds:
// - actors: moveWait, aiMoveCommand, walkTime, idleTime, attackTimer,
//   hurtTime, risePoseTime, fallPoseTime, the hop, groundState, actorFlags,
//   attackArea, the motion targets and motors, the floating damage number,
//   the message over the character, the pushes, and per equipment entry
//   fireWait and pressFired;
// - doors: openTimeLeft;
// - spawns: departedCount;
// - fields: animationTime and the view's shakeRepeat.
//
// Version 2 adds, after the maps, the Long count of map entries again and per
// entry a Byte: 1 when the map is flagged to have its data generated once a
// loaded game has read it (a map a script loaded), else 0.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// "KIVX" read as a little-endian Long.
inline constexpr std::int32_t kSaveExtensionMark = 0x5856494B;
inline constexpr std::int32_t kSaveExtensionVersion = 2;

// Appends the block for every map of the maps table.
void WriteSaveExtension(ByteList& buffer, std::int32_t& offset);

// Reads the block when the stream holds one at offset; without one (the stream
// ends, or other bytes follow) nothing changes. A block of a later version is
// passed over whole. Values of a list whose length differs from the loaded
// list are applied to the entries both have. A map flagged in the block is
// flagged in the game; flags the game's start set stay.
void ReadSaveExtension(const ByteList& stream, std::int32_t& offset);

}  // namespace kiv
