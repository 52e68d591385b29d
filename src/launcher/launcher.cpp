#include "launcher/launcher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "launcher/launcher_texts.h"
#include "launcher/payload_file.h"
#include "launcher/payload_table.h"

namespace kiv {
namespace {

std::string JoinFolder(const std::string& folder, const char* name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

LauncherOutcome Failure(const std::string& message) { return LauncherOutcome{1, message}; }

// Closes the file when the launcher returns.
class OwnFile {
 public:
  explicit OwnFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~OwnFile() {
    if (fd_ >= 0) close(fd_);
  }
  OwnFile(const OwnFile&) = delete;
  OwnFile& operator=(const OwnFile&) = delete;
  int Fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

LauncherOutcome RunLauncher(const std::string& ownPath, const std::string& tempFolder,
                            const InstallerStarter& startInstaller) {
  const OwnFile own(ownPath);
  struct stat info {};
  if (own.Fd() < 0 || fstat(own.Fd(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return Failure(kOwnFileUnreadableMessage);
  }

  const PayloadTable table = ReadPayloadTable(own.Fd());
  switch (table.status) {
    case BundleStatus::kFound:
      break;
    case BundleStatus::kNoMark:
      return Failure(kNotBundledMessage);
    case BundleStatus::kSearchFailed:
      return Failure(kOwnFileUnreadableMessage);
    case BundleStatus::kBadData:
      return Failure(kInternalDataMessage);
  }

  const std::array<const char*, kPayloadCount> names = {kInstallerFileName, kPackageFileName, kIconFileName,
                                                        kDescriptionFileName};
  std::string installerPath;
  for (int k = 0; k < kPayloadCount; ++k) {
    const PayloadSpan& span = table.payloads[k];
    if (span.length <= 0) continue;  // absent: an older file of that name stays
    const std::string path = JoinFolder(tempFolder, names[k]);
    if (!WritePayloadFile(own.Fd(), span, path, k == kPayloadInstaller)) return Failure(kInternalDataMessage);
    if (k == kPayloadInstaller) installerPath = path;
  }

  if (installerPath.empty()) return Failure(kInternalDataMessage);
  if (const int error = startInstaller(installerPath); error != 0) {
    return Failure(std::string("Could not start the installer: ") + std::strerror(error) + ".");
  }
  return LauncherOutcome{};
}

}  // namespace kiv
