#pragma once
// Boarding and leaving vehicles and turrets. Vehicles and turrets are actors
// of the map's character list; a rider links to its vehicle, an operator to
// its turret, and the vehicle or turret names its occupant as its driver. A
// broken precondition makes an operation do nothing.
#include <cstdint>

namespace kiv {

// Exit sides of a vehicle (its exit flags) and the drop from height.
inline constexpr std::int32_t kExitLeft = 1;
inline constexpr std::int32_t kExitFront = 2;
inline constexpr std::int32_t kExitRight = 4;
inline constexpr std::int32_t kExitBack = 8;
inline constexpr std::int32_t kExitDrop = 0x10;
// Pixels between a vehicle's side and the place where a rider gets out.
inline constexpr float kExitGap = 29.0f;

void EnterVehicle(std::int32_t map, std::int32_t character, std::int32_t vehicle, bool keepInputSets);
void EnterTurret(std::int32_t map, std::int32_t character, std::int32_t turret);
// character or vehicle may be -1: the other names it.
void ExitVehicle(std::int32_t map, std::int32_t character, std::int32_t vehicle, bool atVehicle,
                 bool keepInputSets);
void PlaceExitingCharacter(std::int32_t map, std::int32_t leader, std::int32_t member, std::int32_t vehicle,
                           float x0, float y0, float z0, float exitX, float exitY, bool atVehicle);
void ExitTurret(std::int32_t map, std::int32_t character, std::int32_t turret);

}  // namespace kiv
