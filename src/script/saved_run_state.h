#pragma once
// The script engine's run-time state at the end of a save: the waiting
// scripts with their suspended call frames, then the timed changes, each list
// a 32-bit last index and its records.
//
// A call frame is stored as twelve Longs (owner kind, owner index, event
// slot, script index, statement, token position, caller value, map, relate
// actor, relate value 2, relate door, relate turret), the id list, the
// locals, statics and parameters, the related item, the assignment flag, the
// value stack up to its top, and nine more Longs (player, the six this-objects,
// suspend root, operation base) so that a frame restored from a save resumes
// exactly as it would have without the save.
//
// Not stored: a wait's player condition and its release flag (both read back
// as 0).
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// One record of waitingScripts or timedChanges; error 9 for an index outside the list.
void WriteWaitingScript(ByteList& buffer, std::int32_t& offset, std::int32_t index);
void WriteTimedChange(ByteList& buffer, std::int32_t& offset, std::int32_t index);

// Read one record into an entry of waitingScripts or timedChanges, which the
// caller has sized (error 9 outside it). A damaged record raises -1 and leaves
// the entry as it was.
void ReadSavedWaitingScript(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                            std::int32_t index);
void ReadSavedTimedChange(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                          std::int32_t index);

// Both lists, the waiting scripts first.
void WriteScriptRunState(ByteList& buffer, std::int32_t& offset);
// Replaces both lists once both are read whole; a damaged stream raises -1
// and leaves them as they were.
void ReadScriptRunState(const ByteList& buffer, std::int32_t& offset, std::int32_t version);

// Points each saved frame's script index at the script its owner runs now. A
// loaded game registers its scripts in an order of its own, so the stored
// indexes may name other scripts; a frame whose owner has no script gets -1.
void RelinkSavedFrames();

}  // namespace kiv
