#include "player/character_world.h"

namespace kiv {

CharacterWorldHooks characterWorld;

namespace {
const std::vector<std::int32_t> kNoHits;
}  // namespace

void CharacterWorldHooks::Reset() {
  TestActorMove = [](std::int32_t, const CollisionShape&, const ShapePlacement&, std::int32_t, std::int32_t,
                     std::int32_t, bool, bool) { return false; };
  TestCharacterStep = [](std::int32_t, std::int32_t, std::int32_t, float, Box&, bool, float, bool, bool) {
    return false;
  };
  ClearHitLists = [] {};
  HitList = [](std::int32_t) -> const std::vector<std::int32_t>& { return kNoHits; };
  ActorHeading = [](std::int32_t, std::int32_t) { return 0.0f; };
  ResetActorCollision = [](std::int32_t, std::int32_t) {};
  ActorCollisionRectAt = [](const Actor&, float, float, float, float, float, float, float, float, float, Box& box) {
    box = Box{};
  };
  ActorCollisionRect = [](const Actor&, Box& box) { box = Box{}; };
  SetCharacterPosition = [](std::int32_t actor, std::int32_t, std::int32_t, bool, bool) { return actor; };
  UpdateCharacterFloorHeight = [](std::int32_t, std::int32_t) {};
  IsCharacterCollidable = [](std::int32_t, std::int32_t, bool) { return false; };
  IsTeamHostile = [](std::int32_t, std::int32_t) { return false; };
  CharacterMotionState = [](const Map&, const Actor&) { return 0; };
  UpdateCharacterMovement = [](std::int32_t, std::int32_t) {};
  ApproachSpeed = [](float, float&, float, float, float, float, float, float) {};
  ClearCharacterMotion = [](Actor&) {};
  TryFireCharacterWeapon = [](std::int32_t, std::int32_t, std::int32_t, float, float, bool, bool) {};
  ApplyAreaDamage = [](std::int32_t, const CollisionShape&, float, float, float, float, float, float, std::int32_t,
                       std::int32_t, std::int32_t, std::int32_t, bool) { return false; };
  OpenDoor = [](std::int32_t, std::int32_t, float, std::int32_t) {};
  TakePickUp = [](std::int32_t, std::int32_t, std::int32_t) {};
  ExpireEffectAnimations = [](std::vector<Attachment>&, std::int32_t) {};
  SelectActorPose = [](std::int32_t, const Actor&, std::int32_t, std::int32_t, std::int32_t, std::int32_t& pose,
                       std::int32_t& poseTime) {
    pose = 0;
    poseTime = 0;
  };
  ActorDrawDirection = [](const Actor&) { return 0; };
  HasTriggerEvent = [](const std::vector<Trigger>&, std::int32_t) { return false; };
  RaiseObjectEvent = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {};
  RunTrigger = [](const TriggerRun&) { return Variant(); };
  ShiftCharacterRefs = [](std::int32_t, std::int32_t, std::int32_t, bool) {};
  ShiftFieldRefs = [](std::int32_t, std::int32_t, std::int32_t, bool) {};
  ReloadMap = [](std::int32_t, bool, bool, bool) {};
}

}  // namespace kiv
