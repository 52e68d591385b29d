#pragma once
// Path search over a map's working collision grid (see collision_grid.h).
//
// The search is an A* over grid points; one step moves one path-finding cell
// in one of the eight directions (0 west, 1 north-west, 2 north, 3 north-east,
// 4 east, 5 south-east, 6 south, 7 south-west; north is up the screen).
// - Positions: the start point is the one holding the start position; the
//   mover keeps its offset inside its cell, so at another point it stands
//   whole cells away from where it started. The goal point is the one holding
//   the goal position; the goal's height is not used.
// - Footprint: the footprint box (the mover's shape placed where it stands)
//   moves with the mover. A point is free when every grid point under the
//   footprint lies inside the grid and is 0 in every layer the mover's body
//   reaches. The start point is never tested: the mover already stands there.
// - Heights: with mover flag 0 the mover walks on the ground. Its ground at a
//   point is the highest layer-0 height under its footprint, its body rises
//   and falls with that ground, and a step onto ground more than
//   kMaxClimbPerStep pixels higher than the ground it leaves is refused. With
//   mover flag 1 the mover ignores the ground heights and keeps its height.
// - A diagonal step needs both straight steps beside it to be possible, so a
//   path never cuts a blocked corner.
// - Costs: 10 for a straight step, 14 for a diagonal one. Among equally short
//   routes the search prefers points nearer the goal, then points found
//   first, and looks at the directions in the order 0 to 7.
// - searchOption not 0 ("get close"): when the goal cannot be reached, the
//   route leads to the reachable point nearest the goal instead.
//
// Callers pass the Map record's working collision grid (cells, column, row
// and layer counts); positions in pixels.
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "mathkiv/collision_grid.h"

namespace kiv {

inline constexpr std::uint8_t kNoDirection = 8;
inline constexpr std::int32_t kMaxClimbPerStep = 22;

// The directions of a route from start to goal, first step first; empty when
// no route exists or the start and goal points are the same.
std::vector<std::uint8_t> AIFindPath(ConstCollisionGridView grid, std::int32_t startX, std::int32_t startY,
                                     std::int32_t startZ, std::int32_t goalX, std::int32_t goalY,
                                     std::int32_t goalZ, const Box& footprint, std::uint8_t moverFlag,
                                     std::int32_t searchOption);

// The first step of that route (search option 0), or kNoDirection.
std::uint8_t AIFindNext(ConstCollisionGridView grid, std::int32_t startX, std::int32_t startY,
                        std::int32_t startZ, std::int32_t goalX, std::int32_t goalY, std::int32_t goalZ,
                        const Box& footprint, std::uint8_t moverFlag);

}  // namespace kiv
