// Doors swing towards their target amount unless something stands in the way,
// close again after their stay-open time, and carry the character that opened
// them to their exit once fully open.
#include <cstdint>
#include <utility>

#include "data/broad_phase.h"
#include "data/data_hooks.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "player/character_world.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/world_object_systems.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"

namespace kiv {

namespace {

float Sign(float v) { return v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f); }

// True when the shape, placed at the door, meets anything but the door itself.
bool DoorShapeBlocked(std::int32_t map, std::int32_t door, const CollisionShape& shape, const Door& d) {
  ShapePlacement at;
  at.x = d.x;
  at.y = d.y;
  at.z = d.z;
  return characterWorld.TestActorMove(map, shape, at, -1, -1, door, false, false);
}

// Moves a moving door one step; true when it has just reached its target.
// A step that reaches or passes the target stops on it, and the shape built
// and tested is the one at the amount the door will have.
bool SwingDoor(std::int32_t map, std::int32_t door, std::int32_t elapsed) {
  Door& d = gameData.maps[map].doors[static_cast<std::size_t>(door)];
  const float target = DoorSwing(d);
  float next = d.openAmount + Sign(target - d.openAmount) * static_cast<float>(elapsed) / kDoorSwingMilliseconds;
  const bool reached = (d.openAmount < target && next >= target) || (d.openAmount > target && next <= target);
  if (reached) next = target;
  CollisionShape shape;
  dataHooks.BuildDoorCollisionShape(map, door, next, shape);
  if (DoorShapeBlocked(map, door, shape, d)) {
    ResetCollision(shape);
    // Waiting while only the next position is blocked; turning back when the
    // door cannot stay where it is either.
    if (DoorShapeBlocked(map, door, d.collisionShape, d)) {
      if (target != 0.0f) {
        DoorSwing(d) = 0.0f;
      } else {
        DoorSwing(d) = d.openAmount > 0.0f ? 1.0f : -1.0f;
      }
    }
    return false;
  }
  if (reached) DoorOpenTimeLeft(d) = DoorStayOpenTime(d);
  d.openAmount = next;
  d.collisionShape = std::move(shape);
  MarkBroadPhaseDirty(gameData.maps[map]);
  return reached;
}

// The door's event 2, then the opener is carried to the exit.
void DoorOpenedFully(std::int32_t map, std::int32_t door) {
  const std::int32_t user = DoorOpener(gameData.maps[map].doors[static_cast<std::size_t>(door)]);
  TriggerRun run;
  run.ownerKind = kOwnerDoor;
  run.ownerIndex = door;
  run.subIndex = kDoorOpenedFullyEvent;
  run.map = map;
  run.relateActor = user;
  scriptHooks.RunTrigger(run);

  // The script may have changed the lists: everything is looked up again.
  if (map > gameData.maps.LastIndex() || static_cast<std::size_t>(door) >= gameData.maps[map].doors.size()) return;
  Door& d = gameData.maps[map].doors[static_cast<std::size_t>(door)];
  const std::int32_t exitMap = DoorExitMap(d);
  if (exitMap < 0 || exitMap > gameData.maps.LastIndex() || user < 0) return;
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (static_cast<std::size_t>(user) >= actors.size()) return;
  Actor& a = actors[static_cast<std::size_t>(user)];
  a.x = static_cast<float>(DoorExitX(d));
  a.y = static_cast<float>(DoorExitY(d));
  a.z = static_cast<float>(DoorExitZ(d));
  NoteActorMoved(gameData.maps[map], user);
  playerHooks.SetCharacterPosition(user, map, exitMap, 0, 0);
}

}  // namespace

void DoorSystem(std::int32_t map) {
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  const std::int32_t t = shell.frameElapsed;
  // Events may add or remove doors: the bound is read again each turn.
  for (std::size_t i = 0; i < gameData.maps[map].doors.size(); ++i) {
    const auto door = static_cast<std::int32_t>(i);
    bool reached = false;
    Door& d = gameData.maps[map].doors[i];
    if (d.openAmount != DoorSwing(d)) {
      reached = SwingDoor(map, door, t);
    } else if (d.openAmount != 0.0f && DoorStayOpenTime(d) > 0) {
      std::int32_t& left = DoorOpenTimeLeft(d);
      left -= t;
      if (left < 1) {
        left = 0;
        DoorSwing(d) = 0.0f;
      }
    }
    if (reached && gameData.maps[map].doors[i].openAmount != 0.0f) DoorOpenedFully(map, door);
  }
}

}  // namespace kiv
