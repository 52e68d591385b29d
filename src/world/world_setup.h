#pragma once

namespace kiv {

// Installs the collision operations into the hooks of the libraries below.
void InstallWorldCollisionHooks();

}  // namespace kiv
