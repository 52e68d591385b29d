#pragma once
// Placing a map's clouds and raindrops anew over the screen.
#include <cstdint>

namespace kiv {

// Most particles of one kind a map may have; a larger count from the map's
// densities is refused as error 7 instead of exhausting memory.
inline constexpr std::int32_t kMaxWeatherParticles = 1 << 22;

// Rebuilds the cloud and rain lists of the map (index 0 or more; others do
// nothing) from its densities, ranges and sprite sets and the screen size.
// The random draws come from the shared generator in a fixed order.
void InitMapWeather(std::int32_t map);

}  // namespace kiv
