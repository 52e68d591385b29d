#pragma once
// Whether a shape may stand somewhere, what a segment hits and whether a ray
// meets a box.
#include <array>
#include <cstdint>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "data/broad_phase.h"  // useBroadPhase switches the tests' broad phase
#include "mathkiv/placement.h"

namespace kiv {

// True = blocked. Tests, in order: the map's boundaries, tile entries of the
// sectors around the shape, the map's own shapes, zones, characters, doors and
// pick-ups. A test starts only while nothing blocked, except that zones,
// characters and doors are still walked (to the end of their lists) when hits
// are collected, so the hit lists are complete.
bool TestActorMove(std::int32_t map, const CollisionShape& shape, const ShapePlacement& placement,
                   std::int32_t self, std::int32_t ignoredActor, std::int32_t ignoredDoor, bool collectHits,
                   bool skipCharacters);

// The switches and results of a segment test. A result below -1 on entry
// switches its test off; otherwise it is set to -1 and receives the index of
// a hit (the boundary result receives 0). The tile and zone switches below -1
// switch those tests off.
struct SegmentTrace {
  std::int32_t boundaryResult = -1;
  std::int32_t mapShapeHit = -1;
  std::array<std::int32_t, 3> skipCharacters{-1, -1, -1};
  std::array<std::int32_t, 2> skipTeams{-1, -1};
  std::int32_t characterHit = -1;
  std::int32_t skipDoor = -1;
  std::int32_t doorHit = -1;
  std::int32_t skipPickUp = -1;
  std::int32_t pickUpHit = -1;
  std::int32_t tileSwitch = -1;
  std::int32_t zoneSwitch = -1;
  float height = 0.0f;
};

// True when something was hit. A segment whose ends coincide hits nothing and
// changes no result.
bool TraceSegment(std::int32_t map, const LineSegment& segment, SegmentTrace& trace);

// The slab test of a ray from origin along direction against a box.
bool RayHitsBox(const Vector3& origin, const Vector3& direction, const Box& box);

}  // namespace kiv
