#include "world/combat_targets.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "data/game_data.h"
#include "data/item_fields.h"
#include "player/character_fields.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "world/combat_fields.h"
#include "world/damage.h"
#include "world/item_sounds.h"
#include "world/reference_fields.h"
#include "world/relations.h"
#include "world/combat_access.h"

namespace kiv {

namespace {

using combat::ActorAt;
using combat::ClampToLong;
using combat::ValidActor;
using combat::ValidItem;

constexpr std::int32_t kCombatBehaviourOn = 1;
constexpr std::int32_t kItemAppliedScript = 2;

void FollowLeaderOrGoHome(Actor& a) {
  if (LeaderActor(a) >= 0) {
    a.aiState = kAIIdle;
    a.aiMoveCommand = kCommandFollow;
  } else {
    a.aiState = kAIReturning;
    a.aiMoveCommand = kCommandWalkHome;
  }
}

void RunAppliedScript(std::int32_t map, std::int32_t item, std::int32_t target, std::int32_t parent) {
  TriggerRun run;
  run.ownerKind = kOwnerItem;
  run.ownerIndex = item;
  run.subIndex = kItemAppliedScript;
  run.map = map;
  run.relateActor = target;
  run.relateItem = parent;
  run.nested = true;
  ScriptRunTrigger(run);
}

void ChangeStatistics(std::int32_t map, std::int32_t item, std::int32_t target, std::int32_t parent,
                      std::int32_t attacker) {
  const Item& record = gameData.items[static_cast<std::size_t>(item)];
  const std::int32_t flags = ItemEffectFlags(record);
  const std::vector<std::int32_t> change = ItemStatChange(record);
  const std::size_t count = gameData.statistics.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (!ValidActor(map, target) || i >= ActorAt(map, target).statistics.size()) return;
    const std::int32_t delta = ItemStatAt(change, i);
    if ((flags & kEffectOnValues) != 0) {
      if (i == 0) {
        // Through the damage rules, so that a positive change heals.
        DamageCharacter(map, target, ClampToLong(-static_cast<std::int64_t>(delta)), attacker, parent);
        if (!ValidActor(map, target)) return;
      } else {
        StatisticValue& s = ActorAt(map, target).statistics[i];
        s.currentValue = ClampToLong(static_cast<std::int64_t>(s.currentValue) + delta);
      }
    }
    StatisticValue& s = ActorAt(map, target).statistics[i];
    if ((flags & kEffectOnMaximums) != 0) s.baseValue = ClampToLong(static_cast<std::int64_t>(s.baseValue) + delta);
    if (i <= 1 && s.currentValue > s.baseValue) s.currentValue = s.baseValue;
  }
}

// visited: the items whose effect this use has applied, so that ammunition
// naming each other round in a loop is followed once.
void ApplyEffectOnce(std::int32_t map, std::int32_t item, std::int32_t target, std::int32_t parent,
                     std::int32_t attacker, std::vector<std::int32_t>& visited) {
  if (!ValidItem(item) || !ValidActor(map, target)) return;
  visited.push_back(item);
  RunAppliedScript(map, item, target, parent);
  if (!ValidActor(map, target)) return;
  const Item& record = gameData.items[static_cast<std::size_t>(item)];
  const Actor& a = ActorAt(map, target);
  PlayItemSoundAt(ItemHitSound(record), a.x, a.y, a.z);
  const std::int32_t hitEffect = ItemHitEffect(record);
  if (hitEffect >= 0) AttachEffectAnimation(map, target, hitEffect, false);
  ChangeStatistics(map, item, target, parent, attacker);
  const std::int32_t ammo = ItemAmmoItem(gameData.items[static_cast<std::size_t>(item)]);
  if (ammo < 0 || ammo == item || std::find(visited.begin(), visited.end(), ammo) != visited.end()) return;
  ApplyEffectOnce(map, ammo, target, item, attacker, visited);
}

}  // namespace

void SetCharacterTarget(std::int32_t map, std::int32_t character, std::int32_t target) {
  if (!ValidActor(map, character)) return;
  const std::int32_t old = AIFocusActor(ActorAt(map, character));
  if (target == old) {
    if (target >= 0) {
      ActorAt(map, character).aiState = kAIChasing;
      ActorAt(map, character).aiMoveCommand = kCommandFollow;
    }
    return;
  }
  if (old >= 0) ScriptRaiseObjectEvent(kOwnerActor, character, kEventLostEnemy, map, old);
  if (!ValidActor(map, character)) return;
  Actor& a = ActorAt(map, character);
  AIFocusActor(a) = target;
  if (target < 0) {
    FollowLeaderOrGoHome(a);
    return;
  }
  a.aiState = kAIChasing;
  a.aiMoveCommand = kCommandFollow;
  ScriptRaiseObjectEvent(kOwnerActor, character, kEventSawEnemy, map, target);
}

void ClearCharacterTarget(std::int32_t map, std::int32_t character) {
  if (!ValidActor(map, character)) return;
  const std::int32_t old = AIFocusActor(ActorAt(map, character));
  if (old != -1) {
    if (old >= 0) ScriptRaiseObjectEvent(kOwnerActor, character, kEventLostEnemy, map, old);
    if (!ValidActor(map, character)) return;
    AIFocusActor(ActorAt(map, character)) = -1;
  }
  FollowLeaderOrGoHome(ActorAt(map, character));
}

void AlertCharactersInRange(std::int32_t map, std::int32_t source, float x, float y, float radius) {
  if (!ValidActor(map, source)) return;
  const std::int32_t team = ActorAt(map, source).team;
  if (team < 0) return;
  const float reach = radius * radius;
  for (std::size_t i = 0; i < gameData.maps[map].actors.size(); ++i) {
    const Actor& c = gameData.maps[map].actors[i];
    if (!IsTeamHostile(c.team, team)) continue;
    if (c.removed != 0 || c.vehicleRidden >= 0 || c.turretOperated >= 0 || c.state == kStateDead) continue;
    if ((c.aiFlags & kCombatBehaviourOn) == 0 || (c.aiState != kAIIdle && c.aiState != kAIReturning)) continue;
    const float dx = c.x - x;
    const float dy = c.y - y;
    const float square = dx * dx + dy * dy;
    if (square <= reach) SetCharacterTarget(map, static_cast<std::int32_t>(i), source);
  }
}

void ApplyItemEffect(std::int32_t map, std::int32_t item, std::int32_t target, std::int32_t parent,
                     std::int32_t attacker) {
  std::vector<std::int32_t> visited;
  ApplyEffectOnce(map, item, target, parent, attacker, visited);
}

void AttachEffectAnimation(std::int32_t map, std::int32_t character, std::int32_t spriteSet, bool looping) {
  if (!ValidActor(map, character)) return;
  Attachment entry;
  entry.spriteSet = spriteSet;
  entry.valueA = 0;   // elapsed ms
  entry.valueB = -1;  // link
  entry.valueC = 0;
  // A looping overlay sets the loop byte that expiry reads and the overlay bytes.
  const std::uint8_t loop = looping ? 1 : 0;
  entry.byteE = loop;
  entry.byteF = loop;
  entry.byteG = loop;
  ActorAt(map, character).attachedEffects.push_back(entry);
}

void ApproachSpeed(float input, float& velocity, float maxForward, float maxBackward, float accelForward,
                   float accelBackward, float decelForward, float decelBackward) {
  const auto t = static_cast<float>(shell.frameElapsed);
  if (input != 0.0f && accelForward != 0.0f) {
    if (input > 0.0f) {
      const float limit = maxForward * input;
      if (velocity < limit) velocity = std::min(velocity + accelForward * t, limit);
    } else {
      const float limit = -input * maxBackward;
      if (velocity > limit) velocity = std::max(velocity + accelBackward * t, limit);
    }
  } else if (input != 0.0f) {
    velocity = input > 0.0f ? maxForward * input : -input * maxBackward;
  } else if (accelForward == 0.0f) {
    velocity = 0.0f;
  } else if (velocity < 0.0f) {
    velocity = std::min(velocity + decelBackward * t, 0.0f);
  } else if (velocity > 0.0f) {
    velocity = std::max(velocity + decelForward * t, 0.0f);
  }
}

}  // namespace kiv
