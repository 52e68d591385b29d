#include "launcher/payload_table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "launcher/launcher_texts.h"

namespace kiv {
namespace {

// Reads up to `size` bytes at `offset`, stopping early only at the end of the file.
// The number of bytes read, or -1 on a read error.
std::int64_t ReadAt(int fd, std::int64_t offset, unsigned char* buffer, std::int64_t size) {
  std::int64_t done = 0;
  while (done < size) {
    const ssize_t got = pread(fd, buffer + done, static_cast<size_t>(size - done), offset + done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

enum class SearchResult { kFound, kNoMark, kFailed };

// Finds the first full block that begins with the mark; reads many blocks at a time.
SearchResult FindMarkBlock(int fd, std::int64_t fileSize, std::int64_t& blockOffset) {
  constexpr std::int64_t kChunkSize = 128 * kBundleBlockSize;
  std::vector<unsigned char> chunk(kChunkSize);
  for (std::int64_t offset = 0; fileSize - offset >= kBundleBlockSize; offset += kChunkSize) {
    std::int64_t wanted = fileSize - offset < kChunkSize ? fileSize - offset : kChunkSize;
    wanted -= wanted % kBundleBlockSize;
    const std::int64_t got = ReadAt(fd, offset, chunk.data(), wanted);
    if (got < 0) return SearchResult::kFailed;
    // A file that shrank under us simply ends earlier: only full blocks count.
    for (std::int64_t block = 0; block + kBundleBlockSize <= got; block += kBundleBlockSize) {
      if (std::memcmp(chunk.data() + block, kProductMark, kProductMarkLength) == 0) {
        blockOffset = offset + block;
        return SearchResult::kFound;
      }
    }
    if (got < wanted) break;
  }
  return SearchResult::kNoMark;
}

}  // namespace

PayloadTable ReadPayloadTable(int fd) {
  PayloadTable table;
  struct stat info {};
  if (fstat(fd, &info) != 0) return PayloadTable{BundleStatus::kSearchFailed, {}};
  const std::int64_t fileSize = info.st_size;

  std::int64_t markOffset = 0;
  switch (FindMarkBlock(fd, fileSize, markOffset)) {
    case SearchResult::kFound:
      break;
    case SearchResult::kNoMark:
      return PayloadTable{BundleStatus::kNoMark, {}};
    case SearchResult::kFailed:
      return PayloadTable{BundleStatus::kSearchFailed, {}};
  }

  std::int64_t position = markOffset + static_cast<std::int64_t>(kProductMarkLength);
  for (PayloadSpan& span : table.payloads) {
    unsigned char field[4];
    if (ReadAt(fd, position, field, 4) != 4) return PayloadTable{BundleStatus::kBadData, {}};
    position += 4;
    const std::int32_t length = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(field[0]) | static_cast<std::uint32_t>(field[1]) << 8 |
        static_cast<std::uint32_t>(field[2]) << 16 | static_cast<std::uint32_t>(field[3]) << 24);
    if (length <= 0) continue;
    if (length > fileSize - position) return PayloadTable{BundleStatus::kBadData, {}};
    span = PayloadSpan{position, length};
    position += length;
  }
  table.status = BundleStatus::kFound;
  return table;
}

}  // namespace kiv
