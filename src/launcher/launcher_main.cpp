#include "launcher/installer_start.h"
#include "launcher/launcher.h"
#include "platform/os/system_folders.h"
#include "platform/ui/message_box.h"

namespace kiv {

int LauncherMain() {
  const LauncherOutcome outcome = RunLauncher(os::ExecutablePath(), os::TempFolder(), StartInstaller);
  if (!outcome.message.empty()) ui::ShowErrorMessageBox("Error", outcome.message);
  return outcome.exitCode;
}

}  // namespace kiv
