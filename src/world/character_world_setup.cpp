#include "world/character_world_setup.h"

#include "player/character_world.h"
#include "script/trigger_dispatch.h"
#include "world/actor_pose.h"
#include "world/actor_shapes.h"
#include "world/character_motion.h"
#include "world/combat_targets.h"
#include "world/damage.h"
#include "world/doors_pickups.h"
#include "world/hit_lists.h"
#include "world/map_reload.h"
#include "world/map_systems.h"
#include "world/move_tests.h"
#include "world/movement_commands.h"
#include "world/object_resets.h"
#include "world/placement.h"
#include "world/reference_fixup.h"
#include "world/relations.h"
#include "world/weapons.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/item_fields.h"

namespace kiv {

void InstallCharacterWorldHooks() {
  CharacterWorldHooks& w = characterWorld;
  w.TestActorMove = [](std::int32_t map, const CollisionShape& shape, const ShapePlacement& placement,
                       std::int32_t self, std::int32_t ignoredActor, std::int32_t ignoredDoor,
                       bool collectHits, bool skipCharacters) {
    return TestActorMove(map, shape, placement, self, ignoredActor, ignoredDoor, collectHits, skipCharacters);
  };
  w.TestCharacterStep = [](std::int32_t map, std::int32_t actor, std::int32_t direction, float distance,
                           Box& swept, bool checkBounds, float heightChange, bool faceDirection,
                           bool collectHits) {
    return TestCharacterStep(map, actor, direction, distance, swept, checkBounds, heightChange, faceDirection,
                             collectHits);
  };
  w.ClearHitLists = [] { hitLists.Reset(); };
  w.HitList = [](std::int32_t list) -> const std::vector<std::int32_t>& {
    return list == kCharacterHitList ? hitLists.characterHits
           : list == kZoneHitList    ? hitLists.zoneHits
                                     : hitLists.doorHits;
  };
  w.ActorHeading = [](std::int32_t map, std::int32_t actor) { return ActorHeading(map, actor); };
  w.ResetActorCollision = [](std::int32_t map, std::int32_t actor) { ResetActorCollision(map, actor); };
  w.ActorCollisionRectAt = [](const Actor& actor, float x, float y, float z, float rx, float ry, float rz,
                              float sx, float sy, float sz, Box& box) {
    ActorCollisionRectAt(actor, x, y, z, rx, ry, rz, sx, sy, sz, box);
  };
  w.ActorCollisionRect = [](const Actor& actor, Box& box) { ActorCollisionRect(actor, box); };
  w.SetCharacterPosition = [](std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty,
                              bool skipMapTrigger) {
    return SetCharacterPosition(actor, fromMap, toMap, skipParty, skipMapTrigger);
  };
  w.UpdateCharacterFloorHeight = [](std::int32_t map, std::int32_t actor) {
    UpdateCharacterFloorHeight(map, actor);
  };
  w.IsCharacterCollidable = [](std::int32_t map, std::int32_t actor, bool allowDead) {
    return IsCharacterCollidable(map, actor, allowDead);
  };
  w.IsTeamHostile = [](std::int32_t a, std::int32_t b) { return IsTeamHostile(a, b); };
  w.CharacterMotionState = [](const Map& map, const Actor& actor) {
    return CharacterMotionState(map, actor);
  };
  w.UpdateCharacterMovement = [](std::int32_t map, std::int32_t actor) {
    UpdateCharacterMovement(map, actor);
  };
  w.OpenDoor = [](std::int32_t map, std::int32_t door, float angle, std::int32_t opener) {
    OpenDoor(map, door, angle, opener);
  };
  w.TakePickUp = [](std::int32_t map, std::int32_t actor, std::int32_t pickUp) {
    TakePickUp(map, actor, pickUp);
  };
  w.ExpireEffectAnimations = [](std::vector<Attachment>& list, std::int32_t elapsed) {
    ExpireEffectAnimations(list, elapsed);
  };
  w.SelectActorPose = [](std::int32_t map, const Actor& actor, std::int32_t spriteSet, std::int32_t tag,
                         std::int32_t direction, std::int32_t& pose, std::int32_t& poseTime) {
    SelectActorPose(map, actor, spriteSet, tag, direction, pose, poseTime);
  };
  w.ActorDrawDirection = [](const Actor& actor) { return ActorDrawDirection(actor); };
  w.RaiseObjectEvent = [](std::int32_t kind, std::int32_t object, std::int32_t event, std::int32_t map,
                          std::int32_t related) {
    ScriptRaiseObjectEvent(kind, object, event, map, related);
  };
  w.RunTrigger = [](const TriggerRun& run) { return ScriptRunTrigger(run); };
  w.HasTriggerEvent = [](const std::vector<Trigger>& triggers, std::int32_t eventCode) {
    return HasTriggerEvent(triggers, static_cast<std::int32_t>(triggers.size()) - 1, eventCode);
  };
  w.ShiftCharacterRefs = [](std::int32_t map, std::int32_t actor, std::int32_t delta, bool compacting) {
    ShiftCharacterRefs(map, actor, delta, compacting);
  };
  w.ShiftFieldRefs = [](std::int32_t map, std::int32_t field, std::int32_t delta, bool compacting) {
    ShiftFieldRefs(map, field, delta, compacting);
  };
  w.ReloadMap = [](std::int32_t map, bool skipEntryTrigger, bool spareNewestWait, bool loadFlag) {
    ReloadMap(map, skipEntryTrigger, spareNewestWait, loadFlag);
  };
  w.ClearCharacterMotion = [](Actor& actor) { ClearCharacterMotion(actor); };
  // Damage and speeds.
  w.ApproachSpeed = [](float input, float& velocity, float maxForward, float maxBackward, float accelForward,
                       float accelBackward, float decelForward, float decelBackward) {
    ApproachSpeed(input, velocity, maxForward, maxBackward, accelForward, accelBackward, decelForward,
                  decelBackward);
  };
  w.ApplyAreaDamage = [](std::int32_t map, const CollisionShape& shape, float x, float y, float z, float rotationX,
                         float rotationY, float rotationZ, std::int32_t attacker, std::int32_t damage,
                         std::int32_t item, std::int32_t projectile, bool hitFriends) {
    return ApplyAreaDamage(map, shape, x, y, z, rotationX, rotationY, rotationZ, attacker, damage, item, projectile,
                           hitFriends);
  };
  // Weapons: firing an equipment area, and the rounds a loaded weapon holds.
  w.TryFireCharacterWeapon = [](std::int32_t map, std::int32_t actor, std::int32_t area, float angle,
                                float rateFactor, bool exact, bool bypassPress) {
    TryFireCharacterWeapon(map, actor, area, angle, rateFactor, exact, bypassPress);
  };
  dataHooks.ItemAmmunitionCapacity = [](std::int32_t item) {
    if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return 0;
    return ItemClipSize(gameData.items[static_cast<std::size_t>(item)]);
  };
}

}  // namespace kiv
