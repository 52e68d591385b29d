#pragma once
// Reloading a map from its file while the game runs: the ties that scripts
// and players have to it are cut first, the players on it are parked off the
// map and brought back after the load.
#include <cstdint>

namespace kiv {

// Bits of a map's pendingReload byte.
inline constexpr std::uint8_t kReloadRequested = 1;
inline constexpr std::uint8_t kReloadSkipEntryTrigger = 2;
inline constexpr std::uint8_t kReloadLoadFlag = 4;

// With spareNewestWait (a deferred reload) the newest waiting script survives
// when the project asks deferred reloads to wait. skipEntryTrigger keeps the
// map's entry trigger from running when the players come back; loadFlag is
// passed on to the map loading.
void ReloadMap(std::int32_t map, bool skipEntryTrigger, bool spareNewestWait, bool loadFlag);

// True when the project lets a script that reloads its own map wait for the
// deferred reload (option flag 17).
bool DeferredReloadWait();

}  // namespace kiv
