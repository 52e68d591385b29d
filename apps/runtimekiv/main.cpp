// RunTimeKiv, the player: the start window with the game package named on the
// command line (or "DATA.kRC" beside the program), and the windows it hands
// over to, until the last of them has gone.
#include <string>

#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/start_window.h"
#include "runtime/runtime_startup.h"

int main(int argc, char** argv) {
  kiv::RuntimeStartUp();
  if (!kiv::frmStart.Initialize(argc > 1 ? std::string(argv[1]) : std::string())) return 1;
  kiv::frmStart.Show();
  // Games run inside the pump (a menu button's handler); between them the
  // windows wait for the user, so the pump rests a little each time.
  while (kiv::ui::AnyFormLoaded()) {
    kiv::ui::DoEvents();
    kiv::os::Sleep(10);
  }
  return kiv::StartWindowExitCode();
}
