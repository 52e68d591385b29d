#pragma once
// Builds launcher files with payloads appended: the launcher's bytes padded to a
// multiple of 512, the mark "Kiv", then each payload as a signed 32-bit
// little-endian length and its bytes.
#include <cstddef>
#include <cstdint>

#include "core/byte_list.h"

namespace kiv::test {

inline constexpr std::size_t kBundleBlock = 512;

// The four payloads in file order.
struct BundlePayloads {
  ByteList installer;
  ByteList package;
  ByteList icon;
  ByteList description;
};

// Zero bytes up to the next multiple of 512.
void PadToBlock(ByteList& bytes);
void AppendMark(ByteList& bytes);
// A length field alone (for lying or absent payloads).
void AppendLength(ByteList& bytes, std::int32_t length);
// A length field and the payload's bytes (an empty payload is the length 0).
void AppendPayload(ByteList& bytes, const ByteList& payload);

// A well-formed bundle: padded launcher, mark, the four payloads, and zero bytes
// up to the next multiple of 512 so that the mark's block can be read in full.
ByteList BuildBundle(const ByteList& launcher, const BundlePayloads& payloads);

}  // namespace kiv::test
