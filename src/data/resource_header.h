#pragma once
// The header of every game data file: a 32-bit format version and, from
// version 100738, the SHA-1 digest of the bytes from offset 24 to the end.
#include <cstdint>

#include "core/byte_list.h"
#include "core/format_version.h"
#include "core/identifier.h"

namespace kiv {

inline constexpr std::int32_t kFirstHashedVersion = 100738;

// Oldest file each reader accepts.
inline constexpr std::int32_t kMinMapVersion = 100471;
inline constexpr std::int32_t kMinTileSetVersion = 100356;
inline constexpr std::int32_t kMinItemSetVersion = 100309;
inline constexpr std::int32_t kMinSetVersion = 100300;
inline constexpr std::int32_t kMinStateVersion = 100654;

inline constexpr int kErrResourceCorrupt = -2;  // also "too old"
inline constexpr int kErrResourceTooNew = -3;

// Reads the header at offset (advanced past it: by 4, or 24 with a digest) and
// gives the file's version. Raises -2 "Resource is corrupt." for fewer than 25
// bytes or a digest that does not match, -2 "...too old..." below minimum and
// -3 "...too new..." above the newest version. Returns true when it passes.
bool CheckResourceHeader(const ByteList& buffer, std::int32_t& offset, std::int32_t& version,
                         std::int32_t minimum);

// The identifier that opens a font, input, custom-event or template file,
// passing over the unused long and byte that follow it from version 100776 on.
Identifier ReadSetIdentifier(const ByteList& buffer, std::int32_t& offset, std::int32_t version);

}  // namespace kiv
