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
// A stale box is found again in four ways: a character that moves is noted
// (NoteActorMoved); the character whose turn runs is re-checked before every
// query; a map marked dirty (after loads, removals, script commands) re-checks
// every object before its next query; and every candidate of a query is
// re-checked before it is returned.
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "data/broad_phase_grid.h"
#include "data/map_record.h"
#include "mathkiv/placement.h"

namespace kiv {

// On (the default), the collision tests look only at the objects the broad
// phase lists near them and reject by box before each exact test; off, they
// test every object of every list, the reference the broad phase must match.
extern bool useBroadPhase;

// The box of the placed shape widened by one pixel on every side.
Box BroadBoxOf(const CollisionShape& shape, const ShapePlacement& placement);

// The same from the shape's box (GetCollisionRect's, kRectPlaced).
Box BroadBoxOfRect(const Box& box);

// The widened box of a line test's segment at its height (the pixel layer at height + 0.5).
Box BroadBoxOfSegment(const LineSegment& segment, float height);

// Widened boxes that share no space cannot hold shapes that overlap.
bool BroadBoxesMeet(const Box& a, const Box& b);

// The placement at which the tests place a character's collision shape.
ShapePlacement ActorShapePlacement(const Actor& a);

// Every object is re-checked before the next query.
void MarkBroadPhaseDirty(Map& map);

// While on, every move of a character is noted and queries trust the boxes
// between notes. Off (the default), the collision tests loop over every
// object instead (BroadPhaseInUse): code outside the Character System's pass
// places objects without notes, and re-checking every box before each query
// would cost more than the loop. Either way the map is re-checked once.
void SetBroadPhaseMovesNoted(Map& map, bool noted);

// True when the collision tests of the map use the broad phase: switched on
// and with moves noted.
inline bool BroadPhaseInUse(const Map& map) { return useBroadPhase && map.broadPhase.movesNoted; }

// A character whose position, turn, scale or shape changed.
void NoteActorMoved(Map& map, std::int32_t actor);

// The character whose turn runs (-1: none); while moves are noted it is
// re-checked before every query whether its moves were noted or not.
void SetBroadPhaseTurnActor(Map& map, std::int32_t actor);

// Every map re-checks every object before its next query: after anything
// that may have placed objects without a note, as a script command.
void MarkEveryBroadPhaseDirty();

// The objects of the kind whose boxes meet box, ascending. The list is valid
// until the next query of the same kind on the map.
const std::vector<std::int32_t>& BroadPhaseCandidates(Map& map, BroadPhaseKind kind, const Box& box);

// The same, with an index above after, as a list of its own that later
// queries leave alone: for loops whose bodies run scripts, which query again
// from the index they reached. With the broad phase not in use, every such object.
std::vector<std::int32_t> BroadPhaseCandidatesAfter(Map& map, BroadPhaseKind kind, const Box& box,
                                                    std::int32_t after);

// The widened box of one object, brought up to date first.
const Box& BroadPhaseBox(Map& map, BroadPhaseKind kind, std::int32_t index);

}  // namespace kiv
