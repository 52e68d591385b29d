#pragma once
// The harness's view of interface fields: where every shown field lies on the
// screen, and the pick image of the last frame.
#include <nlohmann/json.hpp>

namespace kiv {

// Every field of every shown interface that is not hidden: its map and index,
// name, kind, screen rectangle (left, top, width, height), anchor point and
// text rectangle; a view field also the map it shows and its camera values.
nlohmann::json DumpShownFields();

// Draws the frame again as pick pass 1 into the back buffer, as the pointer
// picking sees it; false when no device is there to draw on.
bool DrawPickImage();

}  // namespace kiv
