#include "player/character_action.h"

#include <string>

#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "player/character_motion_steps.h"
#include "player/character_world.h"
#include "player/input_system.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "state/game_state.h"

namespace kiv {

namespace {

constexpr std::int32_t kOwnerSystemScript = 0;
constexpr std::int32_t kOwnerDoorScript = 5;
constexpr std::int32_t kDoorTextScript = 11;
constexpr std::int32_t kLockedDoorScript = 12;

ShapePlacement PlaceOf(const Actor& a) {
  return ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
}

ShapePlacement PointAt(float x, float y, float z) { return ShapePlacement{x, y, z}; }

void MarkActionUsed(const Actor& a) {
  if (Player* p = OwnerPlayer(Owner(a))) p->actionUsed = -1;
}

std::u16string TrimSpaces(const std::u16string& text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return u"";
  const auto last = text.find_last_not_of(u' ');
  return text.substr(first, last - first + 1);
}

bool HoldsItem(const std::vector<InventoryEntry>& list, std::int32_t item) {
  for (const InventoryEntry& e : list)
    if (e.item == item && InventoryStatus(e) >= 0) return true;
  return false;
}

bool MayOpen(const Actor& a, const Door& door) {
  const std::int32_t key = DoorKeyItem(door);
  if (Owner(a) < 0 || key == -1) return true;
  const Player* owner = OwnerPlayer(Owner(a));
  return (owner != nullptr && HoldsItem(owner->items, key)) || HoldsItem(a.equipment, key);
}

// Sets the first two parameters of a system script (when the game defines
// it) and runs it with the character and the door related.
void RunDoorSystemScript(const CharacterTurn& turn, std::int32_t slot, std::int32_t door,
                         const std::u16string& first, const std::u16string& second) {
  const Script& s = systemScripts[static_cast<std::size_t>(slot)];
  if (!s.hasStatements) return;
  if (s.index >= 0 && static_cast<std::size_t>(s.index) < scriptTable.scripts.size()) {
    auto& parameters = scriptTable.scripts[static_cast<std::size_t>(s.index)].frameTemplate.parameters;
    if (parameters.size() > 0) parameters[0].value = Variant::Text(first);
    if (parameters.size() > 1) parameters[1].value = Variant::Text(second);
  }
  TriggerRun run;
  run.ownerKind = kOwnerSystemScript;
  run.ownerIndex = slot;
  run.subIndex = 0;
  run.map = turn.map;
  run.relateActor = turn.actor;
  run.relateDoor = door;
  characterWorld.RunTrigger(run);
}

void ActOnDoors(const CharacterTurn& turn) {
  for (std::size_t d = 0; d < gameData.maps[turn.map].doors.size(); ++d) {
    const Actor* a = TurnActor(turn);
    if (a == nullptr) return;
    const Door& door = gameData.maps[turn.map].doors[d];
    if (door.Inactive() != 0) continue;
    if (!IntersectCollisionCollision(door.collisionShape, PointAt(door.x, door.y, door.z), ActionShape(*a),
                                     ShapePlacement{}))
      continue;
    const auto index = static_cast<std::int32_t>(d);
    TriggerRun use;
    use.ownerKind = kOwnerDoorScript;
    use.ownerIndex = index;
    use.subIndex = 0;
    use.map = turn.map;
    use.relateActor = turn.actor;
    use.relateDoor = index;
    characterWorld.RunTrigger(use);

    a = TurnActor(turn);
    if (a == nullptr || d >= gameData.maps[turn.map].doors.size()) return;
    const Door& used = gameData.maps[turn.map].doors[d];
    const std::u16string where = u"|" + gameData.maps[turn.map].fileName + u":" + used.name;
    const std::u16string text = TrimSpaces(DoorText(used));
    if (!MayOpen(*a, used)) {
      RunDoorSystemScript(turn, kLockedDoorScript, index, where, u"");
      if (const Actor* after = TurnActor(turn)) MarkActionUsed(*after);
    } else if (!text.empty()) {
      RunDoorSystemScript(turn, kDoorTextScript, index, text, where);
      if (const Actor* after = TurnActor(turn)) MarkActionUsed(*after);
    } else {
      characterWorld.OpenDoor(turn.map, index, a->heading, turn.actor);
    }
  }
}

void ActOnPickUps(const CharacterTurn& turn) {
  shell.activityStep = 9;
  for (std::size_t p = 0; p < gameData.maps[turn.map].pickUps.size(); ++p) {
    const Actor* a = TurnActor(turn);
    if (a == nullptr) return;
    PickUp& pickUp = gameData.maps[turn.map].pickUps[p];
    if (PickUpTakenTime(pickUp) < 0 || pickUp.Taken()) continue;
    if (!IntersectCollisionCollision(pickUp.collisionShape, PointAt(pickUp.x, pickUp.y, pickUp.z),
                                     ActionShape(*a), ShapePlacement{}))
      continue;
    characterWorld.TakePickUp(turn.map, turn.actor, static_cast<std::int32_t>(p));
    if (const Actor* after = TurnActor(turn)) MarkActionUsed(*after);
  }
}

void ActOnZones(const CharacterTurn& turn) {
  shell.activityStep = 8;
  for (std::size_t z = 0; z < gameData.maps[turn.map].zones.size(); ++z) {
    const auto index = static_cast<std::int32_t>(z);
    for (const std::int32_t event : {kEventZoneActionAbove, kEventZoneActionBeside}) {
      const Actor* a = TurnActor(turn);
      if (a == nullptr || z >= gameData.maps[turn.map].zones.size()) return;
      const Zone& zone = gameData.maps[turn.map].zones[z];
      if (ZoneInactive(zone) || !characterWorld.HasTriggerEvent(zone.triggers, event)) continue;
      const bool met =
          event == kEventZoneActionAbove
              ? IntersectCollisionCollision(a->collisionShape, PlaceOf(*a), zone.shape, ShapePlacement{})
              : IntersectCollisionCollision(zone.shape, ShapePlacement{}, ActionShape(*a), ShapePlacement{});
      if (!met) continue;
      characterWorld.RaiseObjectEvent(kOwnerZone, index, event, turn.map, turn.actor);
      if (const Actor* after = TurnActor(turn)) MarkActionUsed(*after);
    }
  }
}

void ActOnCharacters(const CharacterTurn& turn) {
  shell.activityStep = 7;
  for (std::size_t k = 0; k < gameData.maps[turn.map].actors.size(); ++k) {
    const Actor* a = TurnActor(turn);
    if (a == nullptr) return;
    const Actor& other = gameData.maps[turn.map].actors[k];
    if (other.removed != 0) continue;
    const auto index = static_cast<std::int32_t>(k);
    const bool dead = other.state == kStateDead;
    const std::int32_t event = dead ? kEventActorChecked : kEventActorAction;
    if (!characterWorld.HasTriggerEvent(other.triggers, event)) continue;
    if (!characterWorld.IsCharacterCollidable(turn.map, index, true)) continue;
    a = TurnActor(turn);
    if (a == nullptr || k >= gameData.maps[turn.map].actors.size()) return;
    const Actor& target = gameData.maps[turn.map].actors[k];
    const ShapePlacement at = PlaceOf(target);
    const bool met =
        IntersectCollisionCollision(target.collisionShape, at, ActionShape(*a), ShapePlacement{}) ||
        IntersectCollisionCollision(target.collisionShape, at, a->collisionShape, PlaceOf(*a)) ||
        (ReachCheck(target) != 0 &&
         IntersectCollisionCollision(target.collisionShape, at, ReachShape(*a), ShapePlacement{}));
    if (!met) continue;
    characterWorld.RaiseObjectEvent(kOwnerActor, index, event, turn.map, turn.actor);
    if (const Actor* after = TurnActor(turn)) MarkActionUsed(*after);
  }
}

void RunAction(const CharacterTurn& turn) {
  shell.activityStep = 10;
  const Actor* a = TurnActor(turn);
  const Player* owner = OwnerPlayer(Owner(*a));
  if (owner == nullptr || owner->actionUsed != -1) {
    // A player's character whose action source is negative keeps its shapes.
    if (!(Owner(*a) >= 0 && a->actionSource < 0)) characterWorld.ResetActorCollision(turn.map, turn.actor);
    ActOnDoors(turn);
    ActOnPickUps(turn);
    ActOnZones(turn);
    ActOnCharacters(turn);
  }
  if (Actor* after = TurnActor(turn)) ActionRequest(*after) = 0;
}

}  // namespace

void RunCharacterWeaponsAndAction(CharacterTurn& turn) {
  Actor* a = TurnActor(turn);
  if (a == nullptr || !turn.alive) return;
  if (!IsActive(*a)) {
    a->walkTime = 0;
    return;
  }
  if (DrivingAllowed(*a)) {
    for (std::size_t k = 0; k < a->equipment.size(); ++k) {
      characterWorld.TryFireCharacterWeapon(turn.map, turn.actor, static_cast<std::int32_t>(k), a->heading,
                                            1.0f, false, false);
      a = TurnActor(turn);
      if (a == nullptr) return;
    }
  }
  if (ActionRequest(*a) != 0) RunAction(turn);
  a = TurnActor(turn);
  if (a != nullptr && DetonateRequest(*a) == -1) DetonateRequest(*a) = 0;
}

void TakePickUpsByTouch(CharacterTurn& turn) {
  const Actor* a = TurnActor(turn);
  if (a == nullptr || Owner(*a) < 0 || !characterWorld.IsCharacterCollidable(turn.map, turn.actor, false))
    return;
  for (std::size_t p = 0; p < gameData.maps[turn.map].pickUps.size(); ++p) {
    a = TurnActor(turn);
    if (a == nullptr) return;
    const PickUp& pickUp = gameData.maps[turn.map].pickUps[p];
    if (pickUp.Taken()) continue;
    if (IntersectCollisionCollision(pickUp.collisionShape, PointAt(pickUp.x, pickUp.y, pickUp.z),
                                    a->collisionShape, PlaceOf(*a)))
      characterWorld.TakePickUp(turn.map, turn.actor, static_cast<std::int32_t>(p));
  }
}

}  // namespace kiv
