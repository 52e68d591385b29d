#include "world/path_finding.h"

#include <string>

#include "core/error.h"
#include "core/math_util.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "mathkiv/collision_grid.h"
#include "mathkiv/path_search.h"
#include "script/script_value_ops.h"
#include "world/actor_shapes.h"
#include "world/placement.h"
#include "world/relations.h"
#include "world/world_settings.h"

namespace kiv {

std::vector<std::uint8_t> lastPath;

namespace {

constexpr std::int32_t kPathFindingFlag = 0x20;
constexpr std::int32_t kMoveBit = 3;  // move and face
constexpr std::int32_t kFaceBit = 2;

Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  return gameData.maps[map].actors[static_cast<std::size_t>(actor)];
}

std::int32_t HeightOf(float z) { return FlatMovement() ? 0 : RoundToLong(z); }

ShapePlacement PlacementOf(const Actor& a) {
  return ShapePlacement{a.x, a.y, FlatMovement() ? 0.0f : a.z, 0.0f, a.rotationY, a.heading,
                        a.scaleX, a.scaleY, a.scaleZ};
}

// The walking footprint: the one the step test takes each planned step with.
Box FootprintOf(const Actor& a) {
  Box box;
  WalkingFootprintAt(a, a.x, a.y, FlatMovement() ? 0.0f : a.z, box);
  return box;
}

std::uint8_t MoverFlag(const Actor& a) { return (a.physicsFlags & kPathFindingFlag) != 0 ? 1 : 0; }

CollisionGridView GridOf(std::int32_t map) {
  ByteGrid3& g = gameData.maps[map].workingCollision;
  return CollisionGridView{g.cells, g.columns, g.rows, g.layers};
}

[[noreturn]] void RaiseCannotWalk(const Actor& a, std::int32_t x, std::int32_t y) {
  const std::u16string text = u"\"" + a.name + u"\" cannot walk from (" + VarToText(Variant::Single(a.x)) + u", " +
                              VarToText(Variant::Single(a.y)) + u") to (" + Utf8ToUtf16(std::to_string(x)) +
                              u", " + Utf8ToUtf16(std::to_string(y)) + u").";
  RaiseError(kErrData, Utf16ToAnsi(text));
}

// Command word of one path step: move, face and the direction's bit.
std::int32_t StepWord(std::int32_t direction) { return (1 << (direction + 2)) + kMoveBit; }

}  // namespace

std::uint8_t FollowStep(std::int32_t map, std::int32_t mover, std::int32_t target, bool friendsPass) {
  if (!SnapCharacterToGrid(map, mover, -1)) return kNoDirection;
  PaintPathCollision(map, mover, target, friendsPass);
  const Actor& m = ActorAt(map, mover);
  const Actor& t = ActorAt(map, target);
  const double reach = 2.0 * PathCellSize() + FootprintHalfSize(t) + FootprintHalfSize(m);
  const double dx = static_cast<double>(t.x) - m.x;
  const double dy = static_cast<double>(t.y) - m.y;
  // A far target's own cells would hide the way to it; a near one stays solid.
  if (!(reach * reach > dx * dx + dy * dy)) PaintArrayCollision(GridOf(map), t.collisionShape, PlacementOf(t), 0);
  return AIFindNext(GridOf(map), RoundToLong(m.x), RoundToLong(m.y), HeightOf(m.z), RoundToLong(t.x),
                    RoundToLong(t.y), HeightOf(t.z), FootprintOf(m), MoverFlag(m));
}

std::int32_t FindCharacterPath(std::int32_t map, std::int32_t mover, bool stepOnly, std::int32_t x,
                               std::int32_t y, std::int32_t z, std::int32_t facing, bool friendsPass,
                               std::int32_t searchOption, bool report) {
  const bool placed = stepOnly || SnapCharacterToGrid(map, mover, -1);
  if (!placed) {
    if (report) RaiseCannotWalk(ActorAt(map, mover), x, y);
    return 0;
  }
  PaintPathCollision(map, mover, -1, friendsPass);
  Actor& m = ActorAt(map, mover);
  const Box footprint = FootprintOf(m);
  const std::int32_t startX = RoundToLong(m.x);
  const std::int32_t startY = RoundToLong(m.y);
  const std::int32_t goalZ = FlatMovement() ? 0 : z;
  if (stepOnly)
    return AIFindNext(GridOf(map), startX, startY, HeightOf(m.z), x, y, goalZ, footprint, MoverFlag(m));

  const std::int32_t cell = PathCellSize();
  if (cell >= 1 && startX / cell == x / cell && startY / cell == y / cell) {
    m.path.clear();
    return 0;
  }
  lastPath.assign(1, 0);
  lastPath = AIFindPath(GridOf(map), startX, startY, HeightOf(m.z), x, y, goalZ, footprint, MoverFlag(m),
                        searchOption);
  if (lastPath.empty()) {
    if (report) RaiseCannotWalk(m, x, y);
    return 0;
  }
  const bool withFacing = facing >= 0 && facing <= 7;
  const std::size_t steps = lastPath.size();
  std::vector<std::int32_t> queue(steps + (withFacing ? 1 : 0));
  if (withFacing) queue[0] = (1 << (facing + 2)) + kFaceBit;
  for (std::size_t i = 0; i < steps; ++i) queue[queue.size() - 1 - i] = StepWord(lastPath[i]);
  m.path = std::move(queue);
  return kNoDirection;
}

}  // namespace kiv
