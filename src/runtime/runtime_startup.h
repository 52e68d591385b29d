#pragma once
// The one start-up that wires every library of the player: each library above
// another installs the hooks through which the lower one reaches it. The
// player, the developer tools and end-to-end tests call it before anything else.
namespace kiv {

// Installs every hook that has a provider. Calling it again installs the same
// providers again (tests reset the hook structs between cases).
void RuntimeStartUp();

}  // namespace kiv
