#pragma once
// The launcher: writes the payloads appended to its own file into the temporary
// folder and starts the installer among them.
#include <functional>
#include <string>

namespace kiv {

// Output file names of payloads 1 to 3; the installer's is kInstallerFileName.
inline constexpr const char* kPackageFileName = "data.krc";
inline constexpr const char* kIconFileName = "icon.ico";
inline constexpr const char* kDescriptionFileName = "game.ini";

inline constexpr const char* kOwnFileUnreadableMessage = "Could not read information header.";
inline constexpr const char* kInternalDataMessage = "Could not read internal data.";

struct LauncherOutcome {
  int exitCode = 0;
  std::string message;  // shown in an error box when not empty
};

// Starts the installer at the path; 0 or an error number (StartInstaller).
using InstallerStarter = std::function<int(const std::string& path)>;

// The launcher's work on its own file `ownPath`, writing into `tempFolder`.
// A bundle that ends inside a payload writes nothing; without an installer
// payload the other payloads are written but nothing is started (exit code 1).
LauncherOutcome RunLauncher(const std::string& ownPath, const std::string& tempFolder,
                            const InstallerStarter& startInstaller);

// The program: its own file, $TMPDIR, the real start, and an error box for a failure.
int LauncherMain();

}  // namespace kiv
