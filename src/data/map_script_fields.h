#pragma once
// Values of a map record that scripts address by name: the properties section
// keeps them under its letters (after the fog group: S, then the interface's
// pause state, then U).
#include <cstdint>

#include "data/map_record.h"

namespace kiv {

// Script Free: whether the map is free (a flag the game's scripts own).
inline std::uint8_t& MapFreeFlag(Map& m) { return m.mapByteS; }
// Script Alarm.
inline std::uint8_t& MapAlarm(Map& m) { return m.mapByteU; }
// Script Music: the sound index of the map's music, -1 none.
inline std::int32_t& MapMusic(Map& m) { return m.soundSet; }
// Script ChangeGravity: the map's force per axis.
inline float& MapGravityX(Map& m) { return m.mapValueAA; }
inline float& MapGravityY(Map& m) { return m.mapValueAB; }
inline float& MapGravityZ(Map& m) { return m.mapValueAC; }

}  // namespace kiv
