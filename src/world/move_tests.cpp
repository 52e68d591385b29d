#include "world/move_tests.h"

#include <algorithm>
#include <array>
#include <limits>

#include "data/broad_phase.h"
#include "data/game_data.h"
#include "mathkiv/boundaries.h"
#include "mathkiv/collision.h"
#include "world/hit_lists.h"
#include "world/relations.h"
#include "world/tile_collision.h"
#include "world/world_settings.h"

namespace kiv {

namespace {

constexpr std::int32_t kSector = 128;

// The objects of a kind that may touch box, ascending: the broad phase's
// candidates, or when it is not in use every object of the list.
const std::vector<std::int32_t>& Candidates(Map& m, BroadPhaseKind kind, const Box& box) {
  if (BroadPhaseInUse(m)) return BroadPhaseCandidates(m, kind, box);
  thread_local std::array<std::vector<std::int32_t>, kBroadKindCount> every;
  std::size_t count = 0;
  switch (kind) {
    case kBroadActors: count = m.actors.size(); break;
    case kBroadZones: count = m.zones.size(); break;
    case kBroadDoors: count = m.doors.size(); break;
    case kBroadPickUps: count = m.pickUps.size(); break;
    default: count = m.boundaries.size(); break;
  }
  auto& list = every[static_cast<std::size_t>(kind)];
  list.resize(count);
  for (std::size_t i = 0; i < count; ++i) list[i] = static_cast<std::int32_t>(i);
  return list;
}

// A box rejection that the reference loop (broad phase off) skips.
bool MayMeet(const Box& a, const Box& b) { return !useBroadPhase || BroadBoxesMeet(a, b); }

Box Widened(const Box& b) { return Box{b.left - 1, b.top - 1, b.right + 1, b.bottom + 1, b.front - 1, b.back + 1}; }

// The first sector and the last of a box's span on one axis, clamped to the grid.
struct SectorSpan {
  std::int32_t first;
  std::int32_t last;
};

// The sectors the tile-entry test visits: one sector around those the box
// touches. With the broad phase, only those within the grid's reach of the
// box, which hold every entry whose box can meet it.
SectorSpan SpanOf(std::int32_t lo, std::int32_t hi, std::int32_t count, std::int32_t reach) {
  SectorSpan span{std::max(lo / kSector - 1, 0), std::min(hi / kSector + 1, count - 1)};
  if (useBroadPhase) {
    const auto floorDiv = [](std::int64_t v) {
      return static_cast<std::int32_t>(v >= 0 ? v / kSector : -((-v + kSector - 1) / kSector));
    };
    // Widened boxes meet within two pixels of each other.
    const std::int64_t margin = static_cast<std::int64_t>(reach) + 2;
    span.first = std::max(span.first, floorDiv(lo - margin));
    span.last = std::min(span.last, floorDiv(hi + margin));
  }
  return span;
}

bool HitsTileEntries(const Map& m, const CollisionShape& shape, const ShapePlacement& placement, const Box& box,
                     const Box& moverBox, bool moveModeOne) {
  if (m.sectorGrid.cells.empty()) return false;
  const std::int32_t reach = m.sectorGrid.tileEntryReach;
  const SectorSpan xs = SpanOf(box.left, box.right, m.sectorGrid.columns, reach);
  const SectorSpan ys = SpanOf(box.top, box.bottom, m.sectorGrid.rows, reach);
  const SectorSpan zs = SpanOf(box.front, box.back, m.sectorGrid.levels, reach);
  auto& grid = const_cast<SectorGrid&>(m.sectorGrid);
  for (std::int32_t sz = zs.first; sz <= zs.last; ++sz)
    for (std::int32_t sy = ys.first; sy <= ys.last; ++sy)
      for (std::int32_t sx = xs.first; sx <= xs.last; ++sx)
        for (std::int32_t index : grid.At(sx, sy, sz).tileEntries) {
          const TileCollisionEntry& entry = m.tileCollisionEntries[static_cast<std::size_t>(index)];
          if (entry.groundOnly != 0 && !moveModeOne) continue;
          if (!MayMeet(Widened(entry.box), moverBox)) continue;
          if (IntersectCollisionCollision(shape, placement, entry.shape, TileEntryPlacement(entry))) return true;
        }
  return false;
}

}  // namespace

bool TestActorMove(std::int32_t map, const CollisionShape& shape, const ShapePlacement& placement,
                   std::int32_t self, std::int32_t ignoredActor, std::int32_t ignoredDoor, bool collectHits,
                   bool skipCharacters) {
  Map& m = gameData.maps[map];
  bool moverCollidable = false;
  bool blockingMover = false;
  bool moveModeOne = false;
  std::int32_t team = -1;
  std::int32_t templateIndex = -1;
  if (self >= 0) {
    const Actor& mover = m.actors[static_cast<std::size_t>(self)];
    team = mover.team;
    moverCollidable = IsCharacterCollidable(map, self, false);
    blockingMover = mover.solidToTouch != 0;
    templateIndex = mover.templateIndex;
    moveModeOne = (mover.moveMode & 3) == 1;
  }
  // The mover's box, against which every object is rejected before its exact test.
  Box placedBox;
  GetCollisionRect(placedBox, shape, placement, kRectPlaced);
  const Box moverBox = BroadBoxOfRect(placedBox);
  bool blocked = false;
  const ShapePlacement origin;
  if (map >= 0) blocked = IntersectBoundariesCollision(MapBoundaries{m.width, m.height}, shape, placement);
  if (!blocked) blocked = HitsTileEntries(m, shape, placement, placedBox, moverBox, moveModeOne);
  if (!blocked)
    for (std::int32_t s : Candidates(m, kBroadMapShapes, moverBox))
      if (IntersectCollisionCollision(shape, placement, m.boundaries[static_cast<std::size_t>(s)], origin)) {
        blocked = true;
        break;
      }
  if (!blocked || collectHits) {
    const bool quiet = QuietBlockingZones();
    for (std::int32_t z : Candidates(m, kBroadZones, moverBox)) {
      const Zone& zone = m.zones[static_cast<std::size_t>(z)];
      if (zone.Disabled() != 0) continue;
      if (!IntersectCollisionCollision(shape, placement, zone.shape, origin)) continue;
      const bool blocking = zone.Blocking() != 0;
      if (blocking && (templateIndex < 0 || !ZoneLetsTemplatePass(zone, templateIndex))) blocked = true;
      if (collectHits && !(blocking && quiet)) hitLists.zoneHits.push_back(z);
    }
  }
  if ((!blocked || collectHits) && moverCollidable && !skipCharacters) {
    for (std::int32_t index : Candidates(m, kBroadActors, moverBox)) {
      if (index == self || index == ignoredActor) continue;
      if (!IsCharacterCollidable(map, index, false)) continue;
      const Actor& other = m.actors[static_cast<std::size_t>(index)];
      if (!IntersectCollisionCollision(shape, placement, other.collisionShape, ActorShapePlacement(other))) continue;
      const bool sameTeam = team != -1 && team == other.team;
      if (blockingMover && other.solidToTouch != 0 && !sameTeam) blocked = true;
      if (collectHits) hitLists.characterHits.push_back(index);
    }
    for (std::int32_t d : Candidates(m, kBroadDoors, moverBox)) {
      const Door& door = m.doors[static_cast<std::size_t>(d)];
      if (d == ignoredDoor || door.Inactive() != 0 || door.doorSet < 0) continue;
      if (!IntersectCollisionCollision(shape, placement, door.collisionShape,
                                       ShapePlacement{door.x, door.y, door.z}))
        continue;
      if (blockingMover) blocked = true;
      if (collectHits) hitLists.doorHits.push_back(d);
    }
  }
  if (!blocked)
    for (std::int32_t p : Candidates(m, kBroadPickUps, moverBox)) {
      const PickUp& pickUp = m.pickUps[static_cast<std::size_t>(p)];
      if (!pickUp.Blocks()) continue;
      if (IntersectCollisionCollision(shape, placement, pickUp.collisionShape,
                                      ShapePlacement{pickUp.x, pickUp.y, pickUp.z})) {
        blocked = true;
        break;
      }
    }
  return blocked;
}

bool TraceSegment(std::int32_t map, const LineSegment& segment, SegmentTrace& trace) {
  if (segment.x1 == segment.x2 && segment.y1 == segment.y2) return false;
  Map& m = gameData.maps[map];
  const float height = trace.height;
  const ShapePlacement origin;
  const Box lineBox = BroadBoxOfSegment(segment, height);
  bool hit = false;
  if (trace.characterHit >= -1) {
    trace.characterHit = -1;
    for (std::int32_t index : Candidates(m, kBroadActors, lineBox)) {
      if (!IsCharacterCollidable(map, index, false)) continue;
      if (std::find(trace.skipCharacters.begin(), trace.skipCharacters.end(), index) != trace.skipCharacters.end())
        continue;
      const Actor& a = m.actors[static_cast<std::size_t>(index)];
      if (a.team != -1 && (a.team == trace.skipTeams[0] || a.team == trace.skipTeams[1])) continue;
      if (IntersectCollisionLine(a.collisionShape, ActorShapePlacement(a), segment, height)) {
        trace.characterHit = index;
        hit = true;
      }
    }
  }
  if (trace.pickUpHit >= -1) {
    trace.pickUpHit = -1;
    for (std::int32_t p : Candidates(m, kBroadPickUps, lineBox)) {
      const PickUp& pickUp = m.pickUps[static_cast<std::size_t>(p)];
      if (p == trace.skipPickUp || !pickUp.Blocks()) continue;
      if (IntersectCollisionLine(pickUp.collisionShape, ShapePlacement{pickUp.x, pickUp.y, pickUp.z}, segment,
                                 height)) {
        trace.pickUpHit = p;
        hit = true;
      }
    }
  }
  if (trace.zoneSwitch >= -1)
    for (std::int32_t z : Candidates(m, kBroadZones, lineBox)) {
      const Zone& zone = m.zones[static_cast<std::size_t>(z)];
      if (zone.Disabled() == 0 && IntersectCollisionLine(zone.shape, origin, segment, height) &&
          zone.Blocking() != 0)
        hit = true;
    }
  if (trace.mapShapeHit >= -1) {
    trace.mapShapeHit = -1;
    for (std::int32_t s : Candidates(m, kBroadMapShapes, lineBox))
      if (IntersectCollisionLine(m.boundaries[static_cast<std::size_t>(s)], origin, segment, height)) {
        trace.mapShapeHit = s;
        hit = true;
      }
  }
  const bool doors = trace.doorHit >= -1;
  const bool tiles = trace.tileSwitch >= -1;
  if (doors) trace.doorHit = -1;
  if ((doors || tiles) && !m.sectorGrid.cells.empty()) {
    const std::int64_t pixelWidth = (static_cast<std::int64_t>(m.width) + 1) * 32;
    const std::int64_t pixelHeight = (static_cast<std::int64_t>(m.height) + 1) * 32;
    auto next = [](std::int64_t v) { return (v >= 0 ? v / 128 + 1 : v / 128) * 128; };
    const std::int64_t xMax = std::max(segment.x1, segment.x2);
    const std::int64_t yMax = std::max(segment.y1, segment.y2);
    for (std::int64_t x = std::min(segment.x1, segment.x2); x <= xMax; x = next(x)) {
      if (x < 0 || x >= pixelWidth) continue;
      for (std::int64_t y = std::min(segment.y1, segment.y2); y <= yMax; y = next(y)) {
        if (y < 0 || y >= pixelHeight) continue;
        SectorCell& cell = m.sectorGrid.At(static_cast<std::int32_t>(x / 128), static_cast<std::int32_t>(y / 128), 0);
        if (doors)
          for (std::int32_t d : cell.doors) {
            if (d < 0 || static_cast<std::size_t>(d) >= m.doors.size()) continue;
            const Door& door = m.doors[static_cast<std::size_t>(d)];
            if (d == trace.skipDoor || door.Inactive() != 0 || door.doorSet < 0) continue;
            if (BroadPhaseInUse(m) && !BroadBoxesMeet(BroadPhaseBox(m, kBroadDoors, d), lineBox)) continue;
            if (IntersectCollisionLine(door.collisionShape, ShapePlacement{door.x, door.y, door.z}, segment,
                                       height)) {
              trace.doorHit = d;
              hit = true;
            }
          }
        if (tiles)
          for (std::int32_t index : cell.tileEntries) {
            const TileCollisionEntry& entry = m.tileCollisionEntries[static_cast<std::size_t>(index)];
            if (!MayMeet(Widened(entry.box), lineBox)) continue;
            if (IntersectCollisionLine(entry.shape, TileEntryPlacement(entry), segment, height)) hit = true;
          }
      }
    }
  }
  if (trace.boundaryResult >= -1 && map >= 0 && !hit) {
    trace.boundaryResult = -1;
    if (IntersectBoundariesLine(MapBoundaries{m.width, m.height}, segment, height)) {
      trace.boundaryResult = 0;
      hit = true;
    }
  }
  return hit;
}

bool RayHitsBox(const Vector3& origin, const Vector3& direction, const Box& box) {
  constexpr float kFar = 3.402823e38f;
  auto sgn = [](float v) { return v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f); };
  auto slab = [&](float o, float v, float lo, float hi, float& tNear, float& tFar) {
    if (v != 0.0f) {
      tNear = ((v >= 0.0f ? lo : hi) - o) / v;
      tFar = ((v >= 0.0f ? hi : lo) - o) / v;
    } else {
      tNear = sgn(lo - o) * kFar;
      tFar = sgn(hi - o) * kFar;
    }
  };
  float nx, fx, ny, fy, nz, fz;
  slab(origin.x, direction.x, static_cast<float>(box.left), static_cast<float>(box.right), nx, fx);
  slab(origin.y, direction.y, static_cast<float>(box.top), static_cast<float>(box.bottom), ny, fy);
  if (nx > fy || ny > fx) return false;
  const float tNear = std::max(nx, ny);
  const float tFar = std::min(fx, fy);
  slab(origin.z, direction.z, static_cast<float>(box.front), static_cast<float>(box.back), nz, fz);
  return !(tNear > fz || nz > tFar);
}

}  // namespace kiv
