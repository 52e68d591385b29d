#pragma once
// The way of a character over its map's path-finding grid: one step toward
// another actor, one step toward a point, or a whole path stored as the
// character's move queue.
#include <cstdint>
#include <vector>

namespace kiv {

// The directions of the last whole-path search, first step first.
extern std::vector<std::uint8_t> lastPath;

// Direction 0..7 of the next step toward the target actor, 8 none.
std::uint8_t FollowStep(std::int32_t map, std::int32_t mover, std::int32_t target, bool friendsPass);

// stepOnly: the next direction toward (x, y, z), or 8. Otherwise the whole
// path becomes the mover's move queue (with a last facing word when facing is
// 0..7) and the result is 8; 0 when the mover already stands in the target's
// cell, when no path exists or when the mover finds no free grid point. With
// report, the last two raise -1 "<name>" cannot walk from (X, Y) to (x, y).
std::int32_t FindCharacterPath(std::int32_t map, std::int32_t mover, bool stepOnly, std::int32_t x,
                               std::int32_t y, std::int32_t z, std::int32_t facing, bool friendsPass,
                               std::int32_t searchOption, bool report);

}  // namespace kiv
