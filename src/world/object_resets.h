#pragma once
// Small operations that many world parts share: zone and field resets,
// detaching a field from its children, the heading of a moving object, and
// the one-step move test of a walking character.
#include <cstdint>

#include "core/geometry.h"

namespace kiv {

// Name "", Blocking 0, Disabled 1.
void ResetZoneState(std::int32_t map, std::int32_t zone);
// Makes the field a dormant spare: name "", hidden, dormant, not selectable,
// disabled, not scrolling, no parent and no spawner.
void ResetFieldState(std::int32_t map, std::int32_t field);
// Clears the map's selection of the field, frees its children and fixes the
// stored field references.
void DetachField(std::int32_t map, std::int32_t field);
// The direction of the character's motion, or its stored heading at rest.
float ActorHeading(std::int32_t map, std::int32_t actor);

// True = blocked. Sweeps the walking footprint (WalkingFootprintAt: not
// turned, so faceDirection changes nothing) one step of `distance` in
// `direction` (0..7) and tests the swept box; with checkBounds a box outside
// the character's area box is refused before any test.
bool TestCharacterStep(std::int32_t map, std::int32_t actor, std::int32_t direction, float distance, Box& swept,
                       bool checkBounds, float heightChange, bool faceDirection, bool collectHits);

}  // namespace kiv
