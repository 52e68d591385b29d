#include "world/doors_pickups.h"

#include "core/angles.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/map_object_readers.h"
#include "data/sprite_instance.h"
#include "data/sprite_set_queries.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "state/game_state.h"
#include "world/movement_fields.h"

namespace kiv {

namespace {

constexpr std::int32_t kDoorOpenedScript = 1;
constexpr std::uint32_t kPickUpShadowColour = 0x22000000;  // the Single 2^-59 as stored

float SwingOf(std::uint8_t style, float angle) {
  if (style == 3 || style == 5) return -1.0f;
  if (style == 1 || style == 2) {
    const float a = WrapAngle(angle);
    return a >= kPiOver4 && a <= kThreePiOver4 ? 1.0f : -1.0f;
  }
  return 1.0f;
}

Variant ItemName(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return Variant::Text(u"");
  return Variant::Text(gameData.items[static_cast<std::size_t>(item)].name);
}

Variant ItemCount(const InventoryEntry& entry) {
  return Variant::Long(entry.item >= 0 ? entry.quantity : 0);
}

// The registered copy of the pick-up script, nullptr when the game has none.
Script* PickUpScript() {
  const Script& slot = systemScripts[kPickUpSystemTrigger];
  if (!slot.hasStatements || slot.index < 0 || static_cast<std::size_t>(slot.index) >= scriptTable.scripts.size())
    return nullptr;
  return &scriptTable.scripts[static_cast<std::size_t>(slot.index)];
}

}  // namespace

void OpenDoor(std::int32_t map, std::int32_t door, float angle, std::int32_t opener) {
  if (map < -1 || map > gameData.maps.LastIndex()) return;
  std::vector<Door>& doors = gameData.maps[map].doors;
  if (door < 0 || static_cast<std::size_t>(door) >= doors.size()) return;
  Door& d = doors[static_cast<std::size_t>(door)];
  DoorOpener(d) = opener;
  if (d.openStyle == 0) return;
  DoorSwing(d) = SwingOf(d.openStyle, angle);
  TriggerRun run;
  run.ownerKind = kOwnerDoor;
  run.ownerIndex = door;
  run.subIndex = kDoorOpenedScript;
  run.map = map;
  run.relateActor = opener;
  scriptHooks.RunTrigger(run);
}

std::int32_t AddPickUp(std::int32_t map, float x, float y, float z, std::int32_t item, std::int32_t itemQuantity,
                       std::int32_t ammoQuantity, std::int32_t extraValue1, std::int64_t money,
                       std::int32_t extraValue2, std::int32_t spriteSet) {
  std::vector<PickUp>& list = gameData.maps[map].pickUps;
  list.emplace_back();
  PickUp& p = list.back();
  p.x = x;
  p.y = y;
  p.z = z;
  p.items[0].item = item;
  p.items[0].quantity = itemQuantity;
  p.items[1].quantity = ammoQuantity;
  std::int32_t ammo = -1;
  if (item >= 0 && static_cast<std::size_t>(item) < gameData.items.size())
    ammo = ItemAmmoItem(gameData.items[static_cast<std::size_t>(item)]);
  if (ammo >= 0) {
    p.items[1].item = ammo;
  } else {
    p.items[1].item = -1;
    p.items[1].quantity = 0;
  }
  PickUpExtraValue1(p) = extraValue1;
  p.money = money;
  PickUpExtraValue2(p) = extraValue2;
  p.spriteSet = spriteSet;
  p.flag1 = 1;
  p.flag2 = 1;
  PickUpAnimationRunning(p) = -1;
  p.color = kPickUpShadowColour;
  SetObjectSprite(p.sprite, spriteSet);
  SetObjectCollisionBox(p);
  return static_cast<std::int32_t>(list.size()) - 1;
}

void TakePickUp(std::int32_t map, std::int32_t character, std::int32_t pickUp) {
  if (map < -1 || map > gameData.maps.LastIndex()) return;
  std::vector<PickUp>& list = gameData.maps[map].pickUps;
  if (pickUp < 0 || static_cast<std::size_t>(pickUp) >= list.size()) return;
  PickUp& p = list[static_cast<std::size_t>(pickUp)];
  p.respawnCountdown = p.respawnTime != 0 ? p.respawnTime : kNeverRespawn;
  const bool hasSprite = p.spriteSet >= 0;
  if (hasSprite) {
    PickUpAnimationRunning(p) = 1;
    SetObjectSprite(p.sprite, p.spriteSet);
  }
  Script* script = PickUpScript();
  if (script == nullptr) return;
  const std::vector<Variant> values{Variant::Integer(hasSprite ? -1 : 0),
                                    ItemName(p.items[0].item),
                                    ItemCount(p.items[0]),
                                    ItemName(p.items[1].item),
                                    ItemCount(p.items[1]),
                                    Variant::CurrencyScaled(p.money),
                                    Variant::Long(PickUpExtraValue1(p)),
                                    Variant::Long(PickUpExtraValue2(p))};
  std::vector<ScriptVariable>& parameters = script->frameTemplate.parameters;
  for (std::size_t k = 0; k < values.size() && k < parameters.size(); ++k) parameters[k].value = values[k];
  TriggerRun run;
  run.ownerKind = kOwnerSystem;
  run.ownerIndex = kPickUpSystemTrigger;
  run.map = map;
  run.relateActor = character;
  run.relateItem = p.items[0].item;
  scriptHooks.RunTrigger(run);
}

void ExpireEffectAnimations(std::vector<Attachment>& list, std::int32_t elapsed) {
  for (std::size_t k = list.size(); k-- > 0;) {
    Attachment& entry = list[k];
    AttachmentElapsed(entry) += elapsed;
    if (AttachmentLoops(entry)) continue;
    if (AttachmentElapsed(entry) > SpriteSetDuration(entry.spriteSet)) list.erase(list.begin() + static_cast<std::ptrdiff_t>(k));
  }
}

}  // namespace kiv
