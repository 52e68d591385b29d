#pragma once
// The harness's view of map preparation: per map whether its data was
// generated, its light count and the light colours of a few named corners.
#include <nlohmann/json.hpp>

namespace kiv {

// Takes the maps of the frame just drawn (the game data is gone by the time
// the dump is written).
void CaptureMapData();
// What the last capture found; an empty array before any.
nlohmann::json CapturedMapData();

}  // namespace kiv
