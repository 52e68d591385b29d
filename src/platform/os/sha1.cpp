#include "platform/os/sha1.h"

#include <openssl/evp.h>

namespace kiv::os {

std::vector<std::uint8_t> Sha1Digest(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> digest(EVP_MAX_MD_SIZE);
  unsigned int length = 0;
  static const std::uint8_t kNothing = 0;  // the digest of no bytes still needs a valid pointer
  if (EVP_Digest(size == 0 ? &kNothing : data, size, digest.data(), &length, EVP_sha1(), nullptr) != 1 ||
      length != kSha1Size)
    return {};
  digest.resize(length);
  return digest;
}

}  // namespace kiv::os
