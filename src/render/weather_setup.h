#pragma once

namespace kiv {

// Installs the weather placement and the Cloud, Rain, Light, Speaker and Door
// systems of the world update, with the relighting that pulsing lights ask for.
void InstallWeatherHooks();

}  // namespace kiv
