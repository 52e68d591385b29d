// An actor's items and equipment and the use of its weapons. A character of
// no player carries its own item list; a player's character shares the
// player's inventory and has its member's magic.
#include <string>
#include <vector>

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "core/error.h"
#include "core/math_util.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_value_ops.h"
#include "world/equipment.h"
#include "world/inventory.h"
#include "world/long_arithmetic.h"
#include "world/party_operations.h"
#include "world/weapons.h"

namespace kiv {

namespace {

[[noreturn]] void Refuse(const std::string& message) { RaiseError(kErrData, message); }

std::int32_t ItemArgument(const ActorCall& call, std::int32_t argument) {
  return VarToLong(ScriptLookupItem(call.ArgumentText(argument), true, false).value);
}

const Item& ItemRecord(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size())
    RaiseError(kErrIndex, "Subscript out of range: item " + std::to_string(item) + ".");
  return gameData.items[static_cast<std::size_t>(item)];
}

// The equipment area named by an argument; error 9 past the actor's slots.
std::int32_t AreaArgument(const ActorCall& call, std::int32_t argument) {
  const std::int32_t area = VarToLong(ScriptLookupEquipmentArea(call.ArgumentText(argument), true).value);
  if (area < 0 || static_cast<std::size_t>(area) >= call.Record().equipment.size())
    RaiseError(kErrIndex, "Subscript out of range: equipment area " + std::to_string(area) + ".");
  return area;
}

// The list the actor's items are held in: its own, or its player's.
std::vector<InventoryEntry>& HeldItems(const ActorCall& call) {
  Actor& actor = call.Record();
  if (actor.owningPlayer < 0) return actor.items;
  return PlayerAt(actor.owningPlayer).items;
}

// The member's magic list, nullptr for a character of no player.
std::vector<InventoryEntry>* MemberMagic(const ActorCall& call) {
  const Actor& actor = call.Record();
  if (actor.owningPlayer < 0) return nullptr;
  Player& player = PlayerAt(actor.owningPlayer);
  if (actor.partyMember < 0 || static_cast<std::size_t>(actor.partyMember) >= player.party.size())
    RaiseError(kErrIndex, "Subscript out of range: party member " + std::to_string(actor.partyMember) + ".");
  return &player.party[static_cast<std::size_t>(actor.partyMember)].magic;
}

Variant NameArray(const std::vector<std::u16string>& names) {
  std::vector<Variant> elements;
  elements.reserve(names.size());
  for (const std::u16string& name : names) elements.push_back(Variant::Text(name));
  return Variant::Array(kVarString, std::move(elements));
}

// Names of the entries holding an item (of the area, when area is not -2).
void CollectNames(const std::vector<InventoryEntry>& list, std::int32_t area, std::vector<std::u16string>& names) {
  for (const InventoryEntry& entry : list) {
    if (entry.item < 0 || static_cast<std::size_t>(entry.item) >= gameData.items.size()) continue;
    const Item& item = gameData.items[static_cast<std::size_t>(entry.item)];
    if (area != -2 && ItemHoldingArea(item) != area) continue;
    names.push_back(item.name);
  }
}

std::int32_t HeldCount(const std::vector<InventoryEntry>& list, std::int32_t item) {
  for (const InventoryEntry& entry : list) {
    if (entry.item == item) return entry.quantity;
  }
  return 0;
}

void AddItem(ActorCall& call) {
  const std::int32_t item = ItemArgument(call, 0);
  const std::int32_t quantity = call.HasArgument(1) ? call.ArgumentLong(1) : 1;
  AddCharacterItem(call.map, call.index, item, quantity);
}

void ItemInventoryCount(ActorCall& call) {
  const std::int32_t item = ItemArgument(call, 0);
  const std::int32_t held = HeldCount(HeldItems(call), item);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(held));
    return;
  }
  const std::int32_t change = CheckedLong(static_cast<std::int64_t>(VarToLong(call.value)) - held);
  AddCharacterItem(call.map, call.index, item, change);
}

void ItemCount(ActorCall& call) {
  if (call.Assigning()) Refuse("You cannot change the item count directly this way. Use Add/Remove Item.");
  call.Answer(Variant::Long(CountCharacterItem(call.map, call.index, ItemArgument(call, 0))));
}

void ItemClip(ActorCall& call) {
  const std::int32_t item = ItemArgument(call, 0);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(GetWeaponAmmo(call.map, call.index, item)));
    return;
  }
  SetWeaponAmmo(call.map, call.index, item, VarToLong(call.value));
}

void ItemProbability(ActorCall& call) {
  const std::int32_t item = ItemArgument(call, 0);
  Actor& actor = call.Record();
  if (actor.owningPlayer >= 0) {
    if (call.Assigning()) Refuse("You cannot change the item probability for a playable character.");
    call.Answer(Variant::Byte(0));
    return;
  }
  for (InventoryEntry& entry : actor.items) {
    if (entry.item != item) continue;
    call.BindByte(entry.flag);
    call.byteLower = 0;
    call.byteUpper = 100;
    return;
  }
  const std::string what = "the item \"" + Utf16ToAnsi(ItemRecord(item).name) + "\" as the character \"" +
                           Utf16ToAnsi(actor.name) + "\" does not have it.";
  Refuse((call.Assigning() ? "You cannot change the probability of " : "You cannot get the probability of ") + what);
}

void Items(ActorCall& call) {
  std::vector<std::u16string> names;
  CollectNames(HeldItems(call), -2, names);
  call.Answer(NameArray(names));
}

void ItemsForEquipment(ActorCall& call) {
  const std::int32_t area = VarToLong(ScriptLookupEquipmentArea(call.ArgumentText(0), true).value);
  std::vector<std::u16string> names;
  CollectNames(HeldItems(call), area, names);
  if (std::vector<InventoryEntry>* magic = MemberMagic(call)) CollectNames(*magic, area, names);
  call.Answer(NameArray(names));
}

void ItemTotalWeight(ActorCall& call) {
  std::int64_t total = 0;
  for (const InventoryEntry& entry : HeldItems(call)) {
    if (entry.item < 0 || static_cast<std::size_t>(entry.item) >= gameData.items.size()) continue;
    total += static_cast<std::int64_t>(entry.quantity) * ItemWeight(gameData.items[static_cast<std::size_t>(entry.item)]);
  }
  call.Answer(Variant::Long(CheckedLong(total)));
}

void Magic(ActorCall& call) {
  std::vector<std::u16string> names;
  if (call.Record().owningPlayer >= 0) CollectNames(*MemberMagic(call), -2, names);
  call.Answer(NameArray(names));
}

void Ammo(ActorCall& call) {
  const std::int32_t count = CountAmmo(call.map, call.index, ItemArgument(call, 0));
  call.Answer(count == -1 ? Variant::Text(u"") : Variant::Long(count));
}

// Phase 1 checks the names and slots; phase 2 changes the world.
void EquipCheck(ActorCall& call) {
  call.keptNumber = AreaArgument(call, 0);
  call.kept[0] = static_cast<float>(ItemArgument(call, 1));
}

void Equip(ActorCall& call) {
  const std::int32_t item = ItemArgument(call, 1);
  if (call.HasArgument(2) && call.ArgumentBoolean(2)) AddCharacterItem(call.map, call.index, item, 1);
  EquipItem(call.map, call.index, call.keptNumber, item, false);
}

void AreaCheck(ActorCall& call) { call.keptNumber = AreaArgument(call, 0); }

void EquipSequential(ActorCall& call) {
  EquipNextInArea(call.map, call.index, call.keptNumber, call.ArgumentBoolean(1));
}

void Unequip(ActorCall& call) {
  const std::int32_t previous = EquipItem(call.map, call.index, call.keptNumber, -1, false);
  if (previous >= 0 && call.HasArgument(1) && call.ArgumentBoolean(1))
    AddCharacterItem(call.map, call.index, previous, -1);
}

void Equipment(ActorCall& call) {
  if (call.Assigning()) Refuse("You cannot directly access equipment this way. Use Equip/Unequip.");
  const std::int32_t area = AreaArgument(call, 0);
  const std::int32_t item = call.Record().equipment[static_cast<std::size_t>(area)].item;
  call.Answer(Variant::Text(item < 0 ? u"" : ItemRecord(item).name));
}

void EquipmentAction(ActorCall& call) {
  InventoryEntry& slot = call.Record().equipment[static_cast<std::size_t>(AreaArgument(call, 0))];
  // A new request fires afresh.
  if (call.Assigning()) slot.pressFired = 0;
  call.slot.BindBoolean(slot.flag);
}

void EquipmentDetonate(ActorCall& call) { call.Record().detonationValue = -1; }

void Reload(ActorCall& call, std::int32_t amount) {
  const std::int32_t area = call.keptNumber;
  const Actor& actor = call.Record();
  const std::int32_t item = actor.equipment[static_cast<std::size_t>(area)].item;
  if (item < 0) return;
  ReduceWeaponAmmo(call.map, call.index, item, area, static_cast<float>(RoundToLong(actor.x)),
                   static_cast<float>(RoundToLong(actor.y)), static_cast<float>(RoundToLong(actor.z)), amount);
}

void EquipmentReload(ActorCall& call) { Reload(call, 0); }

void EquipmentReloadManual(ActorCall& call) {
  const std::int32_t amount = call.ArgumentLong(1);
  if (amount != 0) Reload(call, amount);
}

void UseWeapon(ActorCall& call) {
  const Actor& actor = call.Record();
  const std::int32_t item = actor.equipment.empty() ? -1 : actor.equipment[0].item;
  const float angle = ScriptConvertRotation(call.Argument(0), true);
  UseCharacterWeapon(call.map, call.index, call.index, item, 0, angle, 1.0f, call.ArgumentBoolean(1));
}

// Resolves the target by the reference's family: any actor for kind 31,
// characters otherwise.
std::int32_t TargetArgument(const ActorCall& call) {
  const std::u16string text = call.ArgumentText(0);
  if (call.kind == kObjectActor) return VarToLong(ScriptResolveActor(text, call.map, true, false).value);
  return VarToLong(ScriptResolveCharacter(text, call.map, true, false).value);
}

void UseOn(ActorCall& call, bool give) {
  const std::int32_t item = ItemArgument(call, 1);
  if (give && call.ArgumentBoolean(4)) AddCharacterItem(call.map, call.index, item, 1);
  if (call.kind != kObjectActor && call.kind != kObjectCharacter) return;
  const std::int32_t target = TargetArgument(call);
  const float angle = ScriptConvertRotation(call.Argument(2), true);
  UseCharacterWeapon(call.map, call.index, target, item, -1, angle, 1.0f, call.ArgumentBoolean(3));
}

void UseItem2(ActorCall& call) { UseOn(call, true); }
void UseMagic(ActorCall& call) { UseOn(call, false); }

constexpr ActorProperty kItems[] = {
    {"AddItem", nullptr, AddItem},
    {"ItemInventoryCount", nullptr, ItemInventoryCount},
    {"ItemCount", ItemCount, nullptr},
    {"ItemClip", nullptr, ItemClip},
    {"ItemProbability", ItemProbability, nullptr},
    {"Items", Items, nullptr},
    {"ItemsForEquipment", ItemsForEquipment, nullptr},
    {"ItemTotalWeight", ItemTotalWeight, nullptr},
    {"Magic", Magic, nullptr},
    {"Ammo", Ammo, nullptr},
    {"Equip", EquipCheck, Equip},
    {"EquipSequential", AreaCheck, EquipSequential},
    {"Unequip", AreaCheck, Unequip},
    {"Equipment", Equipment, nullptr},
    {"EquipmentAction", EquipmentAction, nullptr},
    {"EquipmentDetonate", EquipmentDetonate, nullptr},
    {"EquipmentReload", AreaCheck, EquipmentReload},
    {"EquipmentReloadManual", AreaCheck, EquipmentReloadManual},
    {"UseItem", nullptr, UseWeapon},
    {"UseWeapon", nullptr, UseWeapon},
    {"UseItem2", nullptr, UseItem2},
    {"UseMagic", nullptr, UseMagic},
};

}  // namespace

std::span<const ActorProperty> ActorItemProperties() { return kItems; }

}  // namespace kiv
