#pragma once
// The geometry behind every collision function: a placed CollisionShape
// becomes a list of convex solids, and two convex solids overlap unless an
// axis separates them.
//
// Decisions (one place for all of them):
// - A box covers left <= x < right, top <= y < bottom, front <= z < back, so two
//   boxes that share a face touch without overlapping. A box with a side of
//   length 0 is a plate (a floor of zero thickness): it overlaps what reaches
//   through it, not what rests on it. A box with right < left (or bottom < top,
//   back < front) covers nothing.
// - A box's own rotation turns it about the shape's origin.
// - A polygon is a prism: its points in x and y, its height from 0 to the
//   polygon's height (negative heights reach downward), turned by its own
//   rotation about the shape's origin. Concave polygons are cut into
//   triangles. The polygon's block of three values and the shape's extra
//   entries and mode carry no geometry.
// - FlipX and FlipY mirror the shape about its origin (x -> -x, y -> -y),
//   whatever Transformed holds, so a flipped tile shape placed one tile
//   further on covers its own tile again.
// - The placement then scales each axis, rotates about x, then y, then z, and
//   moves by the position. In tile-entry mode the rotation turns about the
//   centre of the shape's 32-pixel tile cell instead of the origin, so a
//   quarter-turned tile stays in its cell.
// - Overlap is strict: solids that only touch do not overlap.
// - A placement with a value that is not a finite number places nothing.
#include <cstdint>
#include <vector>

#include "core/record_codecs.h"
#include "mathkiv/placement.h"

namespace kiv::mathkiv_detail {

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// A convex solid (possibly flat or a segment): its corner points, the normals
// of its faces and the directions of its edges, in world space.
struct ConvexSolid {
  std::vector<Vec3> vertices;
  std::vector<Vec3> normals;
  std::vector<Vec3> edges;
  Vec3 min;
  Vec3 max;
  bool axisAligned = false;  // an unrotated box: its min..max is all of it
};

enum class PivotMode { Origin, TileCentre };

bool Finite(const ShapePlacement& placement);

// The solids of a placed shape. Placing again into the same record reuses its
// storage, so tests that run often do not allocate.
class PlacedShape {
 public:
  const ConvexSolid* begin() const { return solids_.data(); }
  const ConvexSolid* end() const { return solids_.data() + count_; }
  bool empty() const { return count_ == 0; }

  void Clear() { count_ = 0; }
  ConvexSolid& Next() {
    if (count_ == solids_.size()) solids_.emplace_back();
    ConvexSolid& s = solids_[count_++];
    s.vertices.clear();
    s.normals.clear();
    s.edges.clear();
    s.axisAligned = false;
    return s;
  }
  void DropLast() { --count_; }

 private:
  std::vector<ConvexSolid> solids_;
  std::size_t count_ = 0;
};

void PlaceShapeInto(const CollisionShape& shape, const ShapePlacement& placement, PivotMode pivot,
                    PlacedShape& out);
PlacedShape PlaceShape(const CollisionShape& shape, const ShapePlacement& placement,
                       PivotMode pivot = PivotMode::Origin);

// An axis-aligned box in world space (min inclusive, max exclusive).
ConvexSolid AlignedBox(const Vec3& min, const Vec3& max);

// The segment between two points.
ConvexSolid SegmentSolid(const Vec3& a, const Vec3& b);

bool SolidsOverlap(const ConvexSolid& a, const ConvexSolid& b);

// The same answer as placing both shapes and testing every pair of solids,
// without building them, for the common case of unturned boxes only. False
// when a shape has polygons or anything turned; result is then untouched.
bool OverlapUnturnedBoxes(const CollisionShape& a, const ShapePlacement& placementA, const CollisionShape& b,
                          const ShapePlacement& placementB, bool& result);

// The bounds of every box of an unturned shape placed about its origin, the
// same numbers as placing it would give; any is false when no box covers
// anything. False when a shape has polygons or anything turned.
bool UnturnedBounds(const CollisionShape& shape, const ShapePlacement& placement, Vec3& min, Vec3& max,
                    bool& any);

}  // namespace kiv::mathkiv_detail
