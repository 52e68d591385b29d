#pragma once
// Installs the notices, the message-box set-up, the Message Box and Message
// systems of the world update and the start window's load dialog.

namespace kiv {

// playerHooks.InitMessageBoxes, MessageBoxSystem, MessageSystem;
// startWindowHooks.ShowLoadDialog; core's notice hook.
void InstallBoxesAndNotices();

}  // namespace kiv
