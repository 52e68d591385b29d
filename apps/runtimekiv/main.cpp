// RunTimeKiv, the player. For now it loads the game package named on its command
// line (or "DATA.kRC" beside the program) and lists the entries it holds.
#include <fmt/core.h>

#include <filesystem>
#include <string>

#include "core/folders.h"
#include "core/hooks.h"
#include "core/package.h"
#include "core/random.h"
#include "core/text_encoding.h"
#include "platform/os/system_folders.h"
#include "runtime/runtime_startup.h"

int main(int argc, char** argv) {
  // Seeded once, before anything draws from the shared generator.
  kiv::RandomSeedFromClock();
  kiv::RuntimeStartUp();

  const std::string path =
      argc > 1 ? std::string(argv[1]) : kiv::JoinPath(kiv::os::ExecutableFolder(), "DATA.kRC");
  if (kiv::PackageLoad(path, kiv::kPackageOldNameLength) != 0) {
    kiv::ShowErrorBox("RunTimeKiv", "Could not load resource file properly.");
    return 1;
  }
  std::error_code ignored;
  kiv::gameFolder = std::filesystem::absolute(path, ignored).parent_path().string();

  const auto& entries = kiv::package.packageEntries;
  fmt::print("{} entries in {}\n", entries.size(), path);
  for (const kiv::PackageEntry& entry : entries) {
    fmt::print("{}\t{}\n", kiv::AnsiToUtf8(entry.name), entry.bytes.size());
  }
  return 0;
}
