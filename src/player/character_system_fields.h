#pragma once
// The further names the Character System gives to actor, item and field
// members that the stored records keep under their file names.
#include <cstdint>

#include "data/actor_record.h"
#include "data/field_record.h"
#include "data/set_records.h"

namespace kiv {

// A remove mark that removes even while a waiting script names the object.
inline constexpr std::int32_t kForcedRemoveMark = 0x7FFFFDFF;

// Run-time members of a saved actor, by the place the save gives them.
inline std::int32_t& RemoveMark(Actor& a) { return a.furtherActor2; }  // -1 stays, 0 or more leaves
inline std::int32_t RemoveMark(const Actor& a) { return a.furtherActor2; }
inline std::int32_t RiddenVehicle(const Actor& a) { return a.vehicleRidden; }   // -1 none
inline std::int32_t DrivenVehicle(const Actor& a) { return a.turretOperated; }  // -1 none
inline std::uint8_t& IntervalRepeat(Actor& a) { return a.flashing; }
inline std::int32_t& IntervalElapsed(Actor& a) { return a.flashValues[1]; }
inline std::int32_t& Interval(Actor& a) { return a.flashValues[2]; }
inline std::int32_t& ScriptPose(Actor& a) { return a.pose; }               // symbol, 0 none
inline std::int32_t& ScriptPoseDuration(Actor& a) { return a.poseValue; }  // negative: unlimited

// The sprite sets shown over a character that can be acted on, and over one
// that can be checked (state 3).
inline std::int32_t ActionSpriteOf(const Actor& a) { return a.furtherReferences[0].index; }
inline std::int32_t CheckedSpriteOf(const Actor& a) { return a.furtherReferences[1].index; }
// The byte that is 1 for a character standing on the floor, the only kind that
// acts and is driven by its player's input.
inline std::uint8_t KindByte(const Actor& a) { return a.groundState; }


// A field's removal mark: -1 stays, 0 or more leaves at the end of the map's turn.
inline std::int32_t& FieldRemoveMark(Field& f) { return f.removeMark; }

}  // namespace kiv
