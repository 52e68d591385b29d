#pragma once
// The weather section of the kivplay dump: per loaded map (not interfaces) its
// cloud and rain counts, the open amount of every door and the levels of
// every light, as the last frame saw them.
#include <nlohmann/json.hpp>

namespace kivplay {

// Takes the section from the maps as they are now (at the last frame).
void CaptureWeather();
nlohmann::json WeatherDump();

}  // namespace kivplay
