#include "world/actor_shapes.h"

#include <algorithm>
#include <cmath>

#include "core/math_util.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "world/hit_lists.h"
#include "world/move_tests.h"

namespace kiv {

namespace {
constexpr float kQuarterTurn = 1.5707964f;
constexpr std::int32_t kClimbHeight = 48;
constexpr std::int32_t kClimbReach = 32;

void MoveFirstBox(CollisionShape& shape, std::int32_t dx, std::int32_t dy, std::int32_t dz) {
  if (shape.rectangles.empty()) return;
  CollisionBox& b = shape.rectangles.front();
  b.left += dx;
  b.right += dx;
  b.top += dy;
  b.bottom += dy;
  b.front += dz;
  b.back += dz;
}
}  // namespace

CollisionShape BoxShapeOf(const Box& box) {
  CollisionShape shape;
  CollisionBox b;
  b.left = box.left;
  b.top = box.top;
  b.right = box.right;
  b.bottom = box.bottom;
  b.front = box.front;
  b.back = box.back;
  shape.rectangles.push_back(b);
  return shape;
}

void DoorShapeForStyle(std::uint8_t openStyle, float openAmount, CollisionShape& shape) {
  if (std::fabs(openAmount) >= 0.99f && openStyle != 0) {
    shape = CollisionShape();
    return;
  }
  Box box{0, 58, 32, 64, 0, 64};
  const float theta = openAmount * kQuarterTurn;
  const double c = std::cos(static_cast<double>(theta));
  const double s = std::sin(static_cast<double>(theta));
  auto hingeDepth = [&] {
    if (openAmount >= 0.0f) {
      box.top = 58;
      box.bottom = RoundToLong(32.0 * s + 64.0);
    } else {
      box.top = RoundToLong(32.0 * s + 58.0);
      box.bottom = 64;
    }
  };
  switch (openStyle) {
    case 1:
    case 3:
    case 4:
      box.left = 0;
      box.right = RoundToLong(32.0 * c);
      hingeDepth();
      break;
    case 2:
    case 5:
    case 6:
      box.left = RoundToLong(32.0 * c + 32.0);
      box.right = 32;
      hingeDepth();
      break;
    case 7:
    case 11:
    case 15:
      box.right = RoundToLong(32.0 - 32.0 * static_cast<double>(openAmount));
      break;
    case 9:
    case 13:
    case 17:
      box.left = RoundToLong(32.0 * static_cast<double>(openAmount));
      break;
    default:  // 0, 8, 10, 12, 14, 16, 18, 19, 20 and unknown styles: the closed leaf
      break;
  }
  shape = BoxShapeOf(box);
}

void BuildDoorCollisionShape(std::int32_t map, std::int32_t door, float openAmount, CollisionShape& shape) {
  DoorShapeForStyle(gameData.maps[map].doors[static_cast<std::size_t>(door)].openStyle, openAmount, shape);
}

void ActorCollisionRectAt(const Actor& actor, float x, float y, float z, float rotationX, float rotationY,
                          float rotationZ, float scaleX, float scaleY, float scaleZ, Box& box) {
  const ShapePlacement placement{x, y, z, rotationX, rotationY, rotationZ, scaleX, scaleY, scaleZ};
  GetCollisionRect(box, actor.collisionShape, placement, kRectPlaced);
}

void ActorCollisionRect(const Actor& actor, Box& box) {
  ActorCollisionRectAt(actor, actor.x, actor.y, actor.z, 0.0f, actor.rotationY, actor.heading, actor.scaleX,
                       actor.scaleY, actor.scaleZ, box);
}

void WalkingFootprintAt(const Actor& actor, float x, float y, float z, Box& box) {
  ActorCollisionRectAt(actor, x, y, z, 0.0f, actor.rotationY, 0.0f, actor.scaleX, actor.scaleY, actor.scaleZ,
                       box);
}

std::int32_t ActorShapeHeight(const Actor& actor) {
  Box box;
  ActorCollisionRectAt(actor, 0, 0, 0, 0, 0, 0, 1, 1, 1, box);
  return box.back - box.front;
}

std::int32_t FootprintHalfSize(const Actor& actor) {
  Box box;
  ActorCollisionRectAt(actor, 0, 0, 0, 0, 0, 0, 1, 1, 1, box);
  return std::max(box.right - box.left, box.bottom - box.top) / 2;
}

void ResetActorCollision(std::int32_t map, std::int32_t actor) {
  Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
  const double theta = a.heading;
  Box footprint;
  ActorCollisionRect(a, footprint);
  const std::int32_t w = footprint.right - footprint.left;
  const std::int32_t h = footprint.bottom - footprint.top;
  a.frontShape = BoxShapeOf(footprint);
  MoveFirstBox(a.frontShape, RoundToLong(std::cos(theta) * w), RoundToLong(std::sin(theta) * h), 0);
  a.canClimb = 0;
  if (map < 0) return;
  const ShapePlacement origin;
  hitLists.characterHits.clear();
  // The tests may reach other records of the map; work on copies of the probes.
  const CollisionShape front = a.frontShape;
  if (!TestActorMove(map, front, origin, actor, -1, -1, true, false)) return;
  if (!hitLists.characterHits.empty()) return;
  CollisionShape raised = front;
  ResetCollision(raised);
  MoveFirstBox(raised, 0, 0, kClimbHeight);
  const bool raisedBlocked = TestActorMove(map, raised, origin, actor, -1, -1, true, false);
  Actor& again = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
  if (!raisedBlocked && hitLists.characterHits.empty()) {
    again.climbShape = front;
    MoveFirstBox(again.climbShape, RoundToLong(std::cos(theta) * kClimbReach),
                 RoundToLong(std::sin(theta) * kClimbReach), 0);
    again.canClimb = -1;
  }
  ResetCollision(raised);
}

}  // namespace kiv
