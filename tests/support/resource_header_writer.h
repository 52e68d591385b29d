#pragma once
// Builds whole data files: the resource header of a format version (with the
// SHA-1 digest from 100738) followed by a payload.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv::test {

// The version, the digest when the version has one, then the payload.
ByteList MakeResourceFile(std::int32_t version, const ByteList& payload);

}  // namespace kiv::test
