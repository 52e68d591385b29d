#include "core/log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "core/error.h"
#include "core/folders.h"
#include "core/hash.h"
#include "core/hooks.h"
#include "core/text_encoding.h"
#include "platform/os/file_ops.h"

namespace kiv {
namespace {

// The open "log.txt", -1 when closed.
int logHandle = -1;

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // write failures are ignored
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::string ReplaceLineBreaks(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      result.push_back(' ');
      ++i;
    } else {
      result.push_back(text[i]);
    }
  }
  return result;
}

void AppendLittleEndian(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

}  // namespace

void LogOpen(const std::string& path) {
  LogClose();
  logHandle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

void LogWriteLine(const std::string& text) {
  if (logHandle < 0) return;
  // One unbuffered write per line: the line is in the file as soon as this returns.
  WriteAll(logHandle, text + "\r\n");
}

void LogClose() {
  if (logHandle >= 0) ::close(logHandle);
  logHandle = -1;
}

void ErrorLogAppend(const std::string& text) {
  const std::string path = JoinPath(GetUserGameFolder(), "ERROR.LOG");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd >= 0) {
    WriteAll(fd, text + "\r\n");
    ::close(fd);
  }
  AddNotice(ReplaceLineBreaks(text), true);
}

ByteList ReadFileBytes(const std::string& path) {
  if (!os::PathExists(path)) RaiseError(kErrFileNotFound, "File not found: \"" + Utf8ToAnsi(path) + "\".");
  const std::optional<std::string> bytes = os::ReadWholeFile(path);
  if (!bytes) RaiseError(kErrData, "Could not read file \"" + Utf8ToAnsi(path) + "\".");
  return ByteList(bytes->begin(), bytes->end());
}

void WriteFileBytes(const std::string& path, const ByteList& bytes, bool header) {
  std::string out;
  if (header) {
    const ByteList digest = HashBytes(bytes, kHashSha1, 0);
    if (digest.size() != 20) RaiseError(kErrData, "Could not hash file \"" + Utf8ToAnsi(path) + "\".");
    out.reserve(24 + bytes.size());
    AppendLittleEndian(out, kCurrentFormatVersion);
    out.append(digest.begin(), digest.end());
  }
  out.append(bytes.begin(), bytes.end());
  if (!os::WriteFileReplacing(path, out))
    RaiseError(kErrData, "Could not write file \"" + Utf8ToAnsi(path) + "\".");
}

}  // namespace kiv
