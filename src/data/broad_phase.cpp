
#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/broad_phase.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"

namespace kiv {

namespace {

constexpr std::int32_t kColumnSize = 128;
// Larger maps share their outer columns: answers stay right, only slower.
constexpr std::int32_t kMostColumns = 512;
// Beyond this many noted moves a full re-check is cheaper than the list.
constexpr std::size_t kMostNotedMoves = 64;

std::int32_t Widen(std::int32_t v, std::int32_t by) {
  const std::int64_t w = static_cast<std::int64_t>(v) + by;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(w, INT32_MIN, INT32_MAX));
}

std::int32_t PixelFloor(double v) {
  if (!std::isfinite(v)) return v > 0 ? INT32_MAX - 2 : INT32_MIN + 2;
  return static_cast<std::int32_t>(std::clamp(std::floor(v), -2147483000.0, 2147483000.0));
}

std::int32_t PixelCeil(double v) {
  if (!std::isfinite(v)) return v > 0 ? INT32_MAX - 2 : INT32_MIN + 2;
  return static_cast<std::int32_t>(std::clamp(std::ceil(v), -2147483000.0, 2147483000.0));
}

std::int32_t ColumnsFor(std::int32_t lastTile) {
  const std::int64_t pixels = (std::max<std::int64_t>(lastTile, 0) + 1) * 32;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>((pixels + kColumnSize - 1) / kColumnSize, 1, kMostColumns));
}

std::int32_t CellOf(std::int32_t pixel, std::int32_t count) {
  const std::int32_t cell = pixel >= 0 ? pixel / kColumnSize : -1;
  return std::clamp(cell, 0, count - 1);
}

bool SamePlacement(const ShapePlacement& a, const ShapePlacement& b) {
  // Bitwise, so that a NaN placement counts as unchanged.
  return std::memcmp(&a, &b, sizeof(ShapePlacement)) == 0;
}

std::size_t CountOf(const Map& m, BroadPhaseKind kind) {
  switch (kind) {
    case kBroadActors: return m.actors.size();
    case kBroadZones: return m.zones.size();
    case kBroadDoors: return m.doors.size();
    case kBroadPickUps: return m.pickUps.size();
    default: return m.boundaries.size();
  }
}

// Where the tests place object index of the kind, and its shape.
const CollisionShape& SourceOf(const Map& m, BroadPhaseKind kind, std::size_t index, ShapePlacement& placement) {
  switch (kind) {
    case kBroadActors: {
      const Actor& a = m.actors[index];
      placement = ActorShapePlacement(a);
      return a.collisionShape;
    }
    case kBroadZones:
      placement = ShapePlacement{};
      return m.zones[index].shape;
    case kBroadDoors: {
      const Door& d = m.doors[index];
      placement = ShapePlacement{d.x, d.y, d.z};
      return d.collisionShape;
    }
    case kBroadPickUps: {
      const PickUp& p = m.pickUps[index];
      placement = ShapePlacement{p.x, p.y, p.z};
      return p.collisionShape;
    }
    default:
      placement = ShapePlacement{};
      return m.boundaries[index];
  }
}

void Unlist(MapBroadPhase& bp, BroadPhaseList& list, BroadPhaseObject& o, std::int32_t index) {
  for (std::int32_t r = o.row0; r <= o.row1; ++r)
    for (std::int32_t c = o.column0; c <= o.column1; ++c) {
      auto& cell = list.cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(bp.columns) +
                              static_cast<std::size_t>(c)];
      const auto found = std::find(cell.begin(), cell.end(), index);
      if (found != cell.end()) {
        *found = cell.back();
        cell.pop_back();
      }
    }
  o.column0 = o.row0 = 0;
  o.column1 = o.row1 = -1;
}

// Brings one object's box up to date and lists it in the columns it reaches.
void Refresh(Map& m, BroadPhaseKind kind, std::int32_t index) {
  MapBroadPhase& bp = m.broadPhase;
  BroadPhaseList& list = bp.lists[kind];
  BroadPhaseObject& o = list.objects[static_cast<std::size_t>(index)];
  ShapePlacement placement;
  const CollisionShape& shape = SourceOf(m, kind, static_cast<std::size_t>(index), placement);
  if (o.cached && SamePlacement(o.placement, placement) && o.shape == shape) return;
  o.cached = true;
  o.placement = placement;
  o.shape = shape;
  o.box = BroadBoxOf(shape, placement);
  const std::int32_t c0 = CellOf(o.box.left, bp.columns), c1 = CellOf(o.box.right, bp.columns);
  const std::int32_t r0 = CellOf(o.box.top, bp.rows), r1 = CellOf(o.box.bottom, bp.rows);
  if (c0 == o.column0 && c1 == o.column1 && r0 == o.row0 && r1 == o.row1) return;
  Unlist(bp, list, o, index);
  for (std::int32_t r = r0; r <= r1; ++r)
    for (std::int32_t c = c0; c <= c1; ++c)
      list.cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(bp.columns) + static_cast<std::size_t>(c)]
          .push_back(index);
  o.column0 = c0;
  o.column1 = c1;
  o.row0 = r0;
  o.row1 = r1;
}

void Reset(MapBroadPhase& bp, std::int32_t columns, std::int32_t rows) {
  bp.columns = columns;
  bp.rows = rows;
  for (BroadPhaseList& list : bp.lists) {
    list.objects.clear();
    list.seen.clear();
    list.cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), {});
  }
  bp.movedActors.clear();
  bp.dirty = true;
}

// A list whose count changed is listed anew (indexes may have shifted).
void MatchCount(Map& m, BroadPhaseKind kind) {
  BroadPhaseList& list = m.broadPhase.lists[kind];
  const std::size_t count = CountOf(m, kind);
  if (list.objects.size() == count) return;
  for (auto& cell : list.cells) cell.clear();
  list.objects.assign(count, BroadPhaseObject());
  list.seen.assign(count, 0);
  list.stamp = 0;
  for (std::size_t i = 0; i < count; ++i) Refresh(m, kind, static_cast<std::int32_t>(i));
}

void Sync(Map& m) {
  MapBroadPhase& bp = m.broadPhase;
  const std::int32_t columns = ColumnsFor(m.width);
  const std::int32_t rows = ColumnsFor(m.height);
  if (columns != bp.columns || rows != bp.rows) Reset(bp, columns, rows);
  for (std::int32_t k = 0; k < kBroadKindCount; ++k) MatchCount(m, static_cast<BroadPhaseKind>(k));
  if (bp.dirty || !bp.movesNoted) {
    bp.dirty = false;
    bp.movedActors.clear();
    for (std::int32_t k = 0; k < kBroadKindCount; ++k) {
      const auto kind = static_cast<BroadPhaseKind>(k);
      const auto count = static_cast<std::int32_t>(bp.lists[kind].objects.size());
      for (std::int32_t i = 0; i < count; ++i) Refresh(m, kind, i);
    }
    return;
  }
  for (std::int32_t actor : bp.movedActors)
    if (actor >= 0 && static_cast<std::size_t>(actor) < m.actors.size()) Refresh(m, kBroadActors, actor);
  bp.movedActors.clear();
  if (bp.turnActor >= 0 && static_cast<std::size_t>(bp.turnActor) < m.actors.size())
    Refresh(m, kBroadActors, bp.turnActor);
}

}  // namespace

bool useBroadPhase = true;

Box BroadBoxOf(const CollisionShape& shape, const ShapePlacement& placement) {
  Box box;
  GetCollisionRect(box, shape, placement, kRectPlaced);
  return BroadBoxOfRect(box);
}

Box BroadBoxOfRect(const Box& box) {
  return Box{Widen(box.left, -1), Widen(box.top, -1),   Widen(box.right, 1),
             Widen(box.bottom, 1), Widen(box.front, -1), Widen(box.back, 1)};
}

Box BroadBoxOfSegment(const LineSegment& segment, float height) {
  const double z = static_cast<double>(height) + 0.5;
  return Box{Widen(std::min(segment.x1, segment.x2), -1), Widen(std::min(segment.y1, segment.y2), -1),
             Widen(std::max(segment.x1, segment.x2), 2),  Widen(std::max(segment.y1, segment.y2), 2),
             Widen(PixelFloor(z), -1),                    Widen(PixelCeil(z), 1)};
}

bool BroadBoxesMeet(const Box& a, const Box& b) { return IntersectRectRect(a, b); }

ShapePlacement ActorShapePlacement(const Actor& a) {
  return ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
}

void MarkBroadPhaseDirty(Map& map) {
  map.broadPhase.dirty = true;
  map.broadPhase.movedActors.clear();
}

void SetBroadPhaseMovesNoted(Map& map, bool noted) {
  map.broadPhase.movesNoted = noted;
  MarkBroadPhaseDirty(map);
}

void SetBroadPhaseTurnActor(Map& map, std::int32_t actor) { map.broadPhase.turnActor = actor; }

void MarkEveryBroadPhaseDirty() {
  for (std::int32_t m = -1; m <= gameData.maps.LastIndex(); ++m) MarkBroadPhaseDirty(gameData.maps[m]);
}

void NoteActorMoved(Map& map, std::int32_t actor) {
  MapBroadPhase& bp = map.broadPhase;
  if (bp.dirty) return;
  if (bp.movedActors.size() >= kMostNotedMoves) {
    MarkBroadPhaseDirty(map);
    return;
  }
  bp.movedActors.push_back(actor);
}

const std::vector<std::int32_t>& BroadPhaseCandidates(Map& map, BroadPhaseKind kind, const Box& box) {
  Sync(map);
  MapBroadPhase& bp = map.broadPhase;
  BroadPhaseList& list = bp.lists[kind];
  list.candidates.clear();
  if (++list.stamp == 0) {
    std::fill(list.seen.begin(), list.seen.end(), 0u);
    list.stamp = 1;
  }
  const std::int32_t c0 = CellOf(box.left, bp.columns), c1 = CellOf(box.right, bp.columns);
  const std::int32_t r0 = CellOf(box.top, bp.rows), r1 = CellOf(box.bottom, bp.rows);
  for (std::int32_t r = r0; r <= r1; ++r)
    for (std::int32_t c = c0; c <= c1; ++c)
      for (std::int32_t index : list.cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(bp.columns) +
                                           static_cast<std::size_t>(c)]) {
        std::uint32_t& seen = list.seen[static_cast<std::size_t>(index)];
        if (seen == list.stamp) continue;
        seen = list.stamp;
        list.candidates.push_back(index);
      }
  // A candidate that changed unnoticed is re-placed before its box is read.
  std::size_t kept = 0;
  for (std::size_t k = 0; k < list.candidates.size(); ++k) {
    const std::int32_t index = list.candidates[k];
    Refresh(map, kind, index);
    if (BroadBoxesMeet(list.objects[static_cast<std::size_t>(index)].box, box)) list.candidates[kept++] = index;
  }
  list.candidates.resize(kept);
  std::sort(list.candidates.begin(), list.candidates.end());
  return list.candidates;
}

std::vector<std::int32_t> BroadPhaseCandidatesAfter(Map& map, BroadPhaseKind kind, const Box& box,
                                                    std::int32_t after) {
  std::vector<std::int32_t> out;
  if (!BroadPhaseInUse(map)) {
    const auto count = static_cast<std::int32_t>(CountOf(map, kind));
    for (std::int32_t i = std::max(after + 1, 0); i < count; ++i) out.push_back(i);
    return out;
  }
  for (std::int32_t index : BroadPhaseCandidates(map, kind, box))
    if (index > after) out.push_back(index);
  return out;
}

const Box& BroadPhaseBox(Map& map, BroadPhaseKind kind, std::int32_t index) {
  Sync(map);
  Refresh(map, kind, index);
  return map.broadPhase.lists[kind].objects[static_cast<std::size_t>(index)].box;
}

}  // namespace kiv
