#pragma once
// The compressed file of a save written as it is produced: a 32-bit unpacked
// length, then one zlib stream at level 9. The bytes go to a temporary file in
// the target's folder, which replaces the target only when Commit has written
// everything; a writer destroyed before that removes its temporary file, so a
// failed save leaves the previous one as it was.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/byte_list.h"

namespace kiv {

// The longest unpacked stream a save may hold: Commit refuses a longer one, so
// that no save is written that the reader would take for a damaged file.
inline constexpr std::int32_t kMaxSaveStreamLength = 1 << 30;

class SaveFileWriter {
 public:
  // Raises -1 when the temporary file cannot be created or the compressor started.
  explicit SaveFileWriter(const std::string& path);
  ~SaveFileWriter();
  SaveFileWriter(const SaveFileWriter&) = delete;
  SaveFileWriter& operator=(const SaveFileWriter&) = delete;

  // Compresses the bytes; raises -1 on a compressor or write failure.
  void Write(const std::uint8_t* bytes, std::size_t count);
  // Ends the stream, writes the unpacked length in front and renames the
  // temporary file over the target. Raises -1 on failure, and for a stream
  // longer than kMaxSaveStreamLength.
  void Commit();

 private:
  void Deflate(int flush);
  void WriteRaw(const void* bytes, std::size_t count);
  [[noreturn]] void Fail(const std::string& message);
  void Abandon() noexcept;

  std::string path_;
  std::string tempPath_;
  std::FILE* file_ = nullptr;
  z_stream stream_{};
  bool streamOpen_ = false;
  bool committed_ = false;
  std::vector<std::uint8_t> block_;
};

}  // namespace kiv
