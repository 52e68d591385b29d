#include <cmath>

#include "core/math_util.h"
#include "data/broad_phase.h"
#include "data/game_data.h"
#include "world/actor_shapes.h"
#include "world/move_tests.h"
#include "world/placement.h"
#include "world/tile_collision.h"
#include "world/world_settings.h"

namespace kiv {

namespace {
// Division and remainder that round down, so a point left of or above the map
// lies off the grid instead of reading column or row 0 with weights beyond 0..1.
std::int32_t FloorDiv(std::int32_t a, std::int32_t q) { return a >= 0 ? a / q : -((-a + q - 1) / q); }
}  // namespace

void UpdateCharacterFloorHeight(std::int32_t map, std::int32_t actor) {
  Map& m = gameData.maps[map];
  Actor& a = m.actors[static_cast<std::size_t>(actor)];
  // Called after every change of place: the broad phase places the character again.
  NoteActorMoved(m, actor);
  if (map < 0) {
    a.floorHeight = 0.0f;
    return;
  }
  float height = kUnknownFloor;
  bool found = false;
  Box box;
  ActorCollisionRect(a, box);
  if (box.right - box.left < 2 || box.bottom - box.top < 2) {
    height = 0.0f;
    found = true;
  } else {
    const std::int32_t xs[2] = {box.left, box.right - 1};
    const std::int32_t ys[2] = {box.top, box.bottom - 1};
    for (std::int32_t px : xs)
      for (std::int32_t py : ys) {
        const std::int32_t cx = FloorDiv(px, 32);
        const std::int32_t cy = FloorDiv(py, 32);
        if (cx < 0 || cy < 0 || cx > m.width || cy > m.height) continue;
        const float fx = static_cast<float>(px - cx * 32) / 32.0f;
        const float fy = static_cast<float>(py - cy * 32) / 32.0f;
        const float h = BilinearHeight(m, cx, cy, fx, fy);
        if (!found || h > height) height = h;
        found = true;
      }
  }
  if (!found && m.FlatGround()) height = 0.0f;
  a.floorHeight = height;
  a.floorKnown = 1;
  if (a.driver >= 0 && a.driver != actor && static_cast<std::size_t>(a.driver) < m.actors.size()) {
    Actor& driver = m.actors[static_cast<std::size_t>(a.driver)];
    if (driver.vehicleRidden == actor) {
      driver.x = a.x;
      driver.y = a.y;
      driver.z = a.z;
      NoteActorMoved(m, a.driver);
    }
  }
}

bool SnapToPathGrid(double v, std::int32_t& snapped) {
  const std::int32_t cell = PathCellSize();
  if (cell < 1) return false;
  const std::int32_t origin = PathGridOrigin();
  snapped = RoundToLong((v - origin) / static_cast<double>(cell)) * cell + origin;
  return true;
}

bool SnapCharacterToGrid(std::int32_t map, std::int32_t actor, std::int32_t ignoredActor) {
  const std::int32_t cell = PathCellSize();
  if (cell < 1) return false;
  Map& m = gameData.maps[map];
  auto tryAt = [&](double x, double y) {
    std::int32_t sx = 0, sy = 0;
    SnapToPathGrid(x, sx);
    SnapToPathGrid(y, sy);
    Actor& a = m.actors[static_cast<std::size_t>(actor)];
    const ShapePlacement placement{static_cast<float>(sx), static_cast<float>(sy), a.z,      0.0f,
                                   a.rotationY,           a.heading,             a.scaleX, a.scaleY,
                                   a.scaleZ};
    const CollisionShape shape = a.collisionShape;
    if (TestActorMove(map, shape, placement, actor, ignoredActor, -1, false, false)) return false;
    Actor& again = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
    again.x = static_cast<float>(sx);
    again.y = static_cast<float>(sy);
    UpdateCharacterFloorHeight(map, actor);
    return true;
  };
  const Actor& a = m.actors[static_cast<std::size_t>(actor)];
  const double x = a.x, y = a.y;
  if (tryAt(x, y)) return true;
  for (std::int32_t dx = -cell; dx <= cell; dx += cell)
    for (std::int32_t dy = -cell; dy <= cell; dy += cell)
      if ((dx != 0 || dy != 0) && tryAt(x + dx, y + dy)) return true;
  const std::int32_t reach = (32 / cell) * cell;
  for (std::int32_t dx = -reach; dx <= reach; dx += cell)
    for (std::int32_t dy = -reach; dy <= reach; dy += cell) {
      if (dx >= -cell && dx <= cell && dy >= -cell && dy <= cell) continue;  // tried in the first ring
      if (tryAt(x + dx, y + dy)) return true;
    }
  return false;
}

}  // namespace kiv
