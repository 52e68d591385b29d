#include "data/resource_header.h"

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/hash.h"

namespace kiv {

namespace {
constexpr std::int32_t kDigestSize = 20;
constexpr std::int32_t kPayloadStart = 24;
constexpr std::int32_t kFirstSetPadding = 100776;
}  // namespace

bool CheckResourceHeader(const ByteList& buffer, std::int32_t& offset, std::int32_t& version,
                         std::int32_t minimum) {
  if (LastIndex(buffer) < kPayloadStart) RaiseError(kErrResourceCorrupt, "Resource is corrupt.");
  version = BufferReadLong(buffer, offset);
  if (version < minimum) {
    RaiseError(kErrResourceCorrupt, "Resource is too old for this version of Kiv or corrupt.");
  }
  if (version > kCurrentFormatVersion) {
    RaiseError(kErrResourceTooNew, "Resource is too new for this version of Kiv or corrupt.");
  }
  if (version < kFirstHashedVersion) return true;

  ByteList stored(kDigestSize);
  BufferReadBytes(buffer, stored.data(), kDigestSize, offset);
  // The digest covers offset 24 to the end, wherever the header itself lies.
  if (!VerifyHashBytes(stored, buffer, kHashSha1, kPayloadStart)) {
    RaiseError(kErrResourceCorrupt, "Resource is corrupt.");
  }
  return true;
}

Identifier ReadSetIdentifier(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  const Identifier id = BufferReadIdentifier(buffer, offset);
  if (version >= kFirstSetPadding) {
    BufferReadLong(buffer, offset);
    BufferReadByte(buffer, offset);
  }
  return id;
}

}  // namespace kiv
