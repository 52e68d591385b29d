#include "player/character_system.h"

#include <cstddef>

#include "data/game_data.h"
#include "data/project_state.h"
#include "mathkiv/collision.h"
#include "player/character_events.h"
#include "player/character_fields.h"
#include "player/character_timers.h"
#include "player/character_world.h"
#include "player/map_passage.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "script/call_frame.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::int32_t kStateDying = 2;
constexpr std::int32_t kStateDead = 3;

bool Exists(std::int32_t map, std::int32_t c) {
  return static_cast<std::size_t>(c) < gameData.maps[map].actors.size();
}

Actor& ActorOf(std::int32_t map, std::int32_t c) { return gameData.maps[map].actors[static_cast<std::size_t>(c)]; }

bool Selected(std::int32_t map, std::int32_t c) {
  Actor& a = ActorOf(map, c);
  if (a.removed != 0 || DrivenVehicle(a) != -1 || RiddenVehicle(a) != -1) return false;
  return IsNearViewFocus(map, a.x, a.y, a.z, 0.0f);
}

// The character is its owner's controlled character and the owner shows an indicator.
bool ShowsIndicator(Actor& a, Player*& owner) {
  if (a.owningPlayer < 0 || static_cast<std::size_t>(a.owningPlayer) >= projectState.players.size()) return false;
  owner = &projectState.players[static_cast<std::size_t>(a.owningPlayer)];
  return owner->controlledMember == a.partyMember && owner->actionSprite >= 0;
}

void Strike(std::int32_t map, std::int32_t c, std::int32_t item, const Box& box) {
  CollisionShape shape;
  CollisionBox rect;
  rect.left = box.left;
  rect.top = box.top;
  rect.right = box.right;
  rect.bottom = box.bottom;
  rect.front = box.front;
  rect.back = box.back;
  shape.rectangles.push_back(rect);
  characterWorld.ApplyAreaDamage(map, shape, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, c, 0, item, -1, false);
  ResetCollision(shape);
}

// Steps 3 to 9: the start of the tick, timers, strike, anchor, movement,
// weapons and action, contacts.
void AdvanceCharacter(std::int32_t map, std::int32_t c, std::int32_t t) {
  shell.activityStep = 15;
  bool alive = false;
  {
    Actor& a = ActorOf(map, c);
    MovedByte(a) = (TickFlags(a) & 1) != 0 ? 1 : 0;
    characterWorld.BeginCharacterTick(map, c);
    alive = a.state != kStateDying && a.state != kStateDead;
    const std::int32_t motion = characterWorld.CharacterMotionState(map, c);
    Actor& again = ActorOf(map, c);
    AdvanceCharacterTimers(again, t, shell.worldStepTime, motion);
    characterWorld.ExpireEffectAnimations(again.attachedEffects, t);
    characterWorld.ExpireEffectAnimations(again.attachedSprites, t);
    Player* owner = nullptr;
    if (ShowsIndicator(again, owner)) owner->actionIndicatorTime += t;
  }
  shell.activityStep = 14;
  if (alive) {
    std::int32_t item = -1;
    Box box;
    if (AdvanceMeleeAttack(ActorOf(map, c), t, item, box)) Strike(map, c, item, box);
  }
  if (!Exists(map, c)) return;
  shell.activityStep = 13;
  if (alive) {
    Actor& a = ActorOf(map, c);
    if (StepLeft(a) < 1 && a.path.empty() && a.aiMoveCommand == 0 && a.autoMoveStyle == 0 && !a.route.empty())
      UpdateCharacterAnchor(a, storedProjectSettings.gridSize, storedProjectSettings.gridOrigin);
  }
  characterWorld.MoveCharacter(map, c, alive);
  if (!Exists(map, c)) return;
  if (alive) {
    if (ActiveByte(ActorOf(map, c)) == 1) {
      shell.activityStep = 10;
      characterWorld.CharacterWeaponsAndAction(map, c);
    } else {
      ActorOf(map, c).walkTime = 0;
    }
  }
  if (!Exists(map, c)) return;
  if (t > 0) {
    shell.activityStep = 12;
    characterWorld.CharacterContacts(map, c);
  }
}

// Step 10: a moved player's character takes pick-ups and may pass to a neighbour.
void AfterMove(std::int32_t map, std::int32_t c) {
  if (MovedByte(ActorOf(map, c)) == 0) return;
  if (ActorOf(map, c).owningPlayer >= 0) {
    shell.activityStep = 9;
    characterWorld.TakeTouchedPickUps(map, c);
    if (!Exists(map, c)) return;
    shell.activityStep = 3;
    if (ActorOf(map, c).removed == 0) RunMapPassage(map, c);
    shell.activityStep = 2;
  }
  if (Exists(map, c)) TickFlags(ActorOf(map, c)) &= ~1;
}

struct EventScan {
  bool mapEdges = false;
  bool cameraEdges = false;
  bool close = false;
  bool far = false;
};

EventScan ScanEvents(const Actor& a) {
  EventScan scan;
  for (const Trigger& t : a.triggers) {
    switch (t.event) {
      case kEventActorCrossedMapEdge:
      case kEventActorLeftEnteredMap:
        scan.mapEdges = true;
        break;
      case kEventActorCrossedCameraEdge:
      case kEventActorLeftEnteredCamera:
        scan.cameraEdges = true;
        break;
      case kEventActorProximityClose:
        scan.close = true;
        break;
      case kEventActorProximityFar:
        scan.far = true;
        break;
      default:
        if (t.event >= kEventActorMouseDown && t.event <= kEventActorMouseUp) shell.mouseTriggersPresent = true;
        break;
    }
  }
  return scan;
}

// Steps 11 and 12: proximity and edge events, then the three per-tick events.
void RaiseCharacterEvents(std::int32_t map, std::int32_t c) {
  shell.activityStep = 1;
  const EventScan scan = ScanEvents(ActorOf(map, c));
  if (scan.close || scan.far) {
    for (std::size_t k = 0; k < gameData.maps[map].actors.size(); ++k) {
      const auto related = static_cast<std::int32_t>(k);
      if (scan.close) RaiseObjectEvent(kOwnerActor, c, kEventActorProximityClose, map, related);
      if (scan.far) RaiseObjectEvent(kOwnerActor, c, kEventActorProximityFar, map, related);
    }
  }
  if ((scan.mapEdges || scan.cameraEdges) && Exists(map, c)) RaiseEdgeEvents(map, c, scan.mapEdges, scan.cameraEdges);
  for (const std::int32_t event : {kEventActorInterval, kEventActorCondition, kEventActorChanged}) {
    if (!Exists(map, c)) return;
    RaiseObjectEvent(kOwnerActor, c, event, map, -1);
  }
}

void UpdateZones(std::int32_t map) {
  for (Zone& zone : gameData.maps[map].zones) {
    for (const Trigger& t : zone.triggers) {
      ZoneMoved(zone) = 0;
      if (t.event >= kEventZoneMouseDown && t.event <= kEventZoneMouseUp) shell.mouseTriggersPresent = true;
    }
  }
}

}  // namespace

void RunCharacterSystem(std::int32_t map) {
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  gameData.currentActivity = "Character System";
  const std::int32_t t = shell.frameElapsed;
  // Characters added while the pass runs wait for the next tick.
  const auto last = static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  for (std::int32_t c = 0; c <= last; ++c) {
    if (!Exists(map, c) || !Selected(map, c)) continue;
    AdvanceCharacter(map, c, t);
    if (!Exists(map, c)) continue;
    AfterMove(map, c);
    if (!Exists(map, c)) continue;
    RaiseCharacterEvents(map, c);
  }
  shell.activityStep = 0;
  UpdateZones(map);
}

void ClearCharacterTickFlags() { shell.mouseTriggersPresent = false; }

}  // namespace kiv
