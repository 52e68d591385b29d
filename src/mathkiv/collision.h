#pragma once
// Collision shapes: their bounding box, and overlap tests of shapes, boxes and
// segments. The geometry rules are written in shape_solids.h.
#include <cstdint>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "mathkiv/placement.h"

namespace kiv {

// Modes of GetCollisionRect.
inline constexpr std::int32_t kRectPlaced = -1;    // rotation about the placement's position
inline constexpr std::int32_t kRectTileEntry = 0;  // rotation about the centre of the shape's tile cell

// The smallest whole-pixel box (right, bottom and back exclusive) around the
// placed shape. A shape without parts gives an empty box at the position
// (rounded). Any mode other than kRectTileEntry is kRectPlaced.
void GetCollisionRect(Box& out, const CollisionShape& shape, const ShapePlacement& placement,
                      std::int32_t mode);

// Boxes overlap when they share space on all three axes; touching faces do
// not. A box with a side of length 0 overlaps what reaches through it.
bool IntersectRectRect(const Box& a, const Box& b);

bool IntersectCollisionCollision(const CollisionShape& a, const ShapePlacement& placementA,
                                 const CollisionShape& b, const ShapePlacement& placementB);

// The segment runs between the centres of its two end pixels, through the
// middle of the pixel layer at the given height. It is not shortened at a hit,
// so callers that test several objects keep the last hit, not the nearest.
bool IntersectCollisionLine(const CollisionShape& shape, const ShapePlacement& placement,
                            const LineSegment& segment, float height);

// Shapes keep no derived data here: every test places the shape afresh, so
// there is nothing to drop. Kept for the callers that change boxes or flips.
void ResetCollision(CollisionShape& shape);

}  // namespace kiv
