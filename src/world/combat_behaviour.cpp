#include "world/combat_behaviour.h"

#include <cmath>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "player/character_system_fields.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "world/actor_shapes.h"
#include "world/combat_fields.h"
#include "world/combat_sight.h"
#include "world/combat_targets.h"
#include "world/movement_fields.h"
#include "world/placement.h"
#include "world/relations.h"
#include "world/weapons.h"

namespace kiv {

namespace {

constexpr float kPiOver32 = kPi / 32;
constexpr std::int32_t kNoOne = -1;

Actor* At(std::int32_t map, std::int32_t index) {
  if (map < -1 || map > gameData.maps.LastIndex()) return nullptr;
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (index < 0 || static_cast<std::size_t>(index) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(index)];
}

const Item* AreaZeroItem(const Actor& a) {
  if (a.equipment.empty()) return nullptr;
  const std::int32_t item = a.equipment[0].item;
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return nullptr;
  return &gameData.items[static_cast<std::size_t>(item)];
}

// The current player's controlled character when it stands on this map.
std::int32_t PlayerCharacterOnMap(std::int32_t map) {
  const std::int32_t p = shell.currentPlayer;
  if (p < 0 || static_cast<std::size_t>(p) >= projectState.players.size()) return kNoOne;
  const Player& player = projectState.players[static_cast<std::size_t>(p)];
  if (player.mapIndex != map || player.controlledMember < 0 ||
      static_cast<std::size_t>(player.controlledMember) >= player.party.size())
    return kNoOne;
  const std::int32_t c = player.party[static_cast<std::size_t>(player.controlledMember)].character;
  return At(map, c) != nullptr ? c : kNoOne;
}

// The player's character a hunting character targets, -1 none. fullTest adds
// the hit-point rule of a valid target.
std::int32_t HuntedPlayer(std::int32_t map, std::int32_t character, bool fullTest) {
  const Actor& c = *At(map, character);
  if (HuntsPlayer(c) == 0) return kNoOne;
  const std::int32_t p = PlayerCharacterOnMap(map);
  if (p < 0 || p == character) return kNoOne;
  const Actor& t = *At(map, p);
  if (fullTest) return IsValidCombatTarget(c, t) ? p : kNoOne;
  if (!IsTeamHostile(c.team, t.team) || t.removed != 0 || (t.state != 0 && t.state != 1)) return kNoOne;
  return p;
}

enum class ScanKind { kIdle, kReturning };

void Scan(std::int32_t map, std::int32_t character, float halfWidth, ScanKind kind) {
  const Actor* self = At(map, character);
  if (self == nullptr) return;
  std::int64_t limit = static_cast<std::int64_t>(SightRange(*self)) * SightRange(*self);
  for (std::size_t k = 0; k < gameData.maps[map].actors.size(); ++k) {
    const auto index = static_cast<std::int32_t>(k);
    self = At(map, character);
    if (self == nullptr) return;
    if (index == character) continue;
    const Actor& t = gameData.maps[map].actors[k];
    if (!IsValidCombatTarget(*self, t)) continue;
    const std::int64_t d2 = RoundedDistanceSquared(*self, t);
    if (d2 >= limit) continue;
    const float direction = AngleBetweenPoints(self->x, self->y, t.x, t.y);
    if (!AngleWithinArc(direction, WrapAngle(self->heading), halfWidth)) continue;
    const bool clear = kind == ScanKind::kIdle
                           ? CombatSightClear(map, *self, t, {index, RiddenVehicle(t), kNoOne}, {self->team, t.team})
                           : CombatSightClear(map, *self, t, {character, index, RiddenVehicle(t)}, {kNoOne, kNoOne});
    if (!clear) continue;
    SetCharacterTarget(map, character, index);
    limit = d2;
  }
}

// The distance tests of states 1 to 3 against the item in area 0.
struct Reach {
  bool hasReach = false;
  bool hasProjectiles = false;
  bool standToFire = false;
  bool inReach = false;
  bool inRange = false;
  bool beyondHalfRange = false;
};

Reach MeasureReach(const Actor& self, const Actor& target, const Item* item) {
  Reach r;
  if (item == nullptr) return r;
  const float d = static_cast<float>(std::sqrt(static_cast<double>(RoundedDistanceSquared(self, target))));
  r.hasReach = ItemReach(*item) >= 1;
  r.hasProjectiles = ItemProjectileCount(*item) >= 1;
  r.standToFire = ItemStandToFire(*item) != 0;
  r.inReach = r.hasReach && d < static_cast<float>(ItemReach(*item) + FootprintHalfSize(self));
  r.inRange = d <= static_cast<float>(ItemRange(*item));
  r.beyondHalfRange = d > static_cast<float>(ItemRange(*item)) / 2.0f;
  return r;
}

bool SightToTarget(std::int32_t map, std::int32_t character, const Actor& self, std::int32_t target) {
  const Actor& t = *At(map, target);
  return CombatSightClear(map, self, t, {character, target, RiddenVehicle(t)}, {t.team, kNoOne});
}

void Fire(std::int32_t map, std::int32_t character, std::int32_t target) {
  const Actor& self = *At(map, character);
  const Actor& t = *At(map, target);
  TryFireCharacterWeapon(map, character, 0, AngleBetweenPoints(self.x, self.y, t.x, t.y), FireRate(self), false,
                         true);
}

void StandAndFire(Actor& c) {
  c.aiState = kAIStandAndFire;
  c.aiMoveCommand = kCommandFaceTarget;
  c.walkTime = 0;
}

// The focused target when it is still one, else -1.
std::int32_t CurrentTarget(std::int32_t map, std::int32_t character) {
  const Actor& c = *At(map, character);
  const Actor* t = At(map, AIFocusActor(c));
  return t != nullptr && IsValidCombatTarget(c, *t) ? AIFocusActor(c) : kNoOne;
}

void Chase(std::int32_t map, std::int32_t character) {
  const std::int32_t hunted = HuntedPlayer(map, character, true);
  if (hunted >= 0) {
    SetCharacterTarget(map, character, hunted);
  } else if (CurrentTarget(map, character) < 0) {
    ClearCharacterTarget(map, character);
    return;
  }
  Actor* c = At(map, character);
  if (c == nullptr) return;
  const std::int32_t target = AIFocusActor(*c);
  const Item* item = AreaZeroItem(*c);
  if (item == nullptr || At(map, target) == nullptr) return;
  const Reach r = MeasureReach(*c, *At(map, target), item);
  if (!r.inReach && !(r.hasProjectiles && r.inRange)) return;
  if (!SightToTarget(map, character, *c, target)) return;
  if (r.hasProjectiles && r.standToFire)
    StandAndFire(*c);
  else
    c->aiState = kAIInPosition;
}

void HoldPosition(std::int32_t map, std::int32_t character) {
  const std::int32_t target = CurrentTarget(map, character);
  Actor* c = At(map, character);
  const Item* item = AreaZeroItem(*c);
  if (target < 0 || item == nullptr) {
    ClearCharacterTarget(map, character);
    return;
  }
  const Reach r = MeasureReach(*c, *At(map, target), item);
  if ((r.hasReach && !r.inReach) || (r.hasProjectiles && !r.inRange)) return;
  if (r.hasProjectiles && (!r.beyondHalfRange || r.standToFire)) {
    StandAndFire(*c);
  } else if (!r.hasReach) {
    if (!SightToTarget(map, character, *c, target))
      c->aiState = kAIChasing;
    else
      Fire(map, character, target);
  } else {
    StandAndFire(*c);
  }
}

void StandFiring(std::int32_t map, std::int32_t character) {
  const std::int32_t target = CurrentTarget(map, character);
  if (target < 0) {
    ClearCharacterTarget(map, character);
    return;
  }
  Actor* c = At(map, character);
  const Reach r = MeasureReach(*c, *At(map, target), AreaZeroItem(*c));
  if ((r.hasReach && !r.inReach) || (r.standToFire && r.hasProjectiles && !r.inRange) ||
      (r.hasProjectiles && !r.standToFire && r.beyondHalfRange)) {
    c->aiState = kAIInPosition;
    c->aiMoveCommand = kCommandFollow;
  } else if (!SightToTarget(map, character, *c, target)) {
    c->aiState = kAIChasing;
    c->aiMoveCommand = kCommandFollow;
  } else {
    Fire(map, character, target);
  }
}

void ReturnHome(std::int32_t map, std::int32_t character) {
  const std::int32_t hunted = HuntedPlayer(map, character, true);
  if (hunted >= 0) {
    SetCharacterTarget(map, character, hunted);
    return;
  }
  Scan(map, character, ViewArc(*At(map, character)) / 2.0f / 0.75f, ScanKind::kReturning);
  Actor* c = At(map, character);
  if (c == nullptr || c->aiState != kAIReturning) return;
  if (RoundToLong(c->x) != GotoX(*c) || RoundToLong(c->y) != GotoY(*c)) return;
  c->aiMoveCommand = 0;
  c->aiState = kAIIdle;
  c->heading = HomeHeading(*c);
  c->walkTime = 0;
  c->x = static_cast<float>(GotoX(*c));
  c->y = static_cast<float>(GotoY(*c));
  SnapCharacterToGrid(map, character, -1);
}

void RaiseOnTurret(std::int32_t map, std::int32_t turret, std::int32_t event, std::int32_t related) {
  ScriptRaiseObjectEvent(kOwnerActor, turret, event, map, related);
}

// A turret with a target: fires while the target lies near its heading and
// turns toward it; false when the target is lost.
bool AimAtTarget(std::int32_t map, std::int32_t turret) {
  Actor* self = At(map, turret);
  const std::int32_t target = AIFocusActor(*self);
  const Actor* t = At(map, target);
  if (t == nullptr) return false;
  const std::int64_t range = SightRange(*self);
  if (RoundedDistanceSquared(*self, *t) > range * range || !IsTeamHostile(self->team, t->team) ||
      (t->state != 0 && t->state != 1))
    return false;
  const float direction = AngleBetweenPoints(self->x, self->y, t->x, t->y);
  if (const Item* item = AreaZeroItem(*self)) {
    const float tolerance = (1.0f - ItemAccuracy(*item)) * kPiOver4 + kPiOver32;
    if (AngleWithinArc(direction, WrapAngle(self->heading), tolerance) &&
        CombatSightClear(map, *self, *t, {target, kNoOne, kNoOne}, {t->team, kNoOne}))
      TryFireCharacterWeapon(map, turret, 0, self->heading, FireRate(*self), false, true);
  }
  self = At(map, turret);
  if (self == nullptr) return true;
  const float diff = AngleDifference(direction, WrapAngle(self->heading));
  if (diff > ViewArc(*self)) return false;
  TurnDirection(*self) = diff > kPiOver32 ? 1.0f : (diff < -kPiOver32 ? -1.0f : 0.0f);
  return true;
}

void ScanForTurret(std::int32_t map, std::int32_t turret) {
  Actor* self = At(map, turret);
  TurnDirection(*self) = static_cast<float>(IdleTurn(*self));
  for (std::size_t k = 0; k < gameData.maps[map].actors.size(); ++k) {
    self = At(map, turret);
    if (self == nullptr) return;
    const auto index = static_cast<std::int32_t>(k);
    if (index == turret) continue;
    const Actor& t = gameData.maps[map].actors[k];
    if (!IsValidCombatTarget(*self, t)) continue;
    const std::int64_t range = SightRange(*self);
    if (RoundedDistanceSquared(*self, t) >= range * range) continue;
    const float direction = AngleBetweenPoints(self->x, self->y, t.x, t.y);
    if (!AngleWithinArc(direction, WrapAngle(self->heading), ViewArc(*self) / 2.0f)) continue;
    if (!CombatSightClear(map, *self, t, {index, kNoOne, kNoOne}, {self->team, t.team})) continue;
    const std::int32_t previous = AIFocusActor(*self);
    if (previous >= 0) RaiseOnTurret(map, turret, kEventLostEnemy, previous);
    RaiseOnTurret(map, turret, kEventSawEnemy, index);
    if (Actor* after = At(map, turret)) AIFocusActor(*after) = index;
  }
}

}  // namespace

void UpdateCombatBehaviour(std::int32_t map, std::int32_t character) {
  Actor* c = At(map, character);
  if (c == nullptr) return;
  switch (c->aiState) {
    case kAIIdle: {
      const std::int32_t hunted = HuntedPlayer(map, character, false);
      if (hunted >= 0) SetCharacterTarget(map, character, hunted);
      if (At(map, character) != nullptr)
        Scan(map, character, ViewArc(*At(map, character)) / 2.0f, ScanKind::kIdle);
      break;
    }
    case kAIChasing:
      Chase(map, character);
      break;
    case kAIInPosition:
      HoldPosition(map, character);
      break;
    case kAIStandAndFire:
      StandFiring(map, character);
      break;
    case kAIReturning:
      ReturnHome(map, character);
      break;
    default:
      break;
  }
}

void UpdateTurretAim(std::int32_t map, std::int32_t turret) {
  Actor* self = At(map, turret);
  if (self == nullptr) return;
  if (AIFocusActor(*self) >= 0) {
    if (AimAtTarget(map, turret)) return;
    self = At(map, turret);
    if (self == nullptr) return;
    const std::int32_t lost = AIFocusActor(*self);
    RaiseOnTurret(map, turret, kEventLostEnemy, lost);
    if (Actor* after = At(map, turret)) AIFocusActor(*after) = -1;
    return;
  }
  ScanForTurret(map, turret);
}

}  // namespace kiv
