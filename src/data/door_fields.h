#pragma once
// The names that the world update and movement give to door fields that the
// stored record keeps under its file names.
#include <cstdint>

#include "data/map_objects.h"

namespace kiv {

// The character that opened the door (its user), -1 none.
inline std::int32_t& DoorOpener(Door& d) { return d.value7; }
// The open amount the door moves towards (-1..1).
inline float& DoorSwing(Door& d) { return d.openAmount2; }
// Ms the door stays fully open before it closes; 0 or less: it stays open.
inline std::int32_t& DoorStayOpenTime(Door& d) { return d.value6; }
// Ms left before an open door starts to close.
inline std::int32_t& DoorOpenTimeLeft(Door& d) { return d.openTimeLeft; }
// Where a door that opens fully puts its user: map index (-1 none) and pixels.
inline std::int32_t& DoorExitMap(Door& d) { return d.target.index; }
inline std::int32_t& DoorExitX(Door& d) { return d.targetValues[0]; }
inline std::int32_t& DoorExitY(Door& d) { return d.targetValues[1]; }
inline std::int32_t& DoorExitZ(Door& d) { return d.value5; }

}  // namespace kiv
