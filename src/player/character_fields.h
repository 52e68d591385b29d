#pragma once
// The names the Character System gives to actor, zone and field members that
// the stored records keep under their file names, and the event codes it raises.
#include <cstdint>
#include <vector>

#include "data/actor_record.h"
#include "data/field_record.h"
#include "data/lists.h"
#include "data/map_objects.h"
#include "data/set_records.h"

namespace kiv {

// A remove mark that removes even while a waiting script names the object.
inline constexpr std::int32_t kForcedRemoveMark = 0x7FFFFDFF;

// Run-time members of a saved actor, by the order the save stores them.
inline std::int32_t& RemoveMark(Actor& a) { return a.furtherActor2; }
inline std::int32_t RemoveMark(const Actor& a) { return a.furtherActor2; }
inline std::int32_t& RiddenVehicle(Actor& a) { return a.vehicleRidden; }   // vehicle ridden, -1 none
inline std::int32_t& DrivenVehicle(Actor& a) { return a.turretOperated; }  // turret operated, -1 none
inline std::uint8_t& ActiveByte(Actor& a) { return a.canMove; }            // 1 drives, fires and acts
inline std::int32_t& TickFlags(Actor& a) { return a.stateValue; }          // bit 0 counts as moved
inline std::uint8_t& MovedByte(Actor& a) { return a.airborneExtra; }       // 1 moved this tick
inline std::uint8_t& IntervalRepeat(Actor& a) { return a.flashing; }
inline std::int32_t& IntervalElapsed(Actor& a) { return a.flashValues[1]; }
inline std::int32_t& Interval(Actor& a) { return a.flashValues[2]; }
inline std::int32_t& ScriptPose(Actor& a) { return a.pose; }  // symbol, 0 none
inline std::int32_t& ScriptPoseDuration(Actor& a) { return a.poseValue; }  // negative: unlimited
inline std::int32_t& LifeTime(Actor& a) { return a.timeSinceHurt; }        // stopped while negative
inline std::uint8_t& InsideMap(Actor& a) { return a.inMap; }
inline std::uint8_t& CrossingMapEdge(Actor& a) { return a.inMapExtra; }
inline std::uint8_t& InsideCamera(Actor& a) { return a.inCamera; }
inline std::uint8_t& CrossingCameraEdge(Actor& a) { return a.inCameraExtra; }
// The grid step in progress: pixels left.
inline std::int32_t StepLeft(const Actor& a) { return a.moveCommand[1]; }

// The sprite sets shown over a character that can be acted on, and over one
// that can be checked (state 3).
inline std::int32_t ActionSpriteOf(const Actor& a) { return a.furtherReferences[0].index; }
inline std::int32_t CheckedSpriteOf(const Actor& a) { return a.furtherReferences[1].index; }
// The byte that is 1 for a character standing on the floor, the only kind that
// acts and is driven by its player's input.
inline std::uint8_t KindByte(const Actor& a) { return a.groundState; }

// A zone's moved byte is the byte saves carry after its triggers.
inline std::uint8_t& ZoneMoved(Zone& z) { return z.saveByte; }
// A field's removal mark: -1 stays, 0 or more leaves at the end of the map's turn.
inline std::int32_t& FieldRemoveMark(Field& f) { return f.spawner; }

// An item's melee reaches in pixels, beside its attack time.
inline std::int32_t ItemReachForward(const Item& item) { return item.valueK; }
inline std::int32_t ItemReachBackward(const Item& item) { return item.valueL; }
inline std::int32_t ItemReachSideways(const Item& item) { return item.valueM; }

// Event codes (symbol numbers) of the actor and zone triggers raised here.
inline constexpr std::int32_t kEventActorAction = 539;
inline constexpr std::int32_t kEventActorChecked = 543;
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
inline constexpr std::int32_t kEventZoneMouseDown = 573;
inline constexpr std::int32_t kEventZoneMouseUp = 577;

// True when the list holds a trigger of the event whose script is present.
inline bool HasTriggerEvent(const std::vector<Trigger>& triggers, std::int32_t event) {
  for (const Trigger& t : triggers)
    if (t.event == event && t.script.hasStatements) return true;
  return false;
}

}  // namespace kiv
