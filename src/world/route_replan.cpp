#include "world/route_replan.h"

#include <bit>
#include <utility>
#include <vector>

#include "core/math_util.h"
#include "data/game_data.h"
#include "world/movement_commands.h"
#include "world/path_finding.h"
#include "world/world_settings.h"

namespace kiv {

namespace {

constexpr std::int32_t kNoFacing = 8;
constexpr int kStepX[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr int kStepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};

// The direction of a word that names exactly one fixed direction and whose
// other bits are `rest`; -1 otherwise.
std::int32_t FixedDirection(std::int32_t word, std::int32_t rest) {
  const std::int32_t directionBits = word & kMoveAbsoluteMask;
  if ((word & ~kMoveAbsoluteMask) != rest || !std::has_single_bit(static_cast<std::uint32_t>(directionBits)))
    return -1;
  return std::countr_zero(static_cast<std::uint32_t>(directionBits)) - 2;
}

// Where a stored path leads from (x, y), and its last facing; false when the
// queue holds anything a path search does not store.
bool Destination(const std::vector<std::int32_t>& queue, std::int32_t cell, std::int32_t& x, std::int32_t& y,
                 std::int32_t& facing) {
  facing = kNoFacing;
  if (queue.empty()) return false;
  for (std::size_t k = 0; k < queue.size(); ++k) {
    const std::int32_t step = FixedDirection(queue[k], kMoveStep | kMoveFace);
    if (step >= 0) {
      x += kStepX[step] * cell;
      y += kStepY[step] * cell;
      continue;
    }
    // Only the entry walked last may be a facing alone.
    const std::int32_t face = k == 0 ? FixedDirection(queue[k], kMoveFace) : -1;
    if (face < 0) return false;
    facing = face;
  }
  return true;
}

}  // namespace

Replan ReplanRoute(std::int32_t map, std::int32_t character) {
  const Actor& c = gameData.maps[map].actors[static_cast<std::size_t>(character)];
  std::int32_t x = RoundToLong(c.x);
  std::int32_t y = RoundToLong(c.y);
  std::int32_t facing = kNoFacing;
  if (!Destination(c.path, PathCellSize(), x, y, facing)) return Replan::kNotARoute;
  std::vector<std::uint8_t> scriptsPath = std::move(lastPath);
  const std::int32_t found =
      FindCharacterPath(map, character, false, x, y, RoundToLong(c.z), facing, false, 0, false);
  lastPath = std::move(scriptsPath);
  if (found != 0) return Replan::kNewRoute;
  // 0 with an emptied queue: the walker stands in the destination's cell.
  return gameData.maps[map].actors[static_cast<std::size_t>(character)].path.empty() ? Replan::kNewRoute
                                                                                     : Replan::kNoRoute;
}

}  // namespace kiv
