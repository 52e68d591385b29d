// SetupKiv: unpacks the installer and the game carried in its own file and starts the installer.
#include "launcher/launcher.h"

int main() { return kiv::LauncherMain(); }
