// Loads the whole sample game, as the inspector does, with one of its data
// entries (a set, a map, an interface or the project state) replaced by the
// input. Input: byte 0 picks the entry, bytes 1 to 4 are the entry's format
// version, the rest its data; from the first hashed version on, the digest of
// the data is put after the version, so the readers see past the header.
// A bad entry must end in one of our errors (an allocation that fails is error
// 7), never in a crash, another exception or gigabytes asked for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/resource_header_writer.h"
#include "whole_game.h"

namespace {

using namespace kiv;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::vector<std::size_t>& replaceable = fuzz::ReplaceableEntries();
  std::vector<PackageEntry> entries = fuzz::SampleEntries();
  const std::size_t entry = replaceable[data[0] % replaceable.size()];
  std::int32_t version = 0;
  for (int i = 0; i < 4; ++i)
    version |= static_cast<std::int32_t>(static_cast<std::uint32_t>(data[1 + i]) << (8 * i));
  entries[entry].bytes = test::MakeResourceFile(version, ByteList(data + 5, data + size));

  fuzz::ResetWholeGame();
  try {
    OutOfMemoryAsError([&] { fuzz::LoadWholePackage(entries); });
  } catch (const KivError&) {
    // A refused entry is the expected end of most inputs.
  }
  fuzz::ResetWholeGame();
  return 0;
}
