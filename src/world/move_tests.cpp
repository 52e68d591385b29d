#include "world/move_tests.h"

#include <algorithm>
#include <limits>

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

ShapePlacement ActorPlacement(const Actor& a) {
  return ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
}

bool HitsTileEntries(const Map& m, const CollisionShape& shape, const ShapePlacement& placement,
                     bool moveModeOne) {
  if (m.sectorGrid.cells.empty()) return false;
  Box box;
  GetCollisionRect(box, shape, placement, kRectPlaced);
  const std::int32_t x0 = std::max(box.left / kSector - 1, 0);
  const std::int32_t x1 = std::min(box.right / kSector + 1, m.sectorGrid.columns - 1);
  const std::int32_t y0 = std::max(box.top / kSector - 1, 0);
  const std::int32_t y1 = std::min(box.bottom / kSector + 1, m.sectorGrid.rows - 1);
  const std::int32_t z0 = std::max(box.front / kSector - 1, 0);
  const std::int32_t z1 = std::min(box.back / kSector + 1, m.sectorGrid.levels - 1);
  auto& grid = const_cast<SectorGrid&>(m.sectorGrid);
  for (std::int32_t sz = z0; sz <= z1; ++sz)
    for (std::int32_t sy = y0; sy <= y1; ++sy)
      for (std::int32_t sx = x0; sx <= x1; ++sx)
        for (std::int32_t index : grid.At(sx, sy, sz).tileEntries) {
          const TileCollisionEntry& entry = m.tileCollisionEntries[static_cast<std::size_t>(index)];
          if (entry.groundOnly != 0 && !moveModeOne) continue;
          if (IntersectCollisionCollision(shape, placement, entry.shape, TileEntryPlacement(entry))) return true;
        }
  return false;
}

}  // namespace

bool TestActorMove(std::int32_t map, const CollisionShape& shape, const ShapePlacement& placement,
                   std::int32_t self, std::int32_t ignoredActor, std::int32_t ignoredDoor, bool collectHits,
                   bool skipCharacters) {
  const Map& m = gameData.maps[map];
  bool moverCollidable = false;
  bool blockingMover = false;
  bool moveModeOne = false;
  std::int32_t team = -1;
  std::int32_t templateIndex = -1;
  if (self >= 0) {
    const Actor& mover = m.actors[static_cast<std::size_t>(self)];
    team = mover.team;
    moverCollidable = IsCharacterCollidable(map, self, false);
    blockingMover = mover.solid != 0;
    templateIndex = mover.templateIndex;
    moveModeOne = (mover.moveMode & 3) == 1;
  }
  bool blocked = false;
  const ShapePlacement origin;
  if (map >= 0) blocked = IntersectBoundariesCollision(MapBoundaries{m.width, m.height}, shape, placement);
  if (!blocked) blocked = HitsTileEntries(m, shape, placement, moveModeOne);
  if (!blocked)
    for (const CollisionShape& own : m.boundaries)
      if (IntersectCollisionCollision(shape, placement, own, origin)) {
        blocked = true;
        break;
      }
  if (!blocked || collectHits) {
    const bool quiet = QuietBlockingZones();
    for (std::size_t z = 0; z < m.zones.size(); ++z) {
      const Zone& zone = m.zones[z];
      if (zone.Disabled() != 0) continue;
      if (!IntersectCollisionCollision(shape, placement, zone.shape, origin)) continue;
      const bool blocking = zone.Blocking() != 0;
      if (blocking && (templateIndex < 0 || !ZoneLetsTemplatePass(zone, templateIndex))) blocked = true;
      if (collectHits && !(blocking && quiet)) hitLists.zoneHits.push_back(static_cast<std::int32_t>(z));
    }
  }
  if ((!blocked || collectHits) && moverCollidable && !skipCharacters) {
    for (std::size_t i = 0; i < m.actors.size(); ++i) {
      const auto index = static_cast<std::int32_t>(i);
      if (index == self || index == ignoredActor) continue;
      if (!IsCharacterCollidable(map, index, false)) continue;
      const Actor& other = m.actors[i];
      if (!IntersectCollisionCollision(shape, placement, other.collisionShape, ActorPlacement(other))) continue;
      const bool sameTeam = team != -1 && team == other.team;
      if (blockingMover && other.solid != 0 && !sameTeam) blocked = true;
      if (collectHits) hitLists.characterHits.push_back(index);
    }
    for (std::size_t d = 0; d < m.doors.size(); ++d) {
      const Door& door = m.doors[d];
      if (static_cast<std::int32_t>(d) == ignoredDoor || door.Inactive() != 0 || door.doorSet < 0) continue;
      if (!IntersectCollisionCollision(shape, placement, door.collisionShape,
                                       ShapePlacement{door.x, door.y, door.z}))
        continue;
      if (blockingMover) blocked = true;
      if (collectHits) hitLists.doorHits.push_back(static_cast<std::int32_t>(d));
    }
  }
  if (!blocked)
    for (const PickUp& pickUp : m.pickUps) {
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
  bool hit = false;
  if (trace.characterHit >= -1) {
    trace.characterHit = -1;
    for (std::size_t i = 0; i < m.actors.size(); ++i) {
      const auto index = static_cast<std::int32_t>(i);
      if (!IsCharacterCollidable(map, index, false)) continue;
      if (std::find(trace.skipCharacters.begin(), trace.skipCharacters.end(), index) != trace.skipCharacters.end())
        continue;
      const Actor& a = m.actors[i];
      if (a.team != -1 && (a.team == trace.skipTeams[0] || a.team == trace.skipTeams[1])) continue;
      if (IntersectCollisionLine(a.collisionShape, ActorPlacement(a), segment, height)) {
        trace.characterHit = index;
        hit = true;
      }
    }
  }
  if (trace.pickUpHit >= -1) {
    trace.pickUpHit = -1;
    for (std::size_t p = 0; p < m.pickUps.size(); ++p) {
      const PickUp& pickUp = m.pickUps[p];
      if (static_cast<std::int32_t>(p) == trace.skipPickUp || !pickUp.Blocks()) continue;
      if (IntersectCollisionLine(pickUp.collisionShape, ShapePlacement{pickUp.x, pickUp.y, pickUp.z}, segment,
                                 height)) {
        trace.pickUpHit = static_cast<std::int32_t>(p);
        hit = true;
      }
    }
  }
  if (trace.zoneSwitch >= -1)
    for (const Zone& zone : m.zones)
      if (zone.Disabled() == 0 && IntersectCollisionLine(zone.shape, origin, segment, height) &&
          zone.Blocking() != 0)
        hit = true;
  if (trace.mapShapeHit >= -1) {
    trace.mapShapeHit = -1;
    for (std::size_t s = 0; s < m.boundaries.size(); ++s)
      if (IntersectCollisionLine(m.boundaries[s], origin, segment, height)) {
        trace.mapShapeHit = static_cast<std::int32_t>(s);
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
            if (IntersectCollisionLine(door.collisionShape, ShapePlacement{door.x, door.y, door.z}, segment,
                                       height)) {
              trace.doorHit = d;
              hit = true;
            }
          }
        if (tiles)
          for (std::int32_t index : cell.tileEntries) {
            const TileCollisionEntry& entry = m.tileCollisionEntries[static_cast<std::size_t>(index)];
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
