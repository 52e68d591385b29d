#pragma once
// The names that weapons, combat behaviour and turret aim give to the actor
// and equipment fields that the stored records keep under their file names.
#include <cstdint>

#include "data/actor_record.h"

namespace kiv {

// Events raised on a character that finds or loses an enemy.
inline constexpr std::int32_t kEventSawEnemy = 540;
inline constexpr std::int32_t kEventLostEnemy = 541;

// The enemy the character attacks, -1 none.
inline std::int32_t& AIFocusActor(Actor& a) { return a.aiFocus; }
inline std::int32_t AIFocusActor(const Actor& a) { return a.aiFocus; }
// Pixels within which targets are sought (the turret block's range).
inline std::int32_t SightRange(const Actor& a) { return a.turretRange; }
// Full width of the field of view in radians; for a turret also how far a
// target may drift from its heading before it is lost.
inline float ViewArc(const Actor& a) { return a.arc; }
// The rate factor passed when the behaviour fires (it also scales the attack pose).
inline float FireRate(const Actor& a) { return a.speedFactor; }
// Non-zero: always targets the current player's character when it is hostile.
inline std::uint8_t HuntsPlayer(const Actor& a) { return a.designByte; }
// The point the character returns to and the heading it takes there.
inline std::int32_t GotoX(const Actor& a) { return a.gridX; }
inline std::int32_t GotoY(const Actor& a) { return a.gridY; }
inline float HomeHeading(const Actor& a) { return a.gridHeading; }
// A turret's turning (-1, 0, +1) while it has no target.
inline std::int32_t IdleTurn(const Actor& a) { return a.turningKey; }
// The ms of the last use's delay and the equipment area it used.
inline std::int32_t& UseDelay(Actor& a) { return a.attackTimer; }
inline std::int32_t& LastUsedArea(Actor& a) { return a.attackArea; }

// Equipment entry: the fire control is held, this press already fired.
inline std::uint8_t& TriggerHeld(InventoryEntry& e) { return e.flag; }
inline std::uint8_t& PressFired(InventoryEntry& e) { return e.pressFired; }

}  // namespace kiv
