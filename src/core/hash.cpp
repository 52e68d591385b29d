#include "core/hash.h"

#include "platform/os/sha1.h"

namespace kiv {

ByteList HashBytes(const ByteList& bytes, int algorithm, int start) {
  if (algorithm != kHashSha1 || start < 0 || static_cast<std::size_t>(start) > bytes.size()) return {};
  return os::Sha1Digest(bytes.data() + start, bytes.size() - static_cast<std::size_t>(start));
}

bool VerifyHashBytes(const ByteList& stored, const ByteList& bytes, int algorithm, int start) {
  const ByteList digest = HashBytes(bytes, algorithm, start);
  return !digest.empty() && digest == stored;
}

}  // namespace kiv
