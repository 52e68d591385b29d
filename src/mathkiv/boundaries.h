#pragma once
// The map's boundaries: the four edges of its area. A map of tile columns
// 0..width and rows 0..height covers pixels 0 <= x < (width + 1) * 32 and
// 0 <= y < (height + 1) * 32; whatever reaches outside that area crosses the
// boundaries. Heights are not bounded. The map's own shapes are not part of
// the boundaries: the move and segment tests test them on their own.
//
// Callers pass the Map record's width and height (its last tile column and
// row).
#include <cstdint>

#include "core/record_codecs.h"
#include "mathkiv/placement.h"

namespace kiv {

struct MapBoundaries {
  std::int32_t width = -1;   // last tile column
  std::int32_t height = -1;  // last tile row
};

// True when some part of the placed shape lies outside the map's area. A
// shape without parts crosses nothing.
bool IntersectBoundariesCollision(const MapBoundaries& map, const CollisionShape& shape,
                                  const ShapePlacement& placement);

// True when an end pixel of the segment lies outside the map's area (the area
// is convex, so a segment with both ends inside stays inside).
bool IntersectBoundariesLine(const MapBoundaries& map, const LineSegment& segment, float height);

}  // namespace kiv
