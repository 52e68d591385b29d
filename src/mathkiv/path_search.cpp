#include "mathkiv/path_search.h"

#include <algorithm>
#include <cstdlib>
#include <queue>

#include "mathkiv/math_init.h"

namespace kiv {

namespace {

constexpr std::int32_t kStraightCost = 10;
constexpr std::int32_t kDiagonalCost = 14;
constexpr std::int32_t kDeltaX[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr std::int32_t kDeltaY[8] = {0, -1, -1, -1, 0, 1, 1, 1};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::int32_t Heuristic(std::int32_t dx, std::int32_t dy) {
  dx = std::abs(dx);
  dy = std::abs(dy);
  return kStraightCost * std::max(dx, dy) + (kDiagonalCost - kStraightCost) * std::min(dx, dy);
}

enum : std::uint8_t { kUnknown = 0, kFree = 1, kBlocked = 2 };

// Per-point search state, reused between searches; a point's entries count
// only when its stamp is the current search's.
struct Workspace {
  std::vector<std::uint32_t> stamp;
  std::vector<std::int32_t> cost;
  std::vector<std::int16_t> ground;
  std::vector<std::uint8_t> status;
  std::vector<std::uint8_t> cameBy;
  std::vector<std::uint8_t> closed;
  std::uint32_t current = 0;

  void Begin(std::size_t points) {
    if (stamp.size() < points) {
      stamp.assign(points, 0);
      cost.resize(points);
      ground.resize(points);
      status.resize(points);
      cameBy.resize(points);
      closed.resize(points);
      current = 0;
    }
    if (++current == 0) {
      std::fill(stamp.begin(), stamp.end(), 0);
      current = 1;
    }
  }
  void Touch(std::size_t p) {
    if (stamp[p] == current) return;
    stamp[p] = current;
    status[p] = kUnknown;
    closed[p] = 0;
    cost[p] = INT32_MAX;
  }
};

thread_local Workspace workspace;

class Search {
 public:
  Search(const ConstCollisionGridView& grid, std::int32_t startX, std::int32_t startY, std::int32_t startZ,
         const Box& footprint, std::uint8_t moverFlag)
      : grid_(grid), cell_(mathKivSettings.pathCellSize), startZ_(startZ), followGround_(moverFlag == 0) {
    startI_ = FloorDiv(startX, cell_);
    startJ_ = FloorDiv(startY, cell_);
    // The footprint where the mover stands; it moves whole cells with it.
    left_ = footprint.left;
    right_ = footprint.right;
    top_ = footprint.top;
    bottom_ = footprint.bottom;
    front_ = static_cast<std::int64_t>(footprint.front) - startZ;
    back_ = static_cast<std::int64_t>(footprint.back) - startZ;
  }

  bool StartInside() const { return Inside(startI_, startJ_); }
  std::int64_t startI() const { return startI_; }
  std::int64_t startJ() const { return startJ_; }
  bool Inside(std::int64_t i, std::int64_t j) const {
    return i >= 0 && j >= 0 && i < grid_.columns && j < grid_.rows;
  }
  std::size_t Index(std::int64_t i, std::int64_t j) const {
    return static_cast<std::size_t>(i) +
           static_cast<std::size_t>(grid_.columns) * static_cast<std::size_t>(j);
  }

  // Free test and ground height of a point, computed once per search.
  bool Free(std::int64_t i, std::int64_t j) {
    const std::size_t p = Index(i, j);
    workspace.Touch(p);
    if (workspace.status[p] == kUnknown) Examine(i, j, p);
    return workspace.status[p] == kFree;
  }
  std::int32_t Ground(std::int64_t i, std::int64_t j) {
    const std::size_t p = Index(i, j);
    workspace.Touch(p);
    if (workspace.status[p] == kUnknown) Examine(i, j, p);
    return workspace.ground[p];
  }

  // A step from (i, j) to the neighbour in direction d.
  bool CanStep(std::int64_t i, std::int64_t j, int d) {
    const std::int64_t ni = i + kDeltaX[d];
    const std::int64_t nj = j + kDeltaY[d];
    if (!Inside(ni, nj) || !Free(ni, nj)) return false;
    if (followGround_ && Ground(ni, nj) - Ground(i, j) > kMaxClimbPerStep) return false;
    return true;
  }

 private:
  // The grid points under the footprint at point (i, j).
  void Under(std::int64_t i, std::int64_t j, std::int64_t& i0, std::int64_t& i1, std::int64_t& j0,
             std::int64_t& j1) const {
    const std::int64_t offX = (i - startI_) * cell_;
    const std::int64_t offY = (j - startJ_) * cell_;
    i0 = FloorDiv(left_ + offX, cell_);
    i1 = right_ > left_ ? FloorDiv(right_ + offX - 1, cell_) : i0;
    j0 = FloorDiv(top_ + offY, cell_);
    j1 = bottom_ > top_ ? FloorDiv(bottom_ + offY - 1, cell_) : j0;
  }

  // The highest ground under the footprint; false when it leaves the grid.
  bool GroundUnder(std::int64_t i, std::int64_t j, std::int32_t& ground) const {
    std::int64_t i0, i1, j0, j1;
    Under(i, j, i0, i1, j0, j1);
    ground = 0;
    if (!Inside(i0, j0) || !Inside(i1, j1)) return false;
    if (grid_.layers > 0)
      for (std::int64_t y = j0; y <= j1; ++y)
        for (std::int64_t x = i0; x <= i1; ++x)
          ground = std::max<std::int32_t>(
              ground, grid_.At(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), 0));
    return true;
  }

  void Examine(std::int64_t i, std::int64_t j, std::size_t p) {
    std::int32_t ground = 0;
    const bool inside = GroundUnder(i, j, ground);
    workspace.ground[p] = static_cast<std::int16_t>(ground);
    if (!inside) {
      workspace.status[p] = kBlocked;
      return;
    }
    std::int64_t i0, i1, j0, j1;
    Under(i, j, i0, i1, j0, j1);
    std::int64_t z = startZ_;
    if (followGround_) z += ground - StartGround();
    const std::int64_t zLow = z + front_;
    const std::int64_t zHigh = z + back_;
    const std::int64_t layer = kGridLayerHeight;
    // Layer k spans 32 * (k - 1) .. 32 * k.
    const std::int64_t k0 = std::max<std::int64_t>(1, FloorDiv(zLow, layer) + 1);
    const std::int64_t k1 = std::min<std::int64_t>(grid_.layers - 1, FloorDiv(zHigh - 1, layer) + 1);
    for (std::int64_t k = k0; k <= k1; ++k) {
      if (!((k - 1) * layer < zHigh && zLow < k * layer)) continue;
      for (std::int64_t y = j0; y <= j1; ++y)
        for (std::int64_t x = i0; x <= i1; ++x)
          if (grid_.At(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                       static_cast<std::int32_t>(k)) != 0) {
            workspace.status[p] = kBlocked;
            return;
          }
    }
    workspace.status[p] = kFree;
  }

  std::int32_t StartGround() {
    if (!startGroundKnown_) {
      startGroundKnown_ = true;
      GroundUnder(startI_, startJ_, startGround_);
    }
    return startGround_;
  }

  const ConstCollisionGridView& grid_;
  std::int64_t cell_;
  std::int64_t startZ_;
  bool followGround_;
  std::int64_t startI_ = 0, startJ_ = 0;
  std::int64_t left_ = 0, right_ = 0, top_ = 0, bottom_ = 0, front_ = 0, back_ = 0;
  bool startGroundKnown_ = false;
  std::int32_t startGround_ = 0;
};

struct OpenEntry {
  std::int32_t estimate;   // cost so far + heuristic
  std::int32_t remaining;  // heuristic
  std::uint32_t order;
  std::size_t point;
  bool operator<(const OpenEntry& o) const {  // priority_queue puts the largest first
    if (estimate != o.estimate) return estimate > o.estimate;
    if (remaining != o.remaining) return remaining > o.remaining;
    return order > o.order;
  }
};

}  // namespace

std::vector<std::uint8_t> AIFindPath(ConstCollisionGridView grid, std::int32_t startX, std::int32_t startY,
                                     std::int32_t startZ, std::int32_t goalX, std::int32_t goalY,
                                     std::int32_t /*goalZ*/, const Box& footprint, std::uint8_t moverFlag,
                                     std::int32_t searchOption) {
  if (!grid.Valid() || grid.columns == 0 || grid.rows == 0) return {};
  Search search(grid, startX, startY, startZ, footprint, moverFlag);
  if (!search.StartInside()) return {};
  const std::int64_t cell = mathKivSettings.pathCellSize;
  const std::int64_t goalI = FloorDiv(goalX, cell);
  const std::int64_t goalJ = FloorDiv(goalY, cell);
  const std::int64_t startI = search.startI();
  const std::int64_t startJ = search.startJ();
  if (goalI == startI && goalJ == startJ) return {};
  workspace.Begin(static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows));
  const bool getClose = searchOption != 0;
  const bool goalUsable = search.Inside(goalI, goalJ) && search.Free(goalI, goalJ);
  if (!goalUsable && !getClose) return {};
  auto remainingFrom = [&](std::int64_t i, std::int64_t j) {
    return Heuristic(static_cast<std::int32_t>(goalI - i), static_cast<std::int32_t>(goalJ - j));
  };
  std::priority_queue<OpenEntry> open;
  std::uint32_t order = 0;
  const std::size_t start = search.Index(startI, startJ);
  workspace.Touch(start);
  workspace.cost[start] = 0;
  open.push({remainingFrom(startI, startJ), remainingFrom(startI, startJ), order++, start});
  std::size_t best = start;
  std::int32_t bestRemaining = remainingFrom(startI, startJ);
  std::size_t reached = SIZE_MAX;
  const std::size_t columns = static_cast<std::size_t>(grid.columns);

  while (!open.empty()) {
    const OpenEntry entry = open.top();
    open.pop();
    const std::size_t p = entry.point;
    if (workspace.closed[p]) continue;
    workspace.closed[p] = 1;
    const std::int64_t i = static_cast<std::int64_t>(p % columns);
    const std::int64_t j = static_cast<std::int64_t>(p / columns);
    if (i == goalI && j == goalJ) {
      reached = p;
      break;
    }
    if (entry.remaining < bestRemaining) {
      bestRemaining = entry.remaining;
      best = p;
    }
    bool straight[8] = {};
    for (int d = 0; d < 8; d += 2) straight[d] = search.CanStep(i, j, d);
    for (int d = 0; d < 8; ++d) {
      bool possible = straight[d];
      if (d % 2 == 1) possible = straight[d - 1] && straight[(d + 1) % 8] && search.CanStep(i, j, d);
      if (!possible) continue;
      const std::int64_t ni = i + kDeltaX[d];
      const std::int64_t nj = j + kDeltaY[d];
      const std::size_t q = search.Index(ni, nj);
      if (workspace.closed[q]) continue;
      const std::int32_t cost = workspace.cost[p] + (d % 2 == 1 ? kDiagonalCost : kStraightCost);
      if (cost >= workspace.cost[q]) continue;
      workspace.cost[q] = cost;
      workspace.cameBy[q] = static_cast<std::uint8_t>(d);
      const std::int32_t remaining = remainingFrom(ni, nj);
      open.push({cost + remaining, remaining, order++, q});
    }
  }

  std::size_t end = reached;
  if (end == SIZE_MAX) {
    if (!getClose || best == start) return {};
    end = best;
  }
  std::vector<std::uint8_t> path;
  for (std::size_t p = end; p != start;) {
    const std::uint8_t d = workspace.cameBy[p];
    path.push_back(d);
    const std::int64_t i = static_cast<std::int64_t>(p % columns) - kDeltaX[d];
    const std::int64_t j = static_cast<std::int64_t>(p / columns) - kDeltaY[d];
    p = search.Index(i, j);
  }
  std::reverse(path.begin(), path.end());
  return path;
}

std::uint8_t AIFindNext(ConstCollisionGridView grid, std::int32_t startX, std::int32_t startY,
                        std::int32_t startZ, std::int32_t goalX, std::int32_t goalY, std::int32_t goalZ,
                        const Box& footprint, std::uint8_t moverFlag) {
  const std::vector<std::uint8_t> path =
      AIFindPath(grid, startX, startY, startZ, goalX, goalY, goalZ, footprint, moverFlag, 0);
  return path.empty() ? kNoDirection : path.front();
}

}  // namespace kiv
