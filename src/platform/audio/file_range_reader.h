#pragma once
// Reads a byte range of a file as if it were a file of its own, so decoders
// never see the bytes around it.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/audio/audio_source.h"

namespace kiv::audio {

class FileRangeReader {
 public:
  FileRangeReader() = default;
  ~FileRangeReader();
  FileRangeReader(const FileRangeReader&) = delete;
  FileRangeReader& operator=(const FileRangeReader&) = delete;

  // False when the file cannot be opened or the range does not lie inside it.
  bool Open(const FileRange& range);
  // Bytes read (0 at the end of the range).
  std::size_t Read(void* out, std::size_t count);
  // Position within the range; false outside 0..Size().
  bool Seek(std::uint64_t position);
  std::uint64_t Tell() const { return position_; }
  std::uint64_t Size() const { return length_; }
  // The whole range; empty when it cannot be read.
  std::vector<std::uint8_t> ReadAll();

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t offset_ = 0;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace kiv::audio
