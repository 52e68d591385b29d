#include "world/damage.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/math_util.h"
#include "core/number_text.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "data/sprite_set_queries.h"
#include "mathkiv/collision.h"
#include "player/character_fields.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "world/actor_pose.h"
#include "world/character_motion.h"
#include "world/combat_targets.h"
#include "world/damage_fields.h"
#include "world/doors_pickups.h"
#include "world/party_progression.h"
#include "world/reference_fields.h"
#include "world/relations.h"
#include "world/combat_access.h"

namespace kiv {

namespace {

using combat::ActorAt;
using combat::ClampToLong;
using combat::ValidActor;
using combat::ValidItem;

constexpr float kAlertRadius = 96.0f;
constexpr std::int32_t kDamageShowMs = 1500;
constexpr float kDamageRise = 0.28f;
constexpr std::int64_t kLargestShown = 999999999;
constexpr std::int32_t kHurtPose = 12;
constexpr std::uint8_t kChargeKind = 4;
constexpr std::uint8_t kOwnerBoundPhase = 2;

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

// Hit points less the damage, held to 0 .. maximum. The difference is taken
// in 64 bits: a large heal or damage would overflow a Long.
void ApplyToHitPoints(Actor& victim, std::int32_t damage) {
  if (victim.statistics.empty()) return;
  StatisticValue& hp = victim.statistics[0];
  std::int64_t left = static_cast<std::int64_t>(hp.currentValue) - damage;
  if (left > hp.baseValue) left = hp.baseValue;
  if (left < 0) left = 0;
  hp.currentValue = static_cast<std::int32_t>(left);
}

// Pieces of an entry that drop: all at 100 percent; otherwise rolls of
// Rnd x 100 against the chance, 100 rolls scaled for more than 100 pieces.
std::int32_t DropQuantity(const InventoryEntry& entry) {
  const std::int32_t chance = DropChance(entry);
  const std::int32_t quantity = Quantity(entry);
  if (chance == 100) return quantity;
  if (chance == 0) return 0;
  const std::int32_t rolls = quantity > 100 ? 100 : quantity;
  std::int32_t successes = 0;
  for (std::int32_t k = 0; k < rolls; ++k)
    if (RandomNext() * 100.0 <= chance) ++successes;
  if (quantity <= 100) return successes;
  return RoundToLong(static_cast<double>(quantity) / 100.0 * successes);
}

void DropItems(std::int32_t map, std::int32_t victim) {
  const std::size_t count = ActorAt(map, victim).items.size();
  for (std::size_t i = 0; i < count && i < ActorAt(map, victim).items.size(); ++i) {
    const InventoryEntry entry = ActorAt(map, victim).items[i];
    const std::int32_t n = DropQuantity(entry);
    if (n <= 0) continue;
    const Actor& a = ActorAt(map, victim);
    // A spiral: the first drop lies on the character, the next ones wind out.
    const double turn = static_cast<double>(i);
    const auto x = static_cast<float>(a.x + 2.0 * turn * std::cos(turn));
    const auto y = static_cast<float>(a.y + 2.0 * turn * std::sin(turn));
    AddPickUp(map, x, y, a.z, entry.item, n, 0, 0, 0, 0, -1);
  }
}

// Charges that only their owner can set off end with it.
void EndOwnedCharges(std::int32_t map, std::int32_t victim) {
  std::vector<Projectile>& list = gameData.maps[map].projectiles;
  for (std::size_t k = list.size(); k-- > 0;) {
    Projectile& p = list[k];
    if (FiringActor(p) == victim && p.kind == kChargeKind && p.damagePhase == kOwnerBoundPhase)
      p.remainingRange = 0.0f;
  }
}

void GiveRewards(std::int32_t map, std::int32_t victim, std::int32_t attacker) {
  if (!ValidActor(map, attacker)) return;
  const std::int32_t owner = ActorAt(map, attacker).owningPlayer;
  const Actor& v = ActorAt(map, victim);
  if (owner < 0 || owner == v.owningPlayer || static_cast<std::size_t>(owner) >= projectState.players.size()) return;
  const std::int32_t experience = v.experience;
  Player& player = projectState.players[static_cast<std::size_t>(owner)];
  player.money = SaturatingAdd(player.money, v.money);
  PlayerPoints(player) = ClampToLong(static_cast<std::int64_t>(PlayerPoints(player)) + v.points);
  const std::int32_t home = player.mapIndex;
  for (std::size_t m = 0; m < projectState.players[static_cast<std::size_t>(owner)].party.size(); ++m) {
    const std::int32_t character = projectState.players[static_cast<std::size_t>(owner)].party[m].character;
    if (home < 0 || !ValidActor(home, character)) continue;
    const Actor& member = ActorAt(home, character);
    if (member.removed != 0 || !IsAlive(member)) continue;
    AddPartyMemberExperience(owner, static_cast<std::int32_t>(m), experience, 0);
  }
}

// A party member that is still in play and alive, searched from the slot
// after the given one round to it.
bool PartyHasLivingMember(const Player& player, std::int32_t slot) {
  const auto size = static_cast<std::int32_t>(player.party.size());
  const std::int32_t home = player.mapIndex;
  if (home < 0) return false;
  for (std::int32_t step = 1; step <= size; ++step) {
    const std::int32_t k = PositiveMod(slot + step, size);
    const std::int32_t character = player.party[static_cast<std::size_t>(k)].character;
    if (!ValidActor(home, character)) continue;
    const Actor& member = ActorAt(home, character);
    if (member.removed == 0 && IsAlive(member)) return true;
  }
  return false;
}

void LeaveParty(std::int32_t map, std::int32_t victim, std::int32_t attacker, std::int32_t item) {
  const std::int32_t owner = ActorAt(map, victim).owningPlayer;
  const std::int32_t slot = PartySlot(ActorAt(map, victim));
  if (owner < 0 || static_cast<std::size_t>(owner) >= projectState.players.size()) return;
  if (slot < 0 || static_cast<std::size_t>(slot) >= projectState.players[static_cast<std::size_t>(owner)].party.size())
    return;
  UnlinkPartyMember(owner, slot);
  Player& player = projectState.players[static_cast<std::size_t>(owner)];
  if (player.controlledMember < 0) {
    for (std::size_t m = 0; m < player.party.size(); ++m) {
      const std::int32_t character = player.party[m].character;
      if (player.mapIndex < 0 || !ValidActor(player.mapIndex, character)) continue;
      if (ActorAt(player.mapIndex, character).removed != 0) continue;
      player.controlledMember = static_cast<std::int32_t>(m);
      break;
    }
  }
  if (PartyHasLivingMember(player, slot)) return;
  TriggerRun run;
  run.ownerKind = kOwnerSystem;
  run.ownerIndex = kPartyDownSystemScript;
  run.subIndex = 0;
  run.map = map;
  run.relateActor = attacker;
  run.relateItem = item;
  ScriptRunTrigger(run);
}

void CountSpawnDeath(std::int32_t map, std::int32_t victim, std::int32_t attacker, std::int32_t item) {
  const std::int32_t spawn = SpawnedBy(ActorAt(map, victim));
  std::vector<Spawn>& spawns = gameData.maps[map].spawns;
  if (spawn < 0 || static_cast<std::size_t>(spawn) >= spawns.size()) return;
  Spawn& s = spawns[static_cast<std::size_t>(spawn)];
  KilledCount(s) = ClampToLong(static_cast<std::int64_t>(KilledCount(s)) + 1);
  if (KilledCount(s) == MaxTotal(s)) {
    TriggerRun run;
    run.ownerKind = kOwnerSpawn;
    run.ownerIndex = spawn;
    run.subIndex = kSpawnAllKilledScript;
    run.map = map;
    run.relateActor = attacker;
    run.relateItem = item;
    ScriptRunTrigger(run);
  }
  if (ValidActor(map, victim)) SpawnedBy(ActorAt(map, victim)) = -1;
}

void Die(std::int32_t map, std::int32_t victim, std::int32_t attacker, std::int32_t item) {
  {
    Actor& v = ActorAt(map, victim);
    v.state = kStateDying;
    v.aiState = kAIReturning;
    ClearCharacterMotion(v);
    for (InventoryEntry& entry : v.equipment) {
      entry.flag = 0;
      entry.pressFired = 0;
    }
    v.pose = 0;  // the pose a script chose
  }
  DropItems(map, victim);
  EndOwnedCharges(map, victim);
  GiveRewards(map, victim, attacker);
  ScriptRaiseObjectEvent(kOwnerActor, victim, kEventActorKilled, map, attacker, -1, -1, -1, item);
  if (!ValidActor(map, victim)) return;
  LeaveParty(map, victim, attacker, item);
  if (!ValidActor(map, victim)) return;
  CountSpawnDeath(map, victim, attacker, item);
}


ShapePlacement PlacementOf(const Actor& a) {
  return ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
}

}  // namespace

void ShowDamageNumber(Actor& v, std::int32_t damage) {
  if (!((damage == 0 && v.damageShowTime < 1) || (damage != 0 && damage != kKillDamage))) return;
  v.damageShowTime = kDamageShowMs;
  v.damageRise = kDamageRise;
  v.damageOffset = 0.0f;
  // Held within nine digits either way; the magnitude is taken in 64 bits,
  // where the smallest Long still has one.
  const std::int64_t wide = damage;
  v.damageShown = static_cast<std::int32_t>(wide >= 1000000000    ? kLargestShown
                                            : wide <= -1000000000 ? -kLargestShown
                                                                  : wide);
}

void DamageCharacter(std::int32_t map, std::int32_t actor, std::int32_t damage, std::int32_t attacker,
                     std::int32_t item) {
  if (!ValidActor(map, actor)) return;
  if (!(HealthMaximum(ActorAt(map, actor)) > 0 || damage == kKillDamage)) return;
  if (attacker >= 0 && ValidActor(map, attacker)) {
    AlertCharactersInRange(map, attacker, ActorAt(map, actor).x, ActorAt(map, actor).y, kAlertRadius);
    if (!ValidActor(map, actor)) return;
    LastAttacker(ActorAt(map, actor)) = attacker;
    if (ValidActor(map, attacker)) LastVictim(ActorAt(map, attacker)) = actor;
  }
  ApplyToHitPoints(ActorAt(map, actor), damage);
  if (damage >= 0) {
    ScriptRaiseObjectEvent(kOwnerActor, actor, kEventActorDamaged, map);
    if (attacker >= 0 && ValidActor(map, actor))
      ScriptRaiseObjectEvent(kOwnerActor, actor, kEventActorDamagedActor, map, attacker, -1, -1, -1, item);
    if (!ValidActor(map, actor)) return;
  }
  Actor& v = ActorAt(map, actor);
  if (HealthCurrent(v) > 0) {
    if (v.state == kStateDying || v.state == kStateDead) v.state = kStateNormal;
    if (damage > 0 && !v.parts.empty() && v.parts[0].spriteSet >= 0)
      v.hurtTime = SpriteDirectionDuration(v.parts[0].spriteSet, kHurtPose, ActorDrawDirection(v));
  } else if (v.state != kStateDying && v.state != kStateDead) {
    Die(map, actor, attacker, item);
    if (!ValidActor(map, actor)) return;
  }
  Actor& shown = ActorAt(map, actor);
  ShowDamageNumber(shown, damage);
  if (damage > 0) RecoverTime(shown) = 0;
}

bool ApplyAreaDamage(std::int32_t map, const CollisionShape& shape, float x, float y, float z, float rotationX,
                     float rotationY, float rotationZ, std::int32_t attacker, std::int32_t damage,
                     std::int32_t item, std::int32_t projectile, bool hitFriends) {
  std::int32_t team = -1;
  if (ValidActor(map, attacker)) {
    const Actor& a = ActorAt(map, attacker);
    team = a.team;
    if (item == -1) item = a.equipment.empty() ? -1 : a.equipment[0].item;
  }
  const ShapePlacement placement{x, y, z, rotationX, rotationY, rotationZ, 1.0f, 1.0f, 1.0f};
  bool hitSolid = false;
  for (std::size_t i = 0; i < gameData.maps[map].actors.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    const Actor& c = ActorAt(map, index);
    if (!hitFriends && (index == attacker || (team != -1 && c.team == team))) continue;
    if (!IsCharacterCollidable(map, index, false)) continue;
    if (!IntersectCollisionCollision(shape, placement, c.collisionShape, PlacementOf(c))) continue;
    if (c.solidToTouch != 0) hitSolid = true;
    if (ValidItem(item) && ItemImmuneTemplate(gameData.items[static_cast<std::size_t>(item)], c.templateIndex))
      continue;
    if (attacker < 0) {
      DamageCharacter(map, index, damage, -1, item);
    } else if (DamageByScript()) {
      TriggerRun run;
      run.ownerKind = kOwnerSystem;
      run.ownerIndex = kDamageSystemScript;
      run.subIndex = index;
      run.map = map;
      run.relateActor = attacker;
      run.relateItem = item;
      const Variant result = ScriptRunTrigger(run);
      if (IsNumericValue(result)) DamageCharacter(map, index, RoundToLong(ToNumber(result)), attacker, item);
    } else {
      ScriptRaiseObjectEvent(kOwnerActor, index, kEventActorAttacked, map, attacker, -1, -1, -1, item);
    }
    if (item >= 0 && ValidActor(map, index)) ApplyItemEffect(map, item, index, -1, attacker);
  }
  if (attacker < 0) return hitSolid;
  const auto currentZone = [map, projectile]() -> std::int32_t* {
    std::vector<Projectile>& list = gameData.maps[map].projectiles;
    if (projectile < 0 || static_cast<std::size_t>(projectile) >= list.size()) return nullptr;
    return &ProjectileZone(list[static_cast<std::size_t>(projectile)]);
  };
  const ShapePlacement origin;
  for (std::size_t k = 0; k < gameData.maps[map].zones.size(); ++k) {
    const auto zone = static_cast<std::int32_t>(k);
    const Zone& record = gameData.maps[map].zones[k];
    const bool met = record.Disabled() == 0 && IntersectCollisionCollision(shape, placement, record.shape, origin);
    std::int32_t* mark = currentZone();
    const bool isCurrent = mark != nullptr && *mark == zone;
    if (!met) {
      if (isCurrent) *mark = -1;
      continue;
    }
    if (isCurrent) continue;
    ScriptRaiseObjectEvent(kOwnerZone, zone, kEventZoneDamagedActor, map, attacker, -1, -1, -1, item);
  }
  return hitSolid;
}

}  // namespace kiv
