#include "platform/os/system_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kiv::os {
namespace {

// The value of an environment variable, empty when unset.
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) return home;
  // No HOME (a service or a stripped environment): ask the password database.
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return {};
}

}  // namespace

std::optional<std::string> UserDataFolder() {
  // The XDG rules ignore a relative XDG_DATA_HOME.
  const std::string xdg = Environment("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.front() == '/') return WithoutTrailingSeparators(xdg);
  const std::string home = HomeFolder();
  if (home.empty() || home.front() != '/') return std::nullopt;
  return WithoutTrailingSeparators(home) + "/.local/share";
}

std::string TempFolder() {
  const std::string tmp = Environment("TMPDIR");
  if (!tmp.empty()) return WithoutTrailingSeparators(tmp);
  return "/tmp";
}

std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string ExecutableFolder() {
  const std::string path = ExecutablePath();
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(path, error);
  // create_directories reports nothing useful for an existing folder, so look.
  return std::filesystem::is_directory(path, error);
}

}  // namespace kiv::os
