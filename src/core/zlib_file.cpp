#include "core/zlib_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/error.h"
#include "core/log.h"
#include "core/text_encoding.h"

namespace kiv {
namespace {

// No deflate stream inflates to more than 1032 times its size, so a larger
// unpacked length is refused before anything is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1032;
constexpr std::size_t kOutputBlock = 1 << 18;
// zlib counts input in uInt; larger inputs are given in slices.
constexpr std::size_t kMaxInputSlice = 1u << 30;

const char* const kDeflateError = "ZLib deflate error.";
const char* const kUncompressError = "ZLib uncompress error.";

// The one compressed file being written.
struct CompressedFileStream {
  bool open = false;
  z_stream stream{};
  std::FILE* file = nullptr;
  std::string path;      // the target
  std::string tempPath;  // where the bytes go until ZlibFileEnd
  std::vector<std::uint8_t> block;
};
CompressedFileStream compressedFileStream;

// Drops the file being written: the temporary file is removed, the target untouched.
void Abandon() {
  CompressedFileStream& s = compressedFileStream;
  if (!s.open) return;
  deflateEnd(&s.stream);
  if (s.file != nullptr) std::fclose(s.file);
  ::unlink(s.tempPath.c_str());
  s.file = nullptr;
  s.open = false;
}

[[noreturn]] void Fail(const std::string& message) {
  Abandon();
  RaiseError(kErrData, message);
}

std::string CannotWrite(const std::string& path) {
  return "Could not write file \"" + Utf8ToAnsi(path) + "\".";
}

// Writes what the last deflate call produced into the block.
void WriteProduced() {
  CompressedFileStream& s = compressedFileStream;
  const std::size_t produced = s.block.size() - s.stream.avail_out;
  if (produced > 0 && std::fwrite(s.block.data(), 1, produced, s.file) != produced) Fail(CannotWrite(s.path));
}

}  // namespace

void ZlibFileBegin(const std::string& path) {
  Abandon();
  CompressedFileStream& s = compressedFileStream;
  s.stream = z_stream{};
  // zlib's own deflateInit passes the version and record size of the library we link.
  if (deflateInit(&s.stream, 9) != Z_OK) RaiseError(kErrData, "ZLib deflateInit error.");
  s.open = true;
  s.path = path;
  s.tempPath = path + ".tmp-XXXXXX";
  const int fd = ::mkostemp(s.tempPath.data(), O_CLOEXEC);
  if (fd < 0) {
    deflateEnd(&s.stream);
    s.open = false;
    RaiseError(kErrData, CannotWrite(path));
  }
  // Keep the permissions of a file being replaced; a new one gets the usual 0644.
  struct stat old {};
  ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  s.file = ::fdopen(fd, "wb");
  if (s.file == nullptr) {
    ::close(fd);
    Fail(CannotWrite(path));
  }
  s.block.resize(kOutputBlock);
  const std::uint8_t placeholder[4] = {0, 0, 0, 0};  // the unpacked length, patched at the end
  if (std::fwrite(placeholder, 1, 4, s.file) != 4) Fail(CannotWrite(path));
}

void ZlibFileWrite(const ByteList& bytes) {
  CompressedFileStream& s = compressedFileStream;
  if (!s.open) RaiseError(kErrData, kDeflateError);
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const std::size_t slice = std::min(bytes.size() - offset, kMaxInputSlice);
    s.stream.next_in = const_cast<Bytef*>(bytes.data() + offset);
    s.stream.avail_in = static_cast<uInt>(slice);
    do {
      s.stream.next_out = s.block.data();
      s.stream.avail_out = static_cast<uInt>(s.block.size());
      // Z_BUF_ERROR only says that no progress was possible, which ends the loop.
      const int result = deflate(&s.stream, Z_NO_FLUSH);
      if (result != Z_OK && result != Z_BUF_ERROR) Fail(kDeflateError);
      WriteProduced();
    } while (s.stream.avail_out == 0);
    if (s.stream.avail_in != 0) Fail(kDeflateError);
    offset += slice;
  }
}

void ZlibFileEnd() {
  CompressedFileStream& s = compressedFileStream;
  if (!s.open) RaiseError(kErrData, kDeflateError);
  int result = Z_OK;
  do {
    s.stream.next_out = s.block.data();
    s.stream.avail_out = static_cast<uInt>(s.block.size());
    result = deflate(&s.stream, Z_FINISH);
    if (result != Z_OK && result != Z_STREAM_END) Fail(kDeflateError);
    WriteProduced();
  } while (result != Z_STREAM_END);
  // The reader takes the length as a signed 32-bit count.
  if (s.stream.total_in > static_cast<uLong>(std::numeric_limits<std::int32_t>::max())) Fail(kDeflateError);
  const auto length = static_cast<std::uint32_t>(s.stream.total_in);
  const std::uint8_t head[4] = {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                                static_cast<std::uint8_t>(length >> 16),
                                static_cast<std::uint8_t>(length >> 24)};
  if (std::fseek(s.file, 0, SEEK_SET) != 0 || std::fwrite(head, 1, 4, s.file) != 4 ||
      std::fflush(s.file) != 0 || ::fsync(::fileno(s.file)) != 0) {
    Fail(CannotWrite(s.path));
  }
  const int closed = std::fclose(s.file);
  s.file = nullptr;
  if (closed != 0 || std::rename(s.tempPath.c_str(), s.path.c_str()) != 0) Fail(CannotWrite(s.path));
  deflateEnd(&s.stream);
  s.open = false;
  s.block = {};
}

void ZlibUncompress(const std::uint8_t* source, std::size_t sourceSize, ByteList& destination,
                    std::int32_t length) {
  if (length < 0 ||
      static_cast<std::uint64_t>(length) > static_cast<std::uint64_t>(sourceSize) * kMaxInflateRatio) {
    RaiseError(kErrData, kUncompressError);
  }
  destination.resize(static_cast<std::size_t>(length));
  uLongf produced = static_cast<uLongf>(length);
  uLong consumed = static_cast<uLong>(sourceSize);
  const int result = uncompress2(destination.data(), &produced, source, &consumed);
  // A stream that ends early still returns Z_OK, so the produced length is checked too.
  if (result != Z_OK || produced != static_cast<uLongf>(length)) {
    destination.clear();
    RaiseError(kErrData, kUncompressError);
  }
}

void ZlibUncompress(ByteList& source, ByteList& destination, std::int32_t length) {
  ByteList taken = std::move(source);
  source = ByteList();
  ZlibUncompress(taken.data(), taken.size(), destination, length);
}

ByteList ReadCompressedFile(const std::string& path) {
  const ByteList file = ReadFileBytes(path);
  if (file.size() < 4) RaiseError(kErrData, kUncompressError);
  const auto length = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(file[0]) | (static_cast<std::uint32_t>(file[1]) << 8) |
      (static_cast<std::uint32_t>(file[2]) << 16) | (static_cast<std::uint32_t>(file[3]) << 24));
  ByteList bytes;
  ZlibUncompress(file.data() + 4, file.size() - 4, bytes, length);
  return bytes;
}

}  // namespace kiv
