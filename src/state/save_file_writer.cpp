#include "state/save_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/error.h"
#include "core/text_encoding.h"

namespace kiv {
namespace {

constexpr std::size_t kOutputBlock = 1 << 18;
// zlib counts input in uInt; larger inputs are given in slices.
constexpr std::size_t kMaxInputSlice = 1u << 30;

const char* const kDeflateError = "ZLib deflate error.";

std::string CannotWrite(const std::string& path) {
  return "Could not write file \"" + Utf8ToAnsi(path) + "\".";
}

}  // namespace

SaveFileWriter::SaveFileWriter(const std::string& path) : path_(path), tempPath_(path + ".tmp-XXXXXX") {
  const int fd = ::mkostemp(tempPath_.data(), O_CLOEXEC);
  if (fd < 0) RaiseError(kErrData, CannotWrite(path_));
  // A save that replaces another keeps its permissions; a new one gets the usual 0644.
  struct stat old {};
  ::fchmod(fd, ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  file_ = ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    ::close(fd);
    ::unlink(tempPath_.c_str());
    RaiseError(kErrData, CannotWrite(path_));
  }
  if (deflateInit(&stream_, 9) != Z_OK) Fail("ZLib deflateInit error.");
  streamOpen_ = true;
  block_.resize(kOutputBlock);
  const std::uint8_t placeholder[4] = {0, 0, 0, 0};  // the unpacked length, written by Commit
  WriteRaw(placeholder, sizeof placeholder);
}

SaveFileWriter::~SaveFileWriter() { Abandon(); }

void SaveFileWriter::Abandon() noexcept {
  if (streamOpen_) deflateEnd(&stream_);
  streamOpen_ = false;
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!committed_) ::unlink(tempPath_.c_str());
}

void SaveFileWriter::Fail(const std::string& message) {
  Abandon();
  RaiseError(kErrData, message);
}

void SaveFileWriter::WriteRaw(const void* bytes, std::size_t count) {
  if (std::fwrite(bytes, 1, count, file_) != count) Fail(CannotWrite(path_));
}

// Runs the compressor over its pending input and writes what it produces.
void SaveFileWriter::Deflate(int flush) {
  int result = Z_OK;
  do {
    stream_.next_out = block_.data();
    stream_.avail_out = static_cast<uInt>(block_.size());
    result = deflate(&stream_, flush);
    // Without flushing, Z_BUF_ERROR only says that no progress was possible.
    const bool stalled = result == Z_BUF_ERROR && flush != Z_FINISH;
    if (result != Z_OK && result != Z_STREAM_END && !stalled) Fail(kDeflateError);
    WriteRaw(block_.data(), block_.size() - stream_.avail_out);
  } while (flush == Z_FINISH ? result != Z_STREAM_END : stream_.avail_out == 0);
}

void SaveFileWriter::Write(const std::uint8_t* bytes, std::size_t count) {
  if (!streamOpen_) RaiseError(kErrData, kDeflateError);
  while (count > 0) {
    const std::size_t slice = std::min(count, kMaxInputSlice);
    stream_.next_in = const_cast<Bytef*>(bytes);
    stream_.avail_in = static_cast<uInt>(slice);
    Deflate(Z_NO_FLUSH);
    if (stream_.avail_in != 0) Fail(kDeflateError);
    bytes += slice;
    count -= slice;
  }
}

void SaveFileWriter::Commit() {
  if (!streamOpen_) RaiseError(kErrData, kDeflateError);
  stream_.next_in = nullptr;
  stream_.avail_in = 0;
  Deflate(Z_FINISH);
  if (stream_.total_in > static_cast<uLong>(kMaxSaveStreamLength)) Fail(kDeflateError);
  const auto length = static_cast<std::uint32_t>(stream_.total_in);
  const std::uint8_t head[4] = {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                                static_cast<std::uint8_t>(length >> 16),
                                static_cast<std::uint8_t>(length >> 24)};
  if (std::fseek(file_, 0, SEEK_SET) != 0) Fail(CannotWrite(path_));
  WriteRaw(head, sizeof head);
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) Fail(CannotWrite(path_));
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0 || std::rename(tempPath_.c_str(), path_.c_str()) != 0) Fail(CannotWrite(path_));
  committed_ = true;
  Abandon();
}

}  // namespace kiv
