#pragma once
// References of saved records: a table index with the identifier kept beside
// it, stored as the identifier alone.
#include <cstdint>

#include "core/byte_list.h"
#include "core/identifier.h"

namespace kiv {

enum class SaveTable { kTileSet, kSoundSet, kSpriteSet, kDoorSet, kItem, kFontSet, kControl, kActorTemplate, kTeam };

// 16 bytes of 0xFF: a reference to "any" record (index -3).
Identifier WildcardIdentifier();

// Writes the identifier for index: -1 none (16 zero bytes), 0 or more the
// identifier of that record of the table, -2 and -4 (not found, still to be
// found) the kept identifier, -3 the wildcard where allowed. Any other index,
// or one beyond the table, is written as none with a log line, so the stream
// keeps its length.
void WriteReference(ByteList& buffer, std::int32_t& offset, SaveTable table, std::int32_t index,
                    const Identifier& kept, bool wildcardAllowed = false);

}  // namespace kiv
