#pragma once
// The harness's view of the cameras: every view field of the shown interfaces
// with the map it shows, its screen view, focus and the camera it was last
// drawn with.
#include <nlohmann/json.hpp>

namespace kiv {

// Takes the cameras of the frame just drawn (the game data is gone by the
// time the dump is written).
void CaptureViewCameras();
// What the last capture found; an empty array before any.
nlohmann::json CapturedViewCameras();

}  // namespace kiv
