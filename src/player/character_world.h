#pragma once
// The world operations that the per-tick life of characters calls: move
// tests and their hit lists, shapes, placement, weapons, damage, doors,
// pick-ups, poses, reference fix-up, map reload and the script events. The
// world library (above this one) provides them; start-up installs them, and
// tests install a small fake world instead. Every default does nothing and
// answers "free", "not collidable", 0 or -1.
#include <cstdint>
#include <functional>
#include <vector>

#include "core/geometry.h"
#include "core/record_codecs.h"
#include "core/variant.h"
#include "data/actor_record.h"
#include "data/map_record.h"
#include "mathkiv/placement.h"
#include "script/script_hooks.h"

namespace kiv {

// The three lists that a collecting move test appends to.
inline constexpr std::int32_t kCharacterHitList = 0;
inline constexpr std::int32_t kZoneHitList = 1;
inline constexpr std::int32_t kDoorHitList = 2;

struct CharacterWorldHooks {
  // Move tests. True = blocked. A collecting test appends to the hit lists.
  std::function<bool(std::int32_t map, const CollisionShape& shape, const ShapePlacement& placement,
                     std::int32_t self, std::int32_t ignoredActor, std::int32_t ignoredDoor, bool collectHits,
                     bool skipCharacters)>
      TestActorMove;
  std::function<bool(std::int32_t map, std::int32_t actor, std::int32_t direction, float distance, Box& swept,
                     bool checkBounds, float heightChange, bool faceDirection, bool collectHits)>
      TestCharacterStep;
  // Empties the three hit lists; HitList reads one of them (kCharacterHitList ...).
  std::function<void()> ClearHitLists;
  std::function<const std::vector<std::int32_t>&(std::int32_t list)> HitList;

  // Shapes and headings.
  std::function<float(std::int32_t map, std::int32_t actor)> ActorHeading;
  // Builds the action shape (frontShape) and the reach shape (climbShape) and
  // clears the reach flag (canClimb).
  std::function<void(std::int32_t map, std::int32_t actor)> ResetActorCollision;
  std::function<void(const Actor& actor, float x, float y, float z, float rotationX, float rotationY,
                     float rotationZ, float scaleX, float scaleY, float scaleZ, Box& box)>
      ActorCollisionRectAt;
  std::function<void(const Actor& actor, Box& box)> ActorCollisionRect;

  // Placement and relations.
  // Returns the character's index in toMap.
  std::function<std::int32_t(std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty,
                             bool skipMapTrigger)>
      SetCharacterPosition;
  std::function<void(std::int32_t map, std::int32_t actor)> UpdateCharacterFloorHeight;
  std::function<bool(std::int32_t map, std::int32_t actor, bool allowDead)> IsCharacterCollidable;
  std::function<bool(std::int32_t teamA, std::int32_t teamB)> IsTeamHostile;
  // -1, 0 or 1: the motion against the map's force.
  std::function<std::int32_t(const Map& map, const Actor& actor)> CharacterMotionState;

  // Movement sources and speeds.
  // Sets the step direction and the pixels left from path, commands and program.
  std::function<void(std::int32_t map, std::int32_t actor)> UpdateCharacterMovement;
  // Moves velocity toward input x the limit of its sign over the tick's time.
  std::function<void(float input, float& velocity, float maxForward, float maxBackward, float accelForward,
                     float accelBackward, float decelForward, float decelBackward)>
      ApproachSpeed;
  // Zeroes the three motion targets and the drive, turn, strafe and climb inputs.
  std::function<void(Actor& actor)> ClearCharacterMotion;

  // Combat.
  std::function<void(std::int32_t map, std::int32_t actor, std::int32_t area, float angle, float rateFactor,
                     bool exact, bool bypassPress)>
      TryFireCharacterWeapon;
  // True when a solid character was hit.
  std::function<bool(std::int32_t map, const CollisionShape& shape, float x, float y, float z, float rotationX,
                     float rotationY, float rotationZ, std::int32_t attacker, std::int32_t damage,
                     std::int32_t item, std::int32_t projectile, bool hitFriends)>
      ApplyAreaDamage;

  // Doors, pick-ups, attached animations.
  std::function<void(std::int32_t map, std::int32_t door, float angle, std::int32_t opener)> OpenDoor;
  std::function<void(std::int32_t map, std::int32_t actor, std::int32_t pickUp)> TakePickUp;
  std::function<void(std::vector<Attachment>& list, std::int32_t elapsed)> ExpireEffectAnimations;

  // Poses.
  std::function<void(std::int32_t map, const Actor& actor, std::int32_t spriteSet, std::int32_t tag,
                     std::int32_t direction, std::int32_t& pose, std::int32_t& poseTime)>
      SelectActorPose;
  std::function<std::int32_t(const Actor& actor)> ActorDrawDirection;

  // Triggers and events.
  // True when a trigger of the list has the event and a script.
  std::function<bool(const std::vector<Trigger>& triggers, std::int32_t eventCode)> HasTriggerEvent;
  // Runs the matching triggers of a zone (2) or character (3).
  std::function<void(std::int32_t ownerKind, std::int32_t object, std::int32_t eventCode, std::int32_t map,
                     std::int32_t relateActor)>
      RaiseObjectEvent;
  std::function<Variant(const TriggerRun& run)> RunTrigger;

  // List upkeep.
  std::function<void(std::int32_t map, std::int32_t actor, std::int32_t delta, bool compacting)>
      ShiftCharacterRefs;
  std::function<void(std::int32_t map, std::int32_t field, std::int32_t delta, bool compacting)> ShiftFieldRefs;
  std::function<void(std::int32_t map, bool skipEntryTrigger, bool spareNewestWait, bool loadFlag)> ReloadMap;

  CharacterWorldHooks() { Reset(); }
  void Reset();
};

extern CharacterWorldHooks characterWorld;

}  // namespace kiv
