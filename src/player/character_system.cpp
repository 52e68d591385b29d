#include "player/character_system.h"

#include <cstddef>

#include "data/game_data.h"
#include "data/project_state.h"
#include "mathkiv/collision.h"
#include "player/character_action.h"
#include "player/character_fields.h"
#include "player/character_movement.h"
#include "player/character_system_fields.h"
#include "player/character_timers.h"
#include "player/character_world.h"
#include "player/map_passage.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

bool Exists(std::int32_t map, std::int32_t c) {
  return c >= 0 && static_cast<std::size_t>(c) < gameData.maps[map].actors.size();
}

Actor& ActorOf(std::int32_t map, std::int32_t c) { return gameData.maps[map].actors[static_cast<std::size_t>(c)]; }

// The character's turn ends once it is no longer in play where it started:
// a zone or a map edge carried it to another map, or a script it set off
// moved it elsewhere or took it out of play. Its old slot gets no more steps.
bool TurnOver(const CharacterTurn& turn) {
  return turn.departed || !Exists(turn.map, turn.actor) || ActorOf(turn.map, turn.actor).removed != 0;
}

bool Selected(std::int32_t map, std::int32_t c) {
  const Actor& a = ActorOf(map, c);
  if (a.removed != 0 || DrivenVehicle(a) != -1 || RiddenVehicle(a) != -1) return false;
  return IsNearViewFocus(map, a.x, a.y, a.z, 0.0f);
}

// The owner whose controlled character this is, when the owner shows an indicator.
Player* IndicatorOwner(const Actor& a) {
  if (Owner(a) < 0 || static_cast<std::size_t>(Owner(a)) >= projectState.players.size()) return nullptr;
  Player& owner = projectState.players[static_cast<std::size_t>(Owner(a))];
  return owner.controlledMember == PartySlot(a) && owner.actionSprite >= 0 ? &owner : nullptr;
}

// Steps 3 to 6: the start of the tick, timers, the melee strike, the anchor.
void StartCharacterTurn(CharacterTurn& turn) {
  const std::int32_t map = turn.map;
  const std::int32_t c = turn.actor;
  const std::int32_t t = turn.elapsed;
  shell.activityStep = 15;
  {
    Actor& a = ActorOf(map, c);
    a.moved = (a.tickFlags & 1) != 0 ? 1 : 0;
    characterWorld.ClearHitLists();
    turn.touchedSolid = false;
    turn.rememberedWalkTime = a.walkTime;
    turn.alive = IsAlive(a);
  }
  const std::int32_t motion = characterWorld.CharacterMotionState(gameData.maps[map], ActorOf(map, c));
  Actor& a = ActorOf(map, c);
  AdvanceCharacterTimers(a, t, shell.worldStepTime, motion);
  characterWorld.ExpireEffectAnimations(a.attachedEffects, t);
  characterWorld.ExpireEffectAnimations(ActorOf(map, c).attachedSprites, t);
  if (Player* owner = IndicatorOwner(ActorOf(map, c))) owner->actionIndicatorTime += t;
  shell.activityStep = 14;
  StrikeMelee(turn);
  if (!Exists(map, c)) return;
  shell.activityStep = 13;
  Actor& again = ActorOf(map, c);
  if (turn.alive && StepLeft(again) < 1 && !HasPath(again) && !HasCommand(again) && !HasOneShotCommand(again) &&
      HasMovementProgram(again)) {
    UpdateCharacterAnchor(again, storedProjectSettings.gridSize, storedProjectSettings.gridOrigin);
  }
}

// Step 10: a moved player's character takes pick-ups and may pass to a neighbour.
void AfterMove(CharacterTurn& turn) {
  if (ActorOf(turn.map, turn.actor).moved == 0) return;
  if (Owner(ActorOf(turn.map, turn.actor)) >= 0) {
    shell.activityStep = 9;
    TakePickUpsByTouch(turn);
    if (!Exists(turn.map, turn.actor)) return;
    shell.activityStep = 3;
    if (ActorOf(turn.map, turn.actor).removed == 0) RunMapPassage(turn.map, turn.actor);
    shell.activityStep = 2;
  }
  if (Exists(turn.map, turn.actor)) ActorOf(turn.map, turn.actor).tickFlags &= ~1;
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
void RaiseCharacterEvents(const CharacterTurn& turn) {
  const std::int32_t map = turn.map;
  const std::int32_t c = turn.actor;
  shell.activityStep = 1;
  const EventScan scan = ScanEvents(ActorOf(map, c));
  if (scan.close || scan.far) {
    // Every index, the character itself and removed ones included; the
    // trigger's own conditions decide.
    for (std::size_t k = 0; k < gameData.maps[map].actors.size(); ++k) {
      if (TurnOver(turn)) return;
      const auto related = static_cast<std::int32_t>(k);
      if (scan.close) characterWorld.RaiseObjectEvent(kOwnerActor, c, kEventActorProximityClose, map, related);
      if (scan.far) characterWorld.RaiseObjectEvent(kOwnerActor, c, kEventActorProximityFar, map, related);
    }
  }
  if ((scan.mapEdges || scan.cameraEdges) && !TurnOver(turn)) RaiseEdgeEvents(map, c, scan.mapEdges, scan.cameraEdges);
  for (const std::int32_t event : {kEventActorInterval, kEventActorCondition, kEventActorChanged}) {
    if (TurnOver(turn)) return;
    characterWorld.RaiseObjectEvent(kOwnerActor, c, event, map, -1);
  }
}

// Step 13: a zone with triggers has its moved byte cleared; mouse triggers are noted.
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
  // Characters added while the pass runs wait for the next tick.
  const auto last = static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  for (std::int32_t c = 0; c <= last; ++c) {
    if (!Exists(map, c) || !Selected(map, c)) continue;
    CharacterTurn turn;
    turn.map = map;
    turn.actor = c;
    turn.elapsed = shell.frameElapsed;
    StartCharacterTurn(turn);
    if (TurnOver(turn)) continue;
    MoveCharacter(turn);
    if (TurnOver(turn)) continue;
    if (turn.alive) RunCharacterWeaponsAndAction(turn);
    if (TurnOver(turn)) continue;
    if (turn.elapsed > 0) {
      shell.activityStep = 12;
      UpdateCharacterContacts(turn);
    }
    if (TurnOver(turn)) continue;
    AfterMove(turn);
    if (TurnOver(turn)) continue;
    RaiseCharacterEvents(turn);
  }
  shell.activityStep = 0;
  UpdateZones(map);
}

void ClearCharacterTickFlags() { shell.mouseTriggersPresent = false; }

}  // namespace kiv
