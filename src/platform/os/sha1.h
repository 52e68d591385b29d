#pragma once
// SHA-1 digests (OpenSSL's EVP interface).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv::os {

inline constexpr std::size_t kSha1Size = 20;

// The 20-byte SHA-1 digest of size bytes at data; empty when the digest could not be computed.
std::vector<std::uint8_t> Sha1Digest(const std::uint8_t* data, std::size_t size);

}  // namespace kiv::os
