#pragma once
// Finding the payloads appended to the launcher's own file.
//
// Layout: the program padded to a multiple of 512 bytes, then the mark at the start
// of a 512-byte block, then four payloads, each a signed 32-bit little-endian length
// and that many bytes. A length of 0 or below means the payload is absent.
#include <array>
#include <cstdint>

namespace kiv {

inline constexpr std::int64_t kBundleBlockSize = 512;
inline constexpr int kPayloadCount = 4;
enum PayloadIndex { kPayloadInstaller = 0, kPayloadPackage = 1, kPayloadIcon = 2, kPayloadDescription = 3 };

// Where one payload's bytes lie in the file; length 0 when the payload is absent.
struct PayloadSpan {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  bool operator==(const PayloadSpan&) const = default;
};

enum class BundleStatus {
  kFound,
  kNoMark,        // no full 512-byte block begins with the mark
  kSearchFailed,  // the file could not be read while searching
  kBadData,       // a length runs past the end of the file, or the data could not be read
};

struct PayloadTable {
  BundleStatus status = BundleStatus::kNoMark;
  std::array<PayloadSpan, kPayloadCount> payloads{};
};

// Searches the open file from offset 0 for the first 512-byte block that can be read
// in full and begins with the mark, then reads the four lengths behind it. Every
// length is checked against the bytes left, so kFound means all present payloads lie
// wholly inside the file.
PayloadTable ReadPayloadTable(int fd);

}  // namespace kiv
