#include "platform/audio/file_range_reader.h"

namespace kiv::audio {

FileRangeReader::~FileRangeReader() {
  if (file_) std::fclose(file_);
}

bool FileRangeReader::Open(const FileRange& range) {
  file_ = std::fopen(range.path.c_str(), "rb");
  if (!file_) return false;
  if (fseeko(file_, 0, SEEK_END) != 0) return false;
  const off_t end = ftello(file_);
  if (end < 0) return false;
  const auto fileSize = static_cast<std::uint64_t>(end);
  if (range.offset > fileSize) return false;
  const std::uint64_t available = fileSize - range.offset;
  const std::uint64_t length = range.length == 0 ? available : range.length;
  if (length > available || length == 0) return false;
  offset_ = range.offset;
  length_ = length;
  position_ = 0;
  return fseeko(file_, static_cast<off_t>(offset_), SEEK_SET) == 0;
}

std::size_t FileRangeReader::Read(void* out, std::size_t count) {
  if (!file_ || position_ >= length_) return 0;
  if (count > length_ - position_) count = static_cast<std::size_t>(length_ - position_);
  const std::size_t got = std::fread(out, 1, count, file_);
  position_ += got;
  return got;
}

bool FileRangeReader::Seek(std::uint64_t position) {
  if (!file_ || position > length_) return false;
  if (fseeko(file_, static_cast<off_t>(offset_ + position), SEEK_SET) != 0) return false;
  position_ = position;
  return true;
}

std::vector<std::uint8_t> FileRangeReader::ReadAll() {
  std::vector<std::uint8_t> bytes;
  if (!Seek(0)) return bytes;
  bytes.resize(static_cast<std::size_t>(length_));
  if (Read(bytes.data(), bytes.size()) != bytes.size()) bytes.clear();
  return bytes;
}

}  // namespace kiv::audio
