#pragma once
// A player's character carried onto a neighbouring map from the 16-pixel strip
// along an edge, and the map-edge and camera-edge events of a character.
#include <cstdint>

namespace kiv {

// Carries character c of map m into the neighbour of the first side (left,
// top, right, bottom) whose strip it meets. True when it changed map.
bool RunMapPassage(std::int32_t map, std::int32_t character);

// Raises the map-edge events (mapEdges) and the camera-edge events
// (cameraEdges) of character c of map m from its place now.
void RaiseEdgeEvents(std::int32_t map, std::int32_t character, bool mapEdges, bool cameraEdges);

}  // namespace kiv
