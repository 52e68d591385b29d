#include "world/object_resets.h"

#include <algorithm>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/field_state.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "world/actor_shapes.h"
#include "world/move_tests.h"
#include "world/reference_fixup.h"

namespace kiv {

void ResetZoneState(std::int32_t map, std::int32_t zone) {
  Zone& z = gameData.maps[map].zones[static_cast<std::size_t>(zone)];
  z.name.clear();
  z.Blocking() = 0;
  z.Disabled() = 1;
}

void ResetFieldState(std::int32_t map, std::int32_t field) {
  Field& f = gameData.maps[map].fields[static_cast<std::size_t>(field)];
  f.name.clear();
  f.noDraw = 1;          // hidden
  f.nonExistent = 1;     // dormant
  f.selectable = 0;
  f.disabled = 1;
  f.byteDefault1 = 1;    // live update
  f.byteByContent = 0;   // scrolls
  f.appliedSelectable = 0;
  f.parent = -1;
  f.spawner = -1;
}

void DetachField(std::int32_t map, std::int32_t field) {
  Map& m = gameData.maps[map];
  if (m.SelectedField() == field) {
    m.SelectedField() = -1;
    const std::int32_t cursor = m.CursorField();
    if (cursor >= 0 && static_cast<std::size_t>(cursor) < m.fields.size())
      m.fields[static_cast<std::size_t>(cursor)].selectable = 1;
  }
  for (std::size_t i = 0; i < gameData.maps[map].fields.size(); ++i) {
    if (static_cast<std::int32_t>(i) == field) continue;
    Field& child = gameData.maps[map].fields[i];
    if (child.parent != field) continue;
    child.parent = -1;
    ApplyFieldState(gameData.maps[map], static_cast<std::int32_t>(i));
  }
  ShiftFieldRefs(map, field, -1, false);
}

float ActorHeading(std::int32_t map, std::int32_t actor) {
  const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
  if (!NearlyEqual(a.velocityX, 0.0f, 0.0001f) || !NearlyEqual(a.velocityY, 0.0f, 0.0001f))
    return AngleBetweenPoints(0.0f, 0.0f, a.velocityX, a.velocityY);
  return a.heading;
}

bool TestCharacterStep(std::int32_t map, std::int32_t actor, std::int32_t direction, float distance, Box& swept,
                       bool checkBounds, float heightChange, bool faceDirection, bool collectHits) {
  const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
  // The footprint that path planning uses, whichever way the step faces.
  (void)faceDirection;
  Box from, to;
  WalkingFootprintAt(a, a.x, a.y, a.z, from);
  static constexpr int kStepX[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  static constexpr int kStepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};
  float dx = 0.0f, dy = 0.0f;
  if (direction >= 0 && direction < 8) {
    dx = static_cast<float>(kStepX[direction]) * distance;
    dy = static_cast<float>(kStepY[direction]) * distance;
  }
  WalkingFootprintAt(a, a.x + dx, a.y + dy, a.z + heightChange, to);
  swept = Box{std::min(from.left, to.left),     std::min(from.top, to.top),     std::max(from.right, to.right),
              std::max(from.bottom, to.bottom), std::min(from.front, to.front), std::max(from.back, to.back)};
  if (checkBounds && !IntersectRectRect(swept, a.areaBox)) return true;
  CollisionShape box = BoxShapeOf(swept);
  const bool blocked = TestActorMove(map, box, ShapePlacement{}, actor, -1, -1, collectHits, false);
  ResetCollision(box);
  return blocked;
}

}  // namespace kiv
