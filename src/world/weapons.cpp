#include "world/weapons.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/error.h"
#include "core/math_util.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "world/combat_fields.h"
#include "world/damage.h"
#include "world/equipment.h"
#include "world/inventory.h"
#include "world/combat_targets.h"
#include "world/item_sounds.h"
#include "world/reference_fields.h"

namespace kiv {

namespace {

// A character at this height or lower (fallen through the floor) does not fire.
constexpr float kLowestFiringZ = -38.0f;

Actor* CharacterOf(std::int32_t map, std::int32_t character) {
  if (map < -1 || map > gameData.maps.LastIndex()) return nullptr;
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (character < 0 || static_cast<std::size_t>(character) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(character)];
}

const Item* ItemOf(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return nullptr;
  return &gameData.items[static_cast<std::size_t>(item)];
}

InventoryEntry* AreaEntry(Actor& actor, std::int32_t area) {
  if (area < 0 || static_cast<std::size_t>(area) >= actor.equipment.size()) return nullptr;
  return &actor.equipment[static_cast<std::size_t>(area)];
}

Player* PlayerOf(const Actor& actor) {
  const std::int32_t p = actor.owningPlayer;
  if (p < 0 || static_cast<std::size_t>(p) >= projectState.players.size()) return nullptr;
  return &projectState.players[static_cast<std::size_t>(p)];
}

std::int32_t ClampToLong(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v);
}

// The entry that holds the item's rounds: an equipment area in order, then the
// player's inventory; nullptr when the character has no such item.
InventoryEntry* AmmoEntry(Actor& actor, std::int32_t item) {
  for (InventoryEntry& e : actor.equipment)
    if (e.item == item) return &e;
  if (Player* player = PlayerOf(actor))
    for (InventoryEntry& e : player->items)
      if (e.item == item) return &e;
  return nullptr;
}

[[noreturn]] void RaiseMissingAmmoItem(const Actor& actor, std::int32_t item) {
  const Item* it = ItemOf(item);
  const std::string name = Utf16ToAnsi(actor.name);
  const std::string itemName = it != nullptr ? Utf16ToAnsi(it->name) : std::string();
  if (actor.owningPlayer < 0)
    RaiseError(kErrData, "Non-playable character \"" + name + "\" does not have \"" + itemName +
                             "\" equipped to alter/check the ammo in it.");
  RaiseError(kErrData, "The playable character \"" + name + "\" does not have a \"" + itemName +
                           "\" to alter/check the ammo in it.");
}

Actor& CharacterForAmmo(std::int32_t map, std::int32_t character) {
  Actor* actor = CharacterOf(map, character);
  if (actor == nullptr) RaiseError(kErrIndex, "Subscript out of range.");
  return *actor;
}

// A player's character that follows no leader: it acts on its player's input.
bool PlayerLed(const Actor& actor) { return actor.owningPlayer >= 0 && LeaderActor(const_cast<Actor&>(actor)) < 0; }

bool Living(const StatisticValue& hp) { return hp.currentValue > 0 && hp.baseValue > 0; }
bool Dead(const StatisticValue& hp) { return hp.currentValue < 1 && hp.baseValue > 0; }

// Whether the target passes the item's living and dead rules.
bool TargetAllowed(const Item& item, std::int32_t map, std::int32_t target) {
  const std::int32_t flags = ItemFlags(item);
  if ((flags & (kItemOnLiving | kItemOnDead)) == 0 || (flags & kItemWholeParty) != 0) return true;
  const Actor* t = CharacterOf(map, target);
  if (t == nullptr || t->statistics.empty()) return true;
  const StatisticValue& hp = t->statistics[0];
  if ((flags & kItemOnLiving) == 0 && Living(hp)) return false;
  if ((flags & kItemOnDead) == 0 && Dead(hp)) return false;
  return true;
}

bool CostsAffordable(const Item& item, const Actor& user) {
  const std::vector<std::int32_t>& cost = ItemStatCost(item);
  for (std::size_t s = 0; s < cost.size() && s < user.statistics.size(); ++s)
    if (cost[s] > 0 && user.statistics[s].currentValue < cost[s]) return false;
  return true;
}

// Takes rounds from the player's stock for an item without a clip.
bool TakeStockRounds(std::int32_t map, std::int32_t user, std::int32_t item, std::int32_t area) {
  const Item& it = *ItemOf(item);
  const std::int32_t ammoItem = ItemAmmoItem(it);
  const std::int32_t unit = ammoItem >= 0 ? ammoItem : item;
  const std::int32_t use = ItemAmmoUse(it);
  const auto take = [&] {
    std::int32_t rounds = 0;
    return ChangePlayerItemCount(CharacterOf(map, user)->owningPlayer, unit, -use, rounds, false, true) != 0;
  };
  const auto empty = [&] {
    const Actor& a = *CharacterOf(map, user);
    PlayItemEmptySound(map, a.x, a.y, a.z, item, user);
  };
  if (take()) return true;
  if (ammoItem >= 0) {
    empty();
    return false;
  }
  InventoryEntry* slot = AreaEntry(*CharacterOf(map, user), area);
  if (slot != nullptr && slot->item == item) {
    EquipItem(map, user, area, -1, false);
    if (CharacterOf(map, user) != nullptr && take()) return true;
  }
  if (CharacterOf(map, user) != nullptr) empty();
  return false;
}

// Step 4 of a use: the rounds it needs.
bool SpendAmmunition(std::int32_t map, std::int32_t user, std::int32_t item, std::int32_t area) {
  const Item& it = *ItemOf(item);
  const Actor& a = *CharacterOf(map, user);
  if (ItemClipSize(it) < 1) {
    if (ItemAmmoUse(it) > 0 && a.owningPlayer >= 0) return TakeStockRounds(map, user, item, area);
    return true;
  }
  const std::int32_t rounds = GetWeaponAmmo(map, user, item);
  if (rounds < ItemAmmoUse(it)) {
    const Actor& now = *CharacterOf(map, user);
    if (PlayerLed(now))
      PlayItemEmptySound(map, now.x, now.y, now.z, item, user);
    else
      ReduceWeaponAmmo(map, user, item, area, now.x, now.y, now.z, 0);
    return false;
  }
  SetWeaponAmmo(map, user, item, ClampToLong(static_cast<std::int64_t>(rounds) - ItemAmmoUse(it)));
  return true;
}

void PayCosts(std::int32_t map, std::int32_t user, std::int32_t item) {
  const std::vector<std::int32_t> cost = ItemStatCost(*ItemOf(item));
  if (!cost.empty() && cost[0] != 0) DamageCharacter(map, user, cost[0], user, item);
  Actor* a = CharacterOf(map, user);
  if (a == nullptr) return;
  for (std::size_t s = 1; s < cost.size() && s < a->statistics.size(); ++s)
    a->statistics[s].currentValue = ClampToLong(static_cast<std::int64_t>(a->statistics[s].currentValue) - cost[s]);
}

void ApplyToTarget(std::int32_t map, std::int32_t user, std::int32_t target, std::int32_t item) {
  const Item& it = *ItemOf(item);
  const std::int32_t flags = ItemFlags(it);
  if ((flags & kItemWholeParty) == 0) {
    if (target != user || (ItemProjectileCount(it) < 1 && ItemReach(it) < 1))
      ApplyItemEffect(map, item, target, -1, user);
    return;
  }
  const Actor* t = CharacterOf(map, target);
  if (t == nullptr) return;
  const std::int32_t owner = t->owningPlayer;
  if (owner < 0 || static_cast<std::size_t>(owner) >= projectState.players.size()) return;
  const std::size_t members = projectState.players[static_cast<std::size_t>(owner)].party.size();
  for (std::size_t k = 0; k < members; ++k) {
    const Player& player = projectState.players[static_cast<std::size_t>(owner)];
    if (k >= player.party.size()) break;
    const std::int32_t memberMap = player.mapIndex;
    const std::int32_t member = player.party[k].character;
    const Actor* m = CharacterOf(memberMap, member);
    if (m == nullptr || m->removed != 0) continue;
    const std::int32_t hp = m->statistics.empty() ? 0 : m->statistics[0].currentValue;
    const bool livingOk = (flags & kItemOnLiving) != 0 || hp <= 0;
    const bool deadOk = (flags & kItemOnDead) != 0 || hp > 0;
    if (livingOk && deadOk) ApplyItemEffect(memberMap, item, member, -1, -1);
  }
}

}  // namespace

void PlayItemEmptySound(std::int32_t, float x, float y, float z, std::int32_t item, std::int32_t) {
  if (const Item* it = ItemOf(item)) PlayItemSoundAt(ItemEmptySound(*it), x, y, z);
}

std::int32_t GetWeaponAmmo(std::int32_t map, std::int32_t character, std::int32_t item) {
  Actor& actor = CharacterForAmmo(map, character);
  const InventoryEntry* e = AmmoEntry(actor, item);
  if (e == nullptr) RaiseMissingAmmoItem(actor, item);
  return e->ammunition;
}

void SetWeaponAmmo(std::int32_t map, std::int32_t character, std::int32_t item, std::int32_t value) {
  Actor& actor = CharacterForAmmo(map, character);
  InventoryEntry* e = AmmoEntry(actor, item);
  if (e == nullptr) RaiseMissingAmmoItem(actor, item);
  const Item* it = ItemOf(item);
  const std::int32_t clip = it != nullptr ? ItemClipSize(*it) : 0;
  e->ammunition = value < 0 ? 0 : (value > clip ? std::max(clip, 0) : value);
}

void ReduceWeaponAmmo(std::int32_t map, std::int32_t character, std::int32_t item, std::int32_t area, float x,
                      float y, float z, std::int32_t amount) {
  const std::int32_t rounds = GetWeaponAmmo(map, character, item);
  const Item* it = ItemOf(item);
  if (it == nullptr) return;
  const std::int32_t clip = ItemClipSize(*it);
  std::int32_t change = amount;
  if (amount == 0) {
    if (rounds >= clip) return;
    const std::int32_t room = ClampToLong(static_cast<std::int64_t>(clip) - rounds);
    const Actor& actor = *CharacterOf(map, character);
    if (actor.owningPlayer < 0) {
      change = room;
    } else {
      const std::int32_t ammoItem = ItemAmmoItem(*it);
      std::int32_t none = 0;
      const std::int32_t taken =
          ChangePlayerItemCount(actor.owningPlayer, ammoItem >= 0 ? ammoItem : item, -room, none, false, false);
      change = taken < 0 ? -taken : 0;
    }
  }
  if (change == 0) {
    PlayItemEmptySound(map, x, y, z, item, character);
    return;
  }
  SetWeaponAmmo(map, character, item, ClampToLong(static_cast<std::int64_t>(rounds) + change));
  if (change > 0) {
    PlayItemSoundAt(ItemReloadSound(*it), x, y, z);
    if (Actor* actor = CharacterOf(map, character))
      if (InventoryEntry* slot = AreaEntry(*actor, area)) slot->fireWait = ItemReloadTime(*it);
  }
}

bool UseCharacterWeapon(std::int32_t map, std::int32_t user, std::int32_t target, std::int32_t item,
                        std::int32_t area, float angle, float rateFactor, bool exact) {
  const Item* it = ItemOf(item);
  Actor* a = CharacterOf(map, user);
  if (it == nullptr || a == nullptr) return false;
  if (area == -1) {
    for (std::size_t k = 0; k < a->equipment.size(); ++k)
      if (a->equipment[k].item == item) {
        area = static_cast<std::int32_t>(k);
        break;
      }
  }
  if (target >= 0 && !TargetAllowed(*it, map, target)) return false;
  if (!CostsAffordable(*it, *a)) return false;
  if (!SpendAmmunition(map, user, item, area)) return false;

  a = CharacterOf(map, user);
  if (a == nullptr) return false;
  if (InventoryEntry* slot = AreaEntry(*a, area)) {
    const double delay = static_cast<double>(rateFactor) * ItemFireDelay(*it);
    // A wait that ran below 0 shortens the next one.
    slot->fireWait = ClampToLong(RoundToLong(std::clamp(delay - slot->fireWait, -2147483648.0, 2147483647.0)));
    UseDelay(*a) = RoundToLong(std::clamp(delay, -2147483648.0, 2147483647.0));
    LastUsedArea(*a) = area;
  }
  PayCosts(map, user, item);
  if (CharacterOf(map, user) == nullptr) return false;
  LaunchProjectiles(map, item, user, -1, angle, rateFactor, exact);
  if (target >= 0) ApplyToTarget(map, user, target, item);
  return true;
}

void TryFireCharacterWeapon(std::int32_t map, std::int32_t character, std::int32_t area, float angle,
                            float rateFactor, bool exact, bool bypassPress) {
  Actor* a = CharacterOf(map, character);
  if (a == nullptr || a->z <= kLowestFiringZ) return;
  InventoryEntry* slot = AreaEntry(*a, area);
  if (slot == nullptr || slot->item < 0 || slot->fireWait > 0) return;
  const Item* it = ItemOf(slot->item);
  if (it == nullptr) return;
  if (PlayerLed(*a) || !bypassPress) {
    if (TriggerHeld(*slot) == 0) return;
    if (PressFired(*slot) != 0 && (ItemFlags(*it) & kItemAutomatic) == 0) return;
    PressFired(*slot) = 1;
  }
  if (UseCharacterWeapon(map, character, character, slot->item, area, angle, rateFactor, exact)) return;
  if (Actor* after = CharacterOf(map, character))
    if (InventoryEntry* s = AreaEntry(*after, area)) TriggerHeld(*s) = 0;
}

}  // namespace kiv
