#include "launcher/installer_start.h"

#include <spawn.h>
#include <unistd.h>

namespace kiv {

int StartInstaller(const std::string& path) {
  std::string program = path;
  char* argv[] = {program.data(), nullptr};
  pid_t child = 0;
  // The child is never waited for: the launcher ends right away and the
  // installer is then adopted by the system.
  return posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ);
}

}  // namespace kiv
