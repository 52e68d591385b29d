#pragma once
// The records of a map's collision broad phase: per kind of object (characters,
// zones, doors, pick-ups, the map's own shapes) each object's box as last
// placed, and the 128-pixel columns of the map that list the objects whose box
// reaches into them. Kept inside the map record; data/broad_phase.h fills and
// reads them.
#include <array>
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "mathkiv/placement.h"

namespace kiv {

enum BroadPhaseKind : std::int32_t {
  kBroadActors = 0,
  kBroadZones = 1,
  kBroadDoors = 2,
  kBroadPickUps = 3,
  kBroadMapShapes = 4,
  kBroadKindCount = 5,
};

// One object's box and what it was computed from; the box is stale as soon as
// the placement or the shape differs.
struct BroadPhaseObject {
  bool cached = false;
  ShapePlacement placement;
  CollisionShape shape;
  Box box;  // widened by one pixel on every side
  // The range of columns and rows it is listed in; empty when last < first.
  std::int32_t column0 = 0, column1 = -1, row0 = 0, row1 = -1;
};

struct BroadPhaseList {
  std::vector<BroadPhaseObject> objects;
  std::vector<std::vector<std::int32_t>> cells;  // columns * rows, unsorted indexes
  std::vector<std::uint32_t> seen;               // per object: the query stamp that last saw it
  std::uint32_t stamp = 0;
  std::vector<std::int32_t> candidates;          // the last query's answer
};

struct MapBroadPhase {
  // Everything is re-checked before the next query: set after loads, removals
  // and compaction, and at the start of every Character System tick.
  bool dirty = true;
  // Set while the Character System runs its tick, where every move is noted;
  // outside it the collision tests loop over every object, since other code
  // may have placed them without a note.
  bool movesNoted = false;
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::array<BroadPhaseList, kBroadKindCount> lists;
  // Characters that moved since the last query; beyond a few the map is dirty.
  std::vector<std::int32_t> movedActors;
  // The character whose turn the Character System is running: re-checked
  // before every query, so that its own writes never need a note.
  std::int32_t turnActor = -1;
};

}  // namespace kiv
