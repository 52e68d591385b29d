#include "world/field_focus.h"

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "core/error.h"
#include "data/data_hooks.h"
#include "data/field_state.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "state/project_settings_block.h"
#include "world/map_reload.h"

namespace kiv {

namespace {

constexpr std::int32_t kSymFieldActivate = 578;
constexpr std::int32_t kSymFieldSelect = 579;
constexpr std::int32_t kSymFieldUnselect = 580;
constexpr std::int32_t kSymFieldActivateDisabled = 624;

constexpr std::int32_t kActionHide = 1;
constexpr std::int32_t kActionShow = 2;
constexpr std::int32_t kActionPlayerInterface = 3;

// Beyond any coordinate: where the scan starts again when it wraps.
constexpr double kFarCoordinate = 3.4028230e38;

// The order of projectState.settings.inputSets.
constexpr std::size_t kWalkingSet = 0, kInterfaceSet = 1, kVehicleSet = 2, kTurretSet = 3;
constexpr int kReshowPlayerInterfaceFlag = 9;

bool ValidMap(std::int32_t map) { return map >= 0 && map <= gameData.maps.LastIndex(); }

bool ValidField(std::int32_t map, std::int32_t field) {
  return ValidMap(map) && field >= 0 && static_cast<std::size_t>(field) < gameData.maps[map].fields.size();
}

Field& FieldAt(std::int32_t map, std::int32_t field) {
  return gameData.maps[map].fields[static_cast<std::size_t>(field)];
}

// Rounds halves to the even neighbour.
std::int32_t Nearest(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

void RaiseFieldEvent(std::int32_t map, std::int32_t field, std::int32_t code) {
  ScriptRaiseObjectEvent(kOwnerField, field, code, map);
}

void SetFieldState(std::int32_t map, std::int32_t field, std::uint8_t from, std::uint8_t to) {
  Field& f = FieldAt(map, field);
  if (f.state != from) return;
  f.state = to;
  ApplyFieldState(gameData.maps[map], field);
}

void SwitchInputSet(std::size_t which, bool enabled) {
  const std::int32_t set = projectState.settings.inputSets[which].index;
  if (set >= 0) dataHooks.SetInputSetEnabled(shell.currentPlayer, set, enabled);
}

// The world input set of the current player's controlled character: turret,
// vehicle or walking; none when the player has no controlled character on a map.
bool WorldInputSet(std::size_t& which) {
  if (shell.currentPlayer < 0 || static_cast<std::size_t>(shell.currentPlayer) >= projectState.players.size())
    return false;
  const Player& player = projectState.players[static_cast<std::size_t>(shell.currentPlayer)];
  if (!ValidMap(player.mapIndex)) return false;
  if (player.controlledMember < 0 || static_cast<std::size_t>(player.controlledMember) >= player.party.size())
    return false;
  const std::int32_t character = player.party[static_cast<std::size_t>(player.controlledMember)].character;
  const Map& map = gameData.maps[player.mapIndex];
  if (character < 0 || static_cast<std::size_t>(character) >= map.actors.size()) return false;
  const Actor& actor = map.actors[static_cast<std::size_t>(character)];
  if (actor.vehicleRidden >= 0) {
    which = kVehicleSet;
  } else {
    which = actor.turretOperated >= 0 ? kTurretSet : kWalkingSet;
  }
  return true;
}

// A reload on show skips the map's entry trigger when no script runs or the
// running one belongs to the map itself.
bool ReloadSkipsEntryTrigger(std::int32_t map) {
  if (scriptEngine.callTop < 0) return true;
  return scriptEngine.callStack[static_cast<std::size_t>(scriptEngine.callTop)].ownerMap == map;
}

void RunMapShownEvent(std::int32_t map) {
  TriggerRun run;
  run.ownerKind = kOwnerMap;
  run.ownerIndex = 0;
  run.subIndex = 0;
  run.map = map;
  ScriptRunTrigger(run);
}

struct Key {
  double first;
  double second;
};
bool Less(const Key& a, const Key& b) { return a.first < b.first || (a.first == b.first && a.second < b.second); }

// One scan of NavigateFields from an origin; -1 when nothing lies beyond it.
std::int32_t ScanFields(std::int32_t map, std::int32_t direction, double originX, double originY,
                        std::int32_t selected) {
  const std::vector<Field>& fields = gameData.maps[map].fields;
  const bool forward = direction == kNavigateRight || direction == kNavigateDown;
  const bool rowOrder = direction == kNavigateLeft || direction == kNavigateRight;
  const auto keyOf = [rowOrder](double x, double y) { return rowOrder ? Key{y, x} : Key{x, y}; };
  const Key origin = keyOf(originX, originY);
  const Field* chosen = selected >= 0 ? &fields[static_cast<std::size_t>(selected)] : nullptr;
  std::int32_t found = -1;
  Key best{};
  const auto count = static_cast<std::int32_t>(fields.size());
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t i = forward ? k : count - 1 - k;
    const Field& f = fields[static_cast<std::size_t>(i)];
    if (f.selectable != 1 || f.nonExistent != 0) continue;
    if (chosen != nullptr && (forward ? i > selected : i < selected) && f.x == chosen->x && f.y == chosen->y) {
      return i;
    }
    const Key key = keyOf(f.x, f.y);
    if (forward) {
      if (Less(origin, key) && (found < 0 || Less(key, best))) {
        found = i;
        best = key;
      }
    } else if (Less(key, origin) && (found < 0 || Less(best, key))) {
      found = i;
      best = key;
    }
  }
  return found;
}

}  // namespace

void SelectField(std::int32_t map, std::int32_t field, bool noGlide) {
  if (!ValidMap(map)) return;
  const std::int32_t previous = gameData.maps[map].SelectedField();
  if (ValidField(map, previous)) {
    SetFieldState(map, previous, kFieldSelected, kFieldSelectable);
    RaiseFieldEvent(map, previous, kSymFieldUnselect);
  }
  Map& m = gameData.maps[map];
  m.SelectedField() = field;
  const std::int32_t cursor = m.CursorField();
  const bool hasCursor = ValidField(map, cursor);
  if (field < 0) {
    if (hasCursor) FieldAt(map, cursor).nonExistent = 1;
    return;
  }
  if (!ValidField(map, field)) return;
  const Field& target = FieldAt(map, field);
  const float targetX = target.x + static_cast<float>(m.CursorOffsetX());
  const float targetY = target.y + static_cast<float>(m.CursorOffsetY());
  if (hasCursor && m.CursorSpeed() > 0.0f && !noGlide) {
    Field& c = FieldAt(map, cursor);
    m.cursorDistanceX = Nearest(std::fabs(static_cast<double>(c.x) - targetX));
    m.cursorDistanceY = Nearest(std::fabs(static_cast<double>(c.y) - targetY));
    c.nonExistent = 0;
    return;
  }
  SetFieldState(map, field, kFieldSelectable, kFieldSelected);
  if (hasCursor) {
    Field& c = FieldAt(map, cursor);
    c.x = targetX;
    c.y = targetY;
    c.nonExistent = 0;
    KeepFieldInScrollRegion(map, cursor);
  } else {
    KeepFieldInScrollRegion(map, field);
  }
  RaiseFieldEvent(map, field, kSymFieldSelect);
}

void ActivateField(std::int32_t map, std::int32_t field) {
  if (!ValidField(map, field)) return;
  const Field& f = FieldAt(map, field);
  if (f.disabled != 0) {
    RaiseFieldEvent(map, field, kSymFieldActivateDisabled);
    return;
  }
  const std::uint8_t order = f.activationOrder;
  // The actions as they stand now: the events may change the field list.
  const std::vector<FieldAction> actions = f.actions;
  if (order == 1) RaiseFieldEvent(map, field, kSymFieldActivate);
  for (const FieldAction& action : actions) {
    const std::int32_t target = action.mapKind;
    if (target < 0) continue;
    switch (action.code) {
      case kActionHide:
        SetMapActive(target, false, -1);
        break;
      case kActionShow:
        SetMapActive(target, true, -1);
        break;
      case kActionPlayerInterface:
        SetPlayerInterface(target);
        break;
      default:
        break;
    }
  }
  if (order == 0 && ValidField(map, field)) RaiseFieldEvent(map, field, kSymFieldActivate);
}

void SetMapActive(std::int32_t map, bool show, std::int32_t capturesFocus) {
  if (!ValidMap(map)) return;
  gameData.maps[map].exclusive = capturesFocus != 0;
  const std::uint8_t wanted = show ? 1 : 0;
  if (gameData.maps[map].overlayActive != wanted) {
    gameData.maps[map].overlayActive = wanted;
    if (show) {
      if (gameData.maps[map].reloadOnShow != 0) {
        ReloadMap(map, ReloadSkipsEntryTrigger(map), false, true);
      } else {
        playerHooks.UpdateMapSystems(map);
      }
      RunMapShownEvent(map);
    } else {
      const std::int32_t cursor = gameData.maps[map].CursorField();
      if (ValidField(map, cursor)) FieldAt(map, cursor).nonExistent = 1;
      if (map == projectState.currentPlayerInterface.index) SetPlayerInterface(-1);
    }
  }
  if (!show || !ValidMap(map)) return;
  const std::int32_t selected = gameData.maps[map].SelectedField();
  if (selected < 0) {
    NavigateFields(map, kNavigateDown, true, -1);
  } else if (ValidField(map, selected)) {
    RaiseFieldEvent(map, selected, kSymFieldSelect);
  }
}

void SetPlayerInterface(std::int32_t map) {
  if (map >= 0 && !ValidMap(map)) return;
  InterfaceReference& current = projectState.currentPlayerInterface;
  current.index = map;
  std::size_t worldSet = kWalkingSet;
  if (map < 0) {
    current.name.clear();
    SwitchInputSet(kInterfaceSet, false);
    if (WorldInputSet(worldSet)) SwitchInputSet(worldSet, true);
    return;
  }
  current.name = gameData.maps[map].fileName;
  if (storedProjectSettings.flags[kReshowPlayerInterfaceFlag - 1] != 0) gameData.maps[map].overlayActive = 0;
  SetMapActive(map, true, -1);
  playerHooks.UpdateMapSystems(map);
  if (WorldInputSet(worldSet)) SwitchInputSet(worldSet, false);
  SwitchInputSet(kInterfaceSet, true);
}

void NavigateFields(std::int32_t map, std::int32_t direction, bool noGlide, std::int32_t field) {
  std::int32_t result = -1;
  if (direction == kNavigateToField) {
    if (field >= 0) result = field;
  } else if (direction != kNavigateLeft && direction != kNavigateUp && direction != kNavigateRight &&
             direction != kNavigateDown) {
    RaiseError(kErrData, "Invalid direction for interface navigation.");
  } else if (ValidMap(map) && !gameData.maps[map].fields.empty()) {
    std::int32_t selected = gameData.maps[map].SelectedField();
    if (!ValidField(map, selected)) selected = -1;
    double originX = 0.0;
    double originY = 0.0;
    if (selected >= 0) {
      originX = FieldAt(map, selected).x;
      originY = FieldAt(map, selected).y;
    }
    result = ScanFields(map, direction, originX, originY, selected);
    if (result < 0) {
      const bool forward = direction == kNavigateRight || direction == kNavigateDown;
      const double far = forward ? -kFarCoordinate : kFarCoordinate;
      result = ScanFields(map, direction, far, far, -1);
    }
  }
  if (result >= 0) {
    SelectField(map, result, noGlide);
  } else if (noGlide) {
    SelectField(map, -1, true);
  }
}

void KeepFieldInScrollRegion(std::int32_t map, std::int32_t field) {
  if (!ValidField(map, field)) return;
  const std::array<std::int32_t, 4> region = gameData.maps[map].scrollRect;
  if (region[0] == 0 && region[1] == 0 && region[2] == 0 && region[3] == 0) return;
  const Field& f = FieldAt(map, field);
  const auto shift = [](double position, double size, std::int32_t low, std::int32_t high) {
    if (position >= low && position + size > high) return Nearest(high - (position + size));
    if (position < low) return Nearest(low - position);
    return 0;
  };
  const std::int32_t dx = shift(f.x, f.pixelWidth, region[0], region[2]);
  const std::int32_t dy = shift(f.y, f.pixelHeight, region[1], region[3]);
  if (dx == 0 && dy == 0) return;
  if (f.Scrolls() == 0) MoveFieldTree(map, field, dx, dy);
  // Each scrolling field takes its children that do not scroll along.
  for (std::size_t i = 0; i < gameData.maps[map].fields.size(); ++i) {
    if (gameData.maps[map].fields[i].Scrolls() != 0) MoveFieldTree(map, static_cast<std::int32_t>(i), dx, dy);
  }
}

void MoveFieldTree(std::int32_t map, std::int32_t field, std::int32_t dx, std::int32_t dy) {
  if (!ValidField(map, field)) return;
  std::vector<Field>& fields = gameData.maps[map].fields;
  // Each field moves at most once, even where parent links form a loop.
  std::vector<bool> moved(fields.size(), false);
  std::vector<std::int32_t> pending{field};
  while (!pending.empty()) {
    const std::int32_t current = pending.back();
    pending.pop_back();
    if (moved[static_cast<std::size_t>(current)]) continue;
    moved[static_cast<std::size_t>(current)] = true;
    Field& f = fields[static_cast<std::size_t>(current)];
    f.x += static_cast<float>(dx);
    f.y += static_cast<float>(dy);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].parent == current && fields[i].Scrolls() == 0 && !moved[i])
        pending.push_back(static_cast<std::int32_t>(i));
    }
  }
}

}  // namespace kiv
