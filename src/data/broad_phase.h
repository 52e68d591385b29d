#pragma once
// The collision broad phase of a map. Every character, zone, door, pick-up
// and map shape keeps its box, computed when it was last placed, and is listed
// in the 128-pixel columns of the map that its box reaches. A query returns
// the objects whose boxes meet a box, in index order, so exact tests run on
// them in the order a loop over the whole list would and give the same hits.
//
// Boxes are widened by one pixel, so that boxes that do not meet prove that
// the shapes inside do not overlap whatever the rounding of the box.
//
// A stale box is found again in three ways: a character that moves is noted
// (NoteActorMoved); a map marked dirty re-checks every object before its next
// query; and every candidate of a query is re-checked before it is returned.
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "data/broad_phase_grid.h"
#include "data/map_record.h"
#include "mathkiv/placement.h"

namespace kiv {

// The box of the placed shape widened by one pixel on every side.
Box BroadBoxOf(const CollisionShape& shape, const ShapePlacement& placement);

// The widened box of a line test's segment at its height (the pixel layer at height + 0.5).
Box BroadBoxOfSegment(const LineSegment& segment, float height);

// Widened boxes that share no space cannot hold shapes that overlap.
bool BroadBoxesMeet(const Box& a, const Box& b);

// The placement at which the tests place a character's collision shape.
ShapePlacement ActorShapePlacement(const Actor& a);

// Every object is re-checked before the next query.
void MarkBroadPhaseDirty(Map& map);

// While on, every move of a character is noted and queries trust the boxes
// between notes; off (the default), each query re-checks every object first.
// Either way the map is re-checked once.
void SetBroadPhaseMovesNoted(Map& map, bool noted);

// A character whose position, turn, scale or shape changed.
void NoteActorMoved(Map& map, std::int32_t actor);

// The objects of the kind whose boxes meet box, ascending. The list is valid
// until the next query of the same kind on the map.
const std::vector<std::int32_t>& BroadPhaseCandidates(Map& map, BroadPhaseKind kind, const Box& box);

// The widened box of one object, brought up to date first.
const Box& BroadPhaseBox(Map& map, BroadPhaseKind kind, std::int32_t index);

}  // namespace kiv
