#include "world/navigation_system.h"

#include "data/field_state.h"
#include "data/game_data.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "world/field_focus.h"
#include "world/map_system_fields.h"

namespace kiv {

namespace {

constexpr std::int32_t kFieldSelect = 579;  // Trigger.Field.Select

bool FieldExists(const Map& m, std::int32_t field) {
  return field >= 0 && static_cast<std::size_t>(field) < m.fields.size();
}

// Moves one coordinate a step toward its target; landing on the target or
// passing it puts the coordinate on the target and counts as arrival. A
// distance that rounded to 0 pixels gives steps of 0 that never get there:
// such an axis arrives at once.
void Glide(float& coordinate, float target, float step, std::int32_t distance, bool& moved, bool& arrived) {
  if (distance == 0 && target != coordinate) {
    coordinate = target;
    moved = true;
    arrived = true;
    return;
  }
  if (target > coordinate) {
    coordinate += step;
    moved = true;
    if (target <= coordinate) {
      coordinate = target;
      arrived = true;
    }
  }
  if (target < coordinate) {
    coordinate -= step;
    moved = true;
    if (target >= coordinate) {
      coordinate = target;
      arrived = true;
    }
  }
}

}  // namespace

void RunNavigationSystem(std::int32_t map) {
  Map& m = gameData.maps[map];
  if (m.SelectedField() < 0) return;
  gameData.currentActivity = "Navigation System";
  const std::int32_t cursor = m.CursorField();
  const std::int32_t selected = m.SelectedField();
  if (!FieldExists(m, cursor) || !FieldExists(m, selected)) return;
  Field& c = m.fields[static_cast<std::size_t>(cursor)];
  const Field& s = m.fields[static_cast<std::size_t>(selected)];
  const auto tick = static_cast<float>(shell.frameElapsed);
  bool moved = false;
  bool arrived = false;
  Glide(c.x, s.x + static_cast<float>(CursorOffsetX(m)),
        CursorSpeed(m) * static_cast<float>(CursorDistanceX(m)) * tick, CursorDistanceX(m), moved, arrived);
  Glide(c.y, s.y + static_cast<float>(CursorOffsetY(m)),
        CursorSpeed(m) * static_cast<float>(CursorDistanceY(m)) * tick, CursorDistanceY(m), moved, arrived);
  if (!moved) return;
  KeepFieldInScrollRegion(map, cursor);
  if (!arrived) return;
  Map& after = gameData.maps[map];
  const std::int32_t target = after.SelectedField();
  if (!FieldExists(after, target) || after.fields[static_cast<std::size_t>(target)].state != kFieldSelectable) return;
  after.fields[static_cast<std::size_t>(target)].state = kFieldSelected;
  ApplyFieldState(after, target);
  ScriptRaiseObjectEvent(kOwnerField, target, kFieldSelect, map);
}

}  // namespace kiv
