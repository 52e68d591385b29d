// Feeds arbitrary bytes to the package reader and the entry-name pattern match.
// Input: byte 0 the old layout's name width (0..63), byte 1 a pattern length
// (0..15), that many pattern bytes, then the package bytes. A bad package must
// end in a KivError, never in a crash, a read past the end or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/error.h"
#include "core/package.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int oldNameLength = data[0] % 64;
  const std::size_t patternLength = data[1] % 16;
  if (size < 2 + patternLength) return 0;
  const std::string pattern(reinterpret_cast<const char*>(data + 2), patternLength);
  const std::uint8_t* bytes = data + 2 + patternLength;
  const std::size_t count = size - 2 - patternLength;
  try {
    const std::vector<kiv::PackageEntry> entries = kiv::PackageParse(bytes, count, oldNameLength);
    for (const kiv::PackageEntry& entry : entries) {
      Check(entry.position >= 0 && static_cast<std::size_t>(entry.position) <= count);
      kiv::PackageNameLike(entry.name, pattern);
      kiv::PackageNameLike(pattern, entry.name);
    }
  } catch (const kiv::KivError& error) {
    Check(error.Number() == -1);
  }
  return 0;
}
