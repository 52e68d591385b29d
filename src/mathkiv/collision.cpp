#include "mathkiv/collision.h"

#include <cmath>
#include <limits>

#include "mathkiv/shape_solids.h"

namespace kiv {

using mathkiv_detail::ConvexSolid;
using mathkiv_detail::PivotMode;
using mathkiv_detail::SolidsOverlap;
using mathkiv_detail::Vec3;

namespace {

// Bounds that are whole numbers up to rounding noise stay on that number.
constexpr double kSnap = 1e-4;

std::int32_t ToPixel(double v) {
  constexpr double kLimit = 2147483000.0;
  return static_cast<std::int32_t>(std::fmax(-kLimit, std::fmin(kLimit, v)));
}

std::int32_t RoundPixel(float v) {
  return std::isfinite(v) ? ToPixel(std::nearbyint(static_cast<double>(v))) : 0;
}

}  // namespace

void GetCollisionRect(Box& out, const CollisionShape& shape, const ShapePlacement& placement,
                      std::int32_t mode) {
  const PivotMode pivot = mode == kRectTileEntry ? PivotMode::TileCentre : PivotMode::Origin;
  constexpr double kHuge = std::numeric_limits<double>::max();
  Vec3 min{kHuge, kHuge, kHuge};
  Vec3 max{-kHuge, -kHuge, -kHuge};
  bool any = false;
  // Unturned boxes about the origin (most characters' moves) need no placing;
  // about a tile centre the pivot's round trip could move a bound by a bit.
  if (pivot != PivotMode::Origin || !mathkiv_detail::UnturnedBounds(shape, placement, min, max, any)) {
    thread_local mathkiv_detail::PlacedShape solids;
    mathkiv_detail::PlaceShapeInto(shape, placement, pivot, solids);
    for (const ConvexSolid& s : solids) {
      min = {std::fmin(min.x, s.min.x), std::fmin(min.y, s.min.y), std::fmin(min.z, s.min.z)};
      max = {std::fmax(max.x, s.max.x), std::fmax(max.y, s.max.y), std::fmax(max.z, s.max.z)};
    }
    any = !solids.empty();
  }
  if (!any) {
    const std::int32_t x = RoundPixel(placement.x);
    const std::int32_t y = RoundPixel(placement.y);
    const std::int32_t z = RoundPixel(placement.z);
    out = Box{x, y, x, y, z, z};
    return;
  }
  out.left = ToPixel(std::floor(min.x + kSnap));
  out.top = ToPixel(std::floor(min.y + kSnap));
  out.front = ToPixel(std::floor(min.z + kSnap));
  out.right = ToPixel(std::ceil(max.x - kSnap));
  out.bottom = ToPixel(std::ceil(max.y - kSnap));
  out.back = ToPixel(std::ceil(max.z - kSnap));
}

bool IntersectRectRect(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom && a.front < b.back &&
         b.front < a.back;
}

bool IntersectCollisionCollision(const CollisionShape& a, const ShapePlacement& placementA,
                                 const CollisionShape& b, const ShapePlacement& placementB) {
  bool overlap = false;
  if (mathkiv_detail::OverlapUnturnedBoxes(a, placementA, b, placementB, overlap)) return overlap;
  thread_local mathkiv_detail::PlacedShape solidsA, solidsB;
  mathkiv_detail::PlaceShapeInto(a, placementA, PivotMode::Origin, solidsA);
  if (solidsA.empty()) return false;
  mathkiv_detail::PlaceShapeInto(b, placementB, PivotMode::Origin, solidsB);
  for (const ConvexSolid& sa : solidsA)
    for (const ConvexSolid& sb : solidsB)
      if (SolidsOverlap(sa, sb)) return true;
  return false;
}

bool IntersectCollisionLine(const CollisionShape& shape, const ShapePlacement& placement,
                            const LineSegment& segment, float height) {
  if (!std::isfinite(height)) return false;
  const double z = static_cast<double>(height) + 0.5;
  const ConvexSolid line = mathkiv_detail::SegmentSolid({segment.x1 + 0.5, segment.y1 + 0.5, z},
                                                        {segment.x2 + 0.5, segment.y2 + 0.5, z});
  thread_local mathkiv_detail::PlacedShape solids;
  mathkiv_detail::PlaceShapeInto(shape, placement, PivotMode::Origin, solids);
  for (const ConvexSolid& s : solids)
    if (SolidsOverlap(s, line)) return true;
  return false;
}

void ResetCollision(CollisionShape& /*shape*/) {}

}  // namespace kiv
