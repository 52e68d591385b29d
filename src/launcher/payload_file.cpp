#include "launcher/payload_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kiv {
namespace {

// 64 unpredictable bits for a file name; the clock when the kernel has none to give.
std::uint64_t NameBits() {
  std::uint64_t bits = 0;
  if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) return bits;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_nsec) * 0x9E3779B97F4A7C15ull ^
         static_cast<std::uint64_t>(getpid());
}

// Creates a new file with a random name beside `path` ("<folder>/.<name>.<hex>").
// The mode is reduced by the umask as for any new file. -1 on failure.
int CreateFreshFileBeside(const std::string& path, mode_t mode, std::string& freshPath) {
  const std::string::size_type slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(NameBits()));
    freshPath = folder + "." + name + suffix;
    const int fd = open(freshPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST && errno != EINTR) return -1;
  }
  return -1;
}

bool WriteAll(int fd, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t put = write(fd, bytes, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

// Copies through a buffer that stays in the processor cache. This beats the kernel's
// file-to-file copy here, because payloads start at odd offsets of the source.
bool CopySpan(int source, const PayloadSpan& span, int target) {
  constexpr std::int64_t kBufferSize = 128 * 1024;
  std::vector<unsigned char> buffer(kBufferSize);
  off_t offset = span.offset;
  std::int64_t left = span.length;
  while (left > 0) {
    const ssize_t got =
        pread(source, buffer.data(), static_cast<std::size_t>(std::min(left, kBufferSize)), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // a read error, or the file ended early
    if (!WriteAll(target, buffer.data(), static_cast<std::size_t>(got))) return false;
    offset += got;
    left -= got;
  }
  return true;
}

// Adds the owner's run bit when the umask took it away.
bool EnsureRunBit(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  if ((info.st_mode & S_IXUSR) != 0) return true;
  return fchmod(fd, (info.st_mode & 07777) | S_IXUSR) == 0;
}

}  // namespace

bool WritePayloadFile(int source, const PayloadSpan& span, const std::string& path, bool executable) {
  std::string freshPath;
  const int fd = CreateFreshFileBeside(path, executable ? 0777 : 0666, freshPath);
  if (fd < 0) return false;
  bool ok = CopySpan(source, span, fd);
  if (ok && executable) ok = EnsureRunBit(fd);
  if (close(fd) != 0) ok = false;
  if (ok) ok = rename(freshPath.c_str(), path.c_str()) == 0;
  if (!ok) unlink(freshPath.c_str());
  return ok;
}

}  // namespace kiv
