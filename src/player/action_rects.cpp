#include "player/action_rects.h"

#include <cstddef>
#include <cstdint>

#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sprite_instance.h"
#include "mathkiv/collision.h"
#include "player/character_fields.h"
#include "player/character_system_fields.h"
#include "player/character_world.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

ShapePlacement PlacementOf(const Actor& a) {
  return ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
}

// The actor index of a player's controlled party member, -1 none.
std::int32_t ControlledActor(const Player& p) {
  if (p.controlledMember < 0 || static_cast<std::size_t>(p.controlledMember) >= p.party.size()) return -1;
  return p.party[static_cast<std::size_t>(p.controlledMember)].character;
}

bool ValidActor(std::int32_t map, std::int32_t actor) {
  return map >= 0 && map <= gameData.maps.LastIndex() && actor >= 0 &&
         static_cast<std::size_t>(actor) < gameData.maps[map].actors.size();
}

bool IsCandidate(const Actor& j) {
  if (j.state == kStateDead) return characterWorld.HasTriggerEvent(j.triggers, kEventActorChecked);
  return characterWorld.HasTriggerEvent(j.triggers, kEventActorAction);
}

// Whether the main character's action rectangles or body reach j: (a) the
// first rectangle, (b) the bodies, (c) the second rectangle when in use.
bool ActionReaches(const Actor& main, const Actor& j) {
  const ShapePlacement origin;
  if (IntersectCollisionCollision(j.collisionShape, PlacementOf(j), main.frontShape, origin)) return true;
  if (IntersectCollisionCollision(main.collisionShape, PlacementOf(main), j.collisionShape, PlacementOf(j)))
    return true;
  return main.canClimb != 0 && IntersectCollisionCollision(j.collisionShape, PlacementOf(j), main.climbShape, origin);
}

void UpdateActionTarget(Player& player, std::int32_t map, std::int32_t main) {
  const std::int32_t old = player.actionSprite;
  player.actionSprite = -1;
  for (std::size_t j = 0; j < gameData.maps[map].actors.size(); ++j) {
    const auto other = static_cast<std::int32_t>(j);
    if (other == main || !characterWorld.IsCharacterCollidable(map, other, true)) continue;
    const Actor& candidate = gameData.maps[map].actors[j];
    if (!IsCandidate(candidate)) continue;
    if (!ActionReaches(gameData.maps[map].actors[static_cast<std::size_t>(main)], candidate)) continue;
    // No break: the last candidate in list order that is reached wins.
    player.actionSprite = candidate.state == kStateDead ? CheckedSpriteOf(candidate) : ActionSpriteOf(candidate);
  }
  if (player.actionSprite != old) {
    SetObjectSprite(player.actionIndicator, player.actionSprite);
    player.actionIndicatorTime = 0;
  }
}

}  // namespace

void RunActionRects() {
  for (std::size_t p = 0; p < projectState.players.size(); ++p) {
    Player& player = projectState.players[p];
    const std::int32_t main = ControlledActor(player);
    const std::int32_t map = player.mapIndex;
    if (main < 0 || !ValidActor(map, main)) continue;
    characterWorld.ResetActorCollision(map, main);
    if (storedProjectSettings.flags[0] == 0) continue;  // flag 1: action rectangles in use
    if (!characterWorld.IsCharacterCollidable(map, main, false)) continue;
    if (KindByte(gameData.maps[map].actors[static_cast<std::size_t>(main)]) != 1) continue;
    UpdateActionTarget(player, map, main);
  }
}

void RunHISystem() {
  const std::int32_t p = shell.currentPlayer;
  if (p < 0 || static_cast<std::size_t>(p) >= projectState.players.size()) return;
  const Player& player = projectState.players[static_cast<std::size_t>(p)];
  const std::int32_t map = player.mapIndex;
  const std::int32_t c = ControlledActor(player);
  if (!ValidActor(map, c)) return;
  Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(c)];
  if (!a.path.empty() || KindByte(a) != 1 || a.state == kStateDying || a.state == kStateDead) return;
  bool boxShown = false;
  for (std::size_t b = 0; b <= 6; ++b) boxShown = boxShown || messageBoxes[b].visible;
  if (a.removed != 0 || boxShown) {
    a.speed = 0.0f;
    return;
  }
  const std::int32_t vehicle = a.vehicleRidden;
  if (!ValidActor(map, vehicle)) return;
  const Actor& v = gameData.maps[map].actors[static_cast<std::size_t>(vehicle)];
  if (v.vehicle != 1 || KindByte(v) == 0) return;
  shell.activityStep = 2;
  characterWorld.TryFireCharacterWeapon(map, vehicle, 0, v.heading, 1.0f, false, false);
}

}  // namespace kiv
