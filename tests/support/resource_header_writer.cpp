#include "support/resource_header_writer.h"

#include "core/data_buffer.h"
#include "support/hashed_header.h"

namespace kiv::test {

ByteList MakeResourceFile(std::int32_t version, const ByteList& payload) {
  ByteList file;
  std::int32_t offset = 0;
  BufferWriteLong(file, version, offset);
  if (version >= 100738) {
    // Hashed independently of the player's own hashing.
    ByteList digest = Sha1Of(payload);
    BufferWriteBytes(file, digest.data(), static_cast<std::int32_t>(digest.size()), offset);
  }
  file.insert(file.end(), payload.begin(), payload.end());
  return file;
}

void WriteSetIdentifier(ByteList& buffer, std::int32_t& offset, const Identifier& id, std::int32_t version) {
  BufferWriteIdentifier(buffer, id, offset);
  if (version >= 100776) {
    BufferWriteLong(buffer, 0x0BADBEEF, offset);
    BufferWriteByte(buffer, 0xEE, offset);
  }
}

}  // namespace kiv::test
