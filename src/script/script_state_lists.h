#pragma once
// The script globals as the state block stores them: the global variables,
// switches, collections and tables, each a list with a 32-bit last index.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Streams older than this carry no tables; reading one empties the tables.
inline constexpr std::int32_t kFirstStoredTables = 100665;

// Reads the four lists into scriptGlobals at the stream's version. The lists
// are replaced only once all four are read whole: a damaged stream raises -1
// and leaves the globals as they were.
void ReadScriptGlobalLists(const ByteList& buffer, std::int32_t& offset, std::int32_t version);

// Writes the four lists in the current layout. A table's cells are stored with
// the first index outermost and the third innermost; a table with an upper
// bound below 0 stores its bounds and no cells.
void WriteScriptGlobalLists(ByteList& buffer, std::int32_t& offset);

}  // namespace kiv
