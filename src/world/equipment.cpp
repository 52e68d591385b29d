#include "world/equipment.h"

#include <string>

#include "core/error.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "world/inventory.h"
#include "world/long_arithmetic.h"
#include "world/sprite_layers.h"

namespace kiv {

namespace {

// The character record; looked up anew after every script run, which may
// change the map's list.
Actor& CharacterAt(std::int32_t map, std::int32_t character) {
  if (map < -1 || map > gameData.maps.LastIndex())
    RaiseError(kErrIndex, "Subscript out of range: map " + std::to_string(map) + ".");
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (character < 0 || static_cast<std::size_t>(character) >= actors.size())
    RaiseError(kErrIndex, "Subscript out of range: character " + std::to_string(character) + ".");
  return actors[static_cast<std::size_t>(character)];
}

const Item& ItemAt(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size())
    RaiseError(kErrIndex, "Subscript out of range: item " + std::to_string(item) + ".");
  return gameData.items[static_cast<std::size_t>(item)];
}

InventoryEntry& AreaOf(Actor& actor, std::int32_t area) {
  if (area < 0 || static_cast<std::size_t>(area) >= actor.equipment.size())
    RaiseError(kErrIndex, "Subscript out of range: equipment area " + std::to_string(area) + ".");
  return actor.equipment[static_cast<std::size_t>(area)];
}

// Adds (sign 1) or takes away (sign -1) the item's modifier of every statistic.
void ApplyModifiers(Actor& actor, const Item& item, std::int32_t sign) {
  const std::vector<std::int32_t>& modifiers = ItemStatModifiers(item);
  for (std::size_t s = 0; s < actor.statistics.size() && s < modifiers.size(); ++s) {
    const std::int64_t change = static_cast<std::int64_t>(sign) * modifiers[s];
    StatisticValue& value = actor.statistics[s];
    value.baseValue = CheckedLong(value.baseValue + change);
    value.currentValue = CheckedLong(value.currentValue + change);
  }
}

void RunItemEvent(std::int32_t item, std::int32_t event, std::int32_t map, std::int32_t character) {
  TriggerRun run;
  run.ownerKind = kOwnerItem;
  run.ownerIndex = item;
  run.subIndex = event;
  run.map = map;
  run.relateActor = character;
  scriptHooks.RunTrigger(run);
}

}  // namespace

std::int32_t EquipItem(std::int32_t map, std::int32_t character, std::int32_t area, std::int32_t item,
                       bool atFront) {
  const std::int32_t previous = AreaOf(CharacterAt(map, character), area).item;
  if (previous >= 0) {
    Actor& actor = CharacterAt(map, character);
    const Item& old = ItemAt(previous);
    ApplyModifiers(actor, old, -1);
    InventoryEntry& slot = AreaOf(actor, area);
    if (actor.owningPlayer >= 0 && ItemNoInventory(old) == 0) {
      std::int32_t rounds = slot.ammunition;
      ChangePlayerItemCount(actor.owningPlayer, previous, 1, rounds, atFront, false);
    }
    slot.item = -1;
    slot.ammunition = 0;
    RunItemEvent(previous, kItemUnequippedEvent, map, character);
  }
  std::int32_t rounds = 0;
  if (item >= 0) {
    Actor& actor = CharacterAt(map, character);
    const Item& wanted = ItemAt(item);
    if (actor.owningPlayer >= 0 && ItemNoInventory(wanted) == 0) {
      rounds = -1;
      if (ChangePlayerItemCount(actor.owningPlayer, item, -1, rounds, false, false) == 0) {
        // The previous item has gone: its layers go with it before the error.
        RebuildSpriteLayers(actor);
        RaiseError(kErrData, "Player cannot equip the \"" + Utf16ToAnsi(wanted.name) +
                                 "\" because the player does not have it.");
      }
    }
  }
  Actor& actor = CharacterAt(map, character);
  InventoryEntry& slot = AreaOf(actor, area);
  slot.item = item;
  slot.ammunition = rounds;
  if (item >= 0) ApplyModifiers(actor, ItemAt(item), 1);
  RebuildSpriteLayers(actor);
  if (item >= 0) RunItemEvent(item, kItemEquippedEvent, map, character);
  return previous;
}

}  // namespace kiv
