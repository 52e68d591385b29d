#pragma once
// The names that movement, vehicles, pick-ups and attached animations give to
// fields that the stored records keep under their file names.
#include <cstdint>

#include "data/actor_record.h"
#include "data/door_fields.h"
#include "data/lists.h"
#include "data/map_objects.h"

namespace kiv {

// The running step: direction, pixels left, the actor it may touch.
inline std::int32_t& StepDirection(Actor& a) { return a.stepDirection; }
inline std::int32_t& StepRemaining(Actor& a) { return a.stepLeft; }
inline std::int32_t& StepTarget(Actor& a) { return a.stepTarget; }
inline std::int32_t StepRemaining(const Actor& a) { return a.stepLeft; }

// Exit sides of a vehicle (left 1, front 2, right 4, back 8, drop 0x10).
inline std::int32_t VehicleExitSides(const Actor& a) { return a.vehicleValue15; }
// The steering values of a vehicle or turret; the turn comes first.
inline float& TurnDirection(Actor& a) { return a.keyTurning; }
inline float& VerticalSpeed(Actor& a) { return a.velocityZ; }
// Actor flag that keeps the state when a wrecked vehicle is left.
inline constexpr std::int32_t kKeepStateFlag = 4;

// An action trigger whose script byte is set takes the character from its AI.
inline bool TriggerActionOverride(const Trigger& t) { return t.script.runOnce != 0; }

// Attached animations: ms shown so far, and the byte that keeps them looping.
inline std::int32_t& AttachmentElapsed(Attachment& a) { return a.valueA; }
inline bool AttachmentLoops(const Attachment& a) { return a.byteE != 0; }

// Pick-up fields by their run-time names.
inline std::int32_t& PickUpExtraValue1(PickUp& p) { return p.values3[0]; }
inline std::int32_t& PickUpExtraValue2(PickUp& p) { return p.values3[1]; }
inline std::int32_t& PickUpAnimationRunning(PickUp& p) { return p.runValue; }

}  // namespace kiv
