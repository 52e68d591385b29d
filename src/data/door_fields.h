#pragma once
// The names that the world update and movement give to door fields that the
// stored record keeps under its file names.
#include <cstdint>

#include "data/map_objects.h"

namespace kiv {

// How the door looks, by where the record keeps it: the byte after the
// display name is Face, then the colour (ARGB) and the specular colour, then
// the texture cell of the door set (column 0..7, row); after the position
// the shadow flag, shadow colour and shadow second colour; after the door
// set the no-draw byte and the no-rectangle byte (Door::Inactive).
inline std::uint8_t& DoorFace(Door& d) { return d.byte1; }
inline std::int32_t& DoorColour(Door& d) { return d.value1; }
inline std::uint32_t DoorColour(const Door& d) { return static_cast<std::uint32_t>(d.value1); }
inline std::int32_t& DoorSpecular(Door& d) { return d.value2; }
inline std::uint32_t DoorSpecular(const Door& d) { return static_cast<std::uint32_t>(d.value2); }
inline std::uint8_t& DoorTileX(Door& d) { return d.byte2; }
inline std::uint8_t DoorTileX(const Door& d) { return d.byte2; }
inline std::uint8_t& DoorTileY(Door& d) { return d.byte3; }
inline std::uint8_t DoorTileY(const Door& d) { return d.byte3; }
inline std::uint8_t& DoorCastsShadow(Door& d) { return d.byte4; }
inline bool DoorCastsShadow(const Door& d) { return d.byte4 != 0; }
inline std::int32_t& DoorShadowColour(Door& d) { return d.value3; }
inline std::uint32_t DoorShadowColour(const Door& d) { return static_cast<std::uint32_t>(d.value3); }
inline std::uint32_t DoorShadowSecondColour(const Door& d) { return static_cast<std::uint32_t>(d.value4); }
inline std::uint8_t& DoorNoDraw(Door& d) { return d.byte5; }
inline bool DoorNoDraw(const Door& d) { return d.byte5 != 0; }

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
