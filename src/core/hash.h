#pragma once
// Digests of byte lists for the hashed header of data files.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

inline constexpr int kHashSha1 = 0x8004;  // the one algorithm identifier in use

// The digest of bytes[start..last]; empty when the algorithm is unknown, start
// is negative or beyond the bytes, or hashing fails. start == size hashes nothing.
ByteList HashBytes(const ByteList& bytes, int algorithm, int start);

// True when the digest of bytes[start..last] could be computed and equals stored.
bool VerifyHashBytes(const ByteList& stored, const ByteList& bytes, int algorithm, int start);

}  // namespace kiv
