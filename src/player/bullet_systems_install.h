#pragma once
// Installs the Bullet and Pick-Up systems into the world update.
namespace kiv {

void InstallBulletSystems();

}  // namespace kiv
