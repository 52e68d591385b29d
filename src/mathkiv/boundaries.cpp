#include "mathkiv/boundaries.h"

#include "mathkiv/shape_solids.h"

namespace kiv {

namespace {

constexpr double kTile = 32.0;
constexpr double kTolerance = 1e-6;

double AreaWidth(const MapBoundaries& map) { return (static_cast<double>(map.width) + 1.0) * kTile; }
double AreaHeight(const MapBoundaries& map) { return (static_cast<double>(map.height) + 1.0) * kTile; }

bool PixelOutside(const MapBoundaries& map, std::int32_t x, std::int32_t y) {
  return x < 0 || y < 0 || static_cast<double>(x) >= AreaWidth(map) ||
         static_cast<double>(y) >= AreaHeight(map);
}

}  // namespace

bool IntersectBoundariesCollision(const MapBoundaries& map, const CollisionShape& shape,
                                  const ShapePlacement& placement) {
  const double w = AreaWidth(map);
  const double h = AreaHeight(map);
  thread_local mathkiv_detail::PlacedShape solids;
  mathkiv_detail::PlaceShapeInto(shape, placement, mathkiv_detail::PivotMode::Origin, solids);
  for (const mathkiv_detail::ConvexSolid& s : solids) {
    if (s.min.x < -kTolerance || s.min.y < -kTolerance || s.max.x > w + kTolerance ||
        s.max.y > h + kTolerance)
      return true;
  }
  return false;
}

bool IntersectBoundariesLine(const MapBoundaries& map, const LineSegment& segment, float /*height*/) {
  return PixelOutside(map, segment.x1, segment.y1) || PixelOutside(map, segment.x2, segment.y2);
}

}  // namespace kiv
