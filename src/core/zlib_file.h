#pragma once
// The compressed file of save games: a 32-bit unpacked length, then one zlib
// stream at level 9. One file is written at a time: ZlibFileBegin, any number of
// ZlibFileWrite, ZlibFileEnd. The bytes go to a temporary file beside the target,
// which replaces the target only when ZlibFileEnd has written everything.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/byte_list.h"

namespace kiv {

// Raises -1 "ZLib deflateInit error." or -1 when the file cannot be created.
// An unfinished earlier file is abandoned (its target is left untouched).
void ZlibFileBegin(const std::string& path);
// Raises -1 "ZLib deflate error." on a compressor or write failure; the file is
// then abandoned.
void ZlibFileWrite(const ByteList& bytes);
void ZlibFileEnd();

// Inflates source into destination, which gets exactly length bytes; the source
// is released. A damaged or short stream, or one longer than length, raises -1
// "ZLib uncompress error.".
void ZlibUncompress(ByteList& source, ByteList& destination, std::int32_t length);
void ZlibUncompress(const std::uint8_t* source, std::size_t sourceSize, ByteList& destination,
                    std::int32_t length);

// Reads a compressed file written by ZlibFileEnd. Raises 53 when it is missing
// and -1 when it is damaged.
ByteList ReadCompressedFile(const std::string& path);

}  // namespace kiv
