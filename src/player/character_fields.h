#pragma once
// The names under which the per-tick life of characters reads the fields that
// the stored records keep under their file names, the event codes it raises,
// and the working values of one character's turn.
#include <cstdint>

#include "data/actor_record.h"
#include "data/map_objects.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "data/item_fields.h"
#include "data/set_records.h"
#include "script/call_frame.h"
#include "state/project_settings_block.h"

namespace kiv {

// Event codes (symbol numbers of the fixed vocabulary).
inline constexpr std::int32_t kEventActorAction = 539;
inline constexpr std::int32_t kEventActorChecked = 543;
inline constexpr std::int32_t kEventActorTouchedSolid = 545;
inline constexpr std::int32_t kEventActorTouchedActor = 546;
inline constexpr std::int32_t kEventActorLeftActor = 547;
inline constexpr std::int32_t kEventActorWhileTouchedActor = 548;
inline constexpr std::int32_t kEventActorInterval = 554;
inline constexpr std::int32_t kEventActorCondition = 555;
inline constexpr std::int32_t kEventActorChanged = 556;
inline constexpr std::int32_t kEventActorCrossedMapEdge = 557;
inline constexpr std::int32_t kEventActorCrossedCameraEdge = 558;
inline constexpr std::int32_t kEventActorLeftEnteredMap = 559;
inline constexpr std::int32_t kEventActorLeftEnteredCamera = 560;
inline constexpr std::int32_t kEventActorMouseDown = 561;
inline constexpr std::int32_t kEventActorMouseUp = 565;
inline constexpr std::int32_t kEventActorProximityClose = 566;
inline constexpr std::int32_t kEventActorProximityFar = 567;
inline constexpr std::int32_t kEventZoneActionBeside = 568;
inline constexpr std::int32_t kEventZoneActionAbove = 569;
inline constexpr std::int32_t kEventZoneTouchedActor = 570;
inline constexpr std::int32_t kEventZoneLeftActor = 571;
inline constexpr std::int32_t kEventZoneMouseDown = 573;
inline constexpr std::int32_t kEventZoneMouseUp = 577;

// Owner kinds of raised events are the script engine's (kOwnerZone, kOwnerActor).

// Character states.
inline constexpr std::int32_t kStateNormal = 0;
inline constexpr std::int32_t kStateDying = 2;
inline constexpr std::int32_t kStateDead = 3;

// A heading range of a full turn: the heading is not limited.
inline constexpr float kFullTurn = 6.2831855f;
// A contact ends this many ms after it was last seen.
inline constexpr std::int32_t kTouchGrace = 100;

// Motion flags.
inline constexpr std::int32_t kMotionFloorMask = 3;
inline constexpr std::int32_t kMotionFlies = 4;
inline constexpr std::int32_t kMotionSinksBelowGround = 8;
inline constexpr std::int32_t kMotionClimbsAtAnySpeed = 0x10;
inline constexpr std::int32_t kMotionHovers = 0x20;
inline constexpr std::int32_t kMotionClimbsSteps = 0x40;

// Driving values: the vehicle block of the record.
inline float& DriveSpeed(Actor& a) { return a.velocity; }
inline float DriveSpeed(const Actor& a) { return a.velocity; }
inline float& Fuel(Actor& a) { return a.gas; }
inline float FuelCapacity(const Actor& a) { return a.maxGas; }
inline float MaxSpeed(const Actor& a) { return a.speed; }
inline float MinSpeed(const Actor& a) { return a.vehicleValue1; }  // the reverse limit, negative
inline float Acceleration(const Actor& a) { return a.vehicleValue2; }
inline float ClimbRate(const Actor& a) { return a.derivedValue1; }
inline float SinkRate(const Actor& a) { return a.derivedValue2; }
inline std::int32_t MotionFlags(const Actor& a) { return a.physicsFlags; }
inline float TurnRange(const Actor& a) { return a.arc; }
inline float MinHeading(const Actor& a) { return a.arcStart; }
inline float MaxHeading(const Actor& a) { return a.arcEnd; }

// Control inputs (-1..1), motion targets and the motor bytes, per axis 0 x, 1 y, 2 z.
inline float& DriveInput(Actor& a) { return a.keyForward; }
inline float& TurnInput(Actor& a) { return a.keyTurning; }
inline float& StrafeInput(Actor& a) { return a.keyStrafing; }
inline float& ClimbInput(Actor& a) { return a.keyRising; }
inline float& MotionTarget(Actor& a, int axis) {
  return axis == 0 ? a.movementX : axis == 1 ? a.movementY : a.movementZ;
}
inline std::uint8_t& Motor(Actor& a, int axis) { return a.movementFlags[static_cast<std::size_t>(axis)]; }
inline float& Velocity(Actor& a, int axis) { return axis == 0 ? a.velocityX : axis == 1 ? a.velocityY : a.velocityZ; }

// Identity and status.
inline std::int32_t Owner(const Actor& a) { return a.owningPlayer; }
inline std::int32_t PartySlot(const Actor& a) { return a.partyMember; }
inline bool IsActive(const Actor& a) { return a.canMove == 1; }
inline bool IsTurret(const Actor& a) { return a.turret == 1; }
inline bool IsAlive(const Actor& a) { return a.state != kStateDying && a.state != kStateDead; }
// Health: statistic 0's current value and maximum.
inline std::int32_t HealthCurrent(const Actor& a) { return a.statistics.empty() ? 0 : a.statistics[0].currentValue; }
inline std::int32_t HealthMaximum(const Actor& a) { return a.statistics.empty() ? 0 : a.statistics[0].baseValue; }

// Timers that the record keeps under other names.
inline std::int32_t& LifeTime(Actor& a) { return a.timeSinceHurt; }  // counts up, stopped while negative
inline std::int32_t& DyingTime(Actor& a) { return a.deathTimer; }
inline std::int32_t& AttackTime(Actor& a) { return a.attackTimer; }
inline std::int32_t& ScriptPoseTime(Actor& a) { return a.customPoseTime; }
inline std::int32_t& ForwardTime(Actor& a) { return a.risePoseTime; }
inline std::int32_t& BackwardTime(Actor& a) { return a.fallPoseTime; }

// Edge bytes.
inline std::uint8_t& InsideMap(Actor& a) { return a.inMap; }
inline std::uint8_t& CrossingMapEdge(Actor& a) { return a.inMapExtra; }
inline std::uint8_t& InsideCamera(Actor& a) { return a.inCamera; }
inline std::uint8_t& CrossingCameraEdge(Actor& a) { return a.inCameraExtra; }

// The action request (set by input and scripts), the detonate request of the
// equipment, and the shapes and flag that the world's ResetActorCollision builds.
inline std::int16_t& ActionRequest(Actor& a) { return a.actionValue; }
inline std::int16_t& DetonateRequest(Actor& a) { return a.detonationValue; }
inline const CollisionShape& ActionShape(const Actor& a) { return a.frontShape; }
inline const CollisionShape& ReachShape(const Actor& a) { return a.climbShape; }
inline std::int32_t ReachCheck(const Actor& a) { return a.canClimb; }

// The grid step in progress: direction 0..7 and pixels left, which the
// world's movement update sets.
inline std::int32_t& StepDirection(Actor& a) { return a.stepDirection; }
inline std::int32_t& StepLeft(Actor& a) { return a.stepLeft; }

// Whether the character has a walking path, a movement command, a one-shot
// command or a movement program.
inline bool HasPath(const Actor& a) { return !a.path.empty(); }
inline bool HasCommand(const Actor& a) { return a.autoMoveStyle != 0; }
inline bool HasOneShotCommand(const Actor& a) { return a.aiMoveCommand != 0; }
inline bool HasMovementProgram(const Actor& a) { return !a.route.empty(); }
inline bool HasMovementSource(const Actor& a) {
  return HasPath(a) || HasCommand(a) || HasOneShotCommand(a) || HasMovementProgram(a);
}

// An inventory entry counts as holding its item while this is 0 or more.
inline std::int32_t InventoryStatus(const InventoryEntry& e) { return e.quantity; }

// Map: the vertical ground limit (heights below 0 are blocked) and the force.
inline bool GroundLimitZ(const Map& m) { return m.flags[2] != 0; }
inline float MapForce(const Map& m, int axis) {
  return axis == 0 ? m.MapForceX() : axis == 1 ? m.MapForceY() : m.MapForceZ();
}

// Doors, pick-ups and zones.
inline const std::u16string& DoorText(const Door& d) { return d.text; }
inline std::int32_t DoorKeyItem(const Door& d) { return d.item; }
inline std::int32_t& PickUpTakenTime(PickUp& p) { return p.values2[0]; }  // 0 present, above 0 taken
inline bool ZoneInactive(const Zone& z) { return z.Disabled() != 0; }
inline std::uint8_t& ZoneMoved(Zone& z) { return z.saveByte; }
inline std::int32_t ZoneTargetMap(const Zone& z) { return z.target.index; }
inline std::int32_t ZoneTargetX(const Zone& z) { return z.targetValues[0]; }
inline std::int32_t ZoneTargetY(const Zone& z) { return z.targetValues[1]; }
inline std::int32_t ZoneTargetZ(const Zone& z) { return z.value1; }

// Option flags of the project that characters read (flag n at index n - 1).
inline bool ProjectOption(int n) { return storedProjectSettings.flags[static_cast<std::size_t>(n - 1)] != 0; }
inline bool FaceMotion() { return ProjectOption(5); }
inline bool OneSidedTouchEvents() { return ProjectOption(10); }
inline bool StepsIgnoreZones() { return ProjectOption(25); }
inline bool SolidOnVerticalOnly() { return ProjectOption(26); }
// Combat options: launch from the first holding point of pose 6; damage of
// area hits decided by system script 2; targets without hit points allowed.
inline bool SingleHoldPoint() { return ProjectOption(7); }
inline bool DamageByScript() { return ProjectOption(12); }
inline bool TargetAnyCharacter() { return ProjectOption(16); }

// The player record of an owner index, nullptr when there is none.
inline Player* OwnerPlayer(std::int32_t owner) {
  if (owner < 0 || static_cast<std::size_t>(owner) >= projectState.players.size()) return nullptr;
  return &projectState.players[static_cast<std::size_t>(owner)];
}

// The working values of one character's turn, shared by its steps.
struct CharacterTurn {
  std::int32_t map = -1;
  std::int32_t actor = -1;
  std::int32_t elapsed = 0;  // the tick's ms
  bool alive = true;
  bool touchedSolid = false;
  std::int32_t rememberedWalkTime = 0;
  bool departed = false;  // the character left the map during its turn (a zone carried it)
};

}  // namespace kiv
