#include "support/hashed_header.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace kiv::test {

ByteList Sha1Of(const ByteList& bytes) {
  ByteList digest(EVP_MAX_MD_SIZE);
  unsigned int size = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha1(), nullptr) != 1) {
    throw std::runtime_error("SHA-1 failed");
  }
  digest.resize(size);
  return digest;
}

ByteList WithHashedHeader(const ByteList& data, std::int32_t version) {
  ByteList out;
  const auto bits = static_cast<std::uint32_t>(version);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
  const ByteList digest = Sha1Of(data);
  out.insert(out.end(), digest.begin(), digest.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

}  // namespace kiv::test
