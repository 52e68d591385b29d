#pragma once
// The tests that combat behaviour and turret aim share: whether a character
// may be attacked, and whether the line of sight to it is clear.
#include <array>
#include <cstdint>

#include "data/actor_record.h"

namespace kiv {

// Hostile, in play, not dying or dead, and (unless the project lets any
// character be a target) with hit points.
bool IsValidCombatTarget(const Actor& self, const Actor& target);

// The sight line from one character to another at 0.6 of the target's shape
// height, tiles tested and zones not, skipping up to three characters (-1
// none) and two teams (-1 none). True when nothing blocks it.
bool CombatSightClear(std::int32_t map, const Actor& from, const Actor& to,
                      const std::array<std::int32_t, 3>& skipCharacters, const std::array<std::int32_t, 2>& skipTeams);

// Squared distance of the two positions rounded to whole pixels.
std::int64_t RoundedDistanceSquared(const Actor& a, const Actor& b);

// Counts the sight tests made, for measuring.
extern std::int64_t combatSightTests;

}  // namespace kiv
