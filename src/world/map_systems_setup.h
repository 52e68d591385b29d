#pragma once
// Installs what the map systems provide to the libraries below: the world
// update's per-map pass and the relate context of scripts.

namespace kiv {

void InstallMapSystemsHooks();

}  // namespace kiv
