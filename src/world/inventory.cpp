#include "world/inventory.h"

#include <string>

#include "core/error.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "mathkiv/lists.h"
#include "world/long_arithmetic.h"

namespace kiv {

namespace {

std::int32_t FindEntry(const std::vector<InventoryEntry>& list, std::int32_t item) {
  for (std::size_t k = 0; k < list.size(); ++k) {
    if (list[k].item == item) return static_cast<std::int32_t>(k);
  }
  return -1;
}

// The item's ammunition item and clip size; an index outside the table has neither.
std::int32_t AmmoItemOf(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return -1;
  return ItemAmmoItem(gameData.items[static_cast<std::size_t>(item)]);
}

std::int32_t ClipSizeOf(std::int32_t item) {
  return ItemClipSize(gameData.items[static_cast<std::size_t>(item)]);
}

InventoryEntry NewEntry(std::int32_t item, std::int32_t quantity, std::int32_t ammo) {
  InventoryEntry entry;
  entry.item = item;
  entry.flag = kNewEntryCondition;
  entry.quantity = quantity;
  entry.ammunition = ammo;
  return entry;
}

}  // namespace

Player& PlayerAt(std::int32_t player) {
  if (player < 0 || static_cast<std::size_t>(player) >= projectState.players.size())
    RaiseError(kErrIndex, "Subscript out of range: player " + std::to_string(player) + ".");
  return projectState.players[static_cast<std::size_t>(player)];
}

void AddCharacterItem(std::int32_t map, std::int32_t character, std::int32_t item, std::int32_t quantity) {
  if (map < -1 || map > gameData.maps.LastIndex())
    RaiseError(kErrIndex, "Subscript out of range: map " + std::to_string(map) + ".");
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (character < 0 || static_cast<std::size_t>(character) >= actors.size())
    RaiseError(kErrIndex, "Subscript out of range: character " + std::to_string(character) + ".");
  Actor& actor = actors[static_cast<std::size_t>(character)];
  if (actor.owningPlayer >= 0) {
    std::int32_t ammo = 0;
    ChangePlayerItemCount(actor.owningPlayer, item, quantity, ammo, false, false);
    return;
  }
  std::int32_t k = FindEntry(actor.items, item);
  if (k < 0) {
    actor.items.push_back(NewEntry(item, 0, 0));
    k = static_cast<std::int32_t>(actor.items.size()) - 1;
  }
  InventoryEntry& entry = actor.items[static_cast<std::size_t>(k)];
  entry.quantity = AddLong(entry.quantity, quantity);
  if (entry.quantity <= 0) ArrayRemove(actor.items, k);
}

std::int32_t ChangePlayerItemCount(std::int32_t player, std::int32_t item, std::int32_t quantity,
                                   std::int32_t& ammo, bool atFront, bool refuseBelowZero) {
  std::vector<InventoryEntry>& inventory = PlayerAt(player).items;
  const std::int32_t first = FindEntry(inventory, item);
  if (first < 0) {
    if (quantity > 0) {
      // A new entry holds what was loaded; -1 (hand out) finds nothing to hand.
      if (ammo == -1) ammo = 0;
      const InventoryEntry entry = NewEntry(item, quantity, ammo);
      if (atFront) {
        inventory.insert(inventory.begin(), entry);
      } else {
        inventory.push_back(entry);
      }
      return quantity;
    }
    if (quantity < 0 && ammo == -1) ammo = 0;
    return 0;
  }
  // A recursive call below may change the list; the entry is looked up anew after it.
  std::int32_t k = first;
  auto entry = [&inventory, &k]() -> InventoryEntry& { return inventory[static_cast<std::size_t>(k)]; };
  const std::int32_t ammoItem = AmmoItemOf(item);
  if (ammo > 0) {
    entry().ammunition = AddLong(entry().ammunition, ammo);
    const std::int32_t clip = ClipSizeOf(item);
    if (ammoItem >= 0 && entry().ammunition > clip) {
      const std::int32_t surplus = CheckedLong(static_cast<std::int64_t>(entry().ammunition) - clip);
      entry().ammunition = clip;
      std::int32_t none = 0;
      ChangePlayerItemCount(player, ammoItem, surplus, none, false, false);
      k = FindEntry(inventory, item);
      if (k < 0) return 0;
    }
  } else if (ammo == -1) {
    ammo = entry().ammunition;
    entry().ammunition = 0;
  }
  const std::int64_t total = static_cast<std::int64_t>(entry().quantity) + quantity;
  if (refuseBelowZero && total < 0) return 0;
  entry().quantity = CheckedLong(total);
  if (entry().quantity >= 1) return quantity;
  const std::int32_t removed = CheckedLong(static_cast<std::int64_t>(quantity) - entry().quantity);
  const std::int32_t loaded = entry().ammunition;
  if (ammoItem >= 0 && loaded > 0) {
    std::int32_t none = 0;
    ChangePlayerItemCount(player, ammoItem, loaded, none, false, false);
    k = FindEntry(inventory, item);
  }
  if (k >= 0) ArrayRemove(inventory, k);
  return removed;
}

}  // namespace kiv
