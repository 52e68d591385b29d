#pragma once
// The hashed whole-file header of data files: i32 format version, the 20-byte
// SHA-1 of the data, then the data.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv::test {

// SHA-1 computed here with OpenSSL, independently of the player's own hashing.
ByteList Sha1Of(const ByteList& bytes);

// version + SHA-1(data) + data.
ByteList WithHashedHeader(const ByteList& data, std::int32_t version = 100790);

}  // namespace kiv::test
