#pragma once
// Builds whole data files: the resource header of a format version (with the
// SHA-1 digest from 100738) followed by a payload.
#include <cstdint>

#include "core/byte_list.h"
#include "core/identifier.h"

namespace kiv::test {

// The version, the digest when the version has one, then the payload.
ByteList MakeResourceFile(std::int32_t version, const ByteList& payload);

// The identifier that opens a set record, with the five filler bytes that
// follow it from format 100776.
void WriteSetIdentifier(ByteList& buffer, std::int32_t& offset, const Identifier& id, std::int32_t version);

}  // namespace kiv::test
