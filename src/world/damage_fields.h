#pragma once
// The names that damage, death and item effects give to values the stored
// records keep under their file names, and the events they raise.
#include <cstdint>

#include "data/actor_record.h"
#include "data/project_state.h"
#include "data/spawn_record.h"

namespace kiv {

inline constexpr std::int32_t kEventActorKilled = 542;
inline constexpr std::int32_t kEventActorDamaged = 549;
inline constexpr std::int32_t kEventActorDamagedActor = 550;
inline constexpr std::int32_t kEventActorAttacked = 551;
inline constexpr std::int32_t kEventZoneDamagedActor = 572;
// System scripts: the damage of an area hit, and every party member down.
inline constexpr std::int32_t kDamageSystemScript = 2;
inline constexpr std::int32_t kPartyDownSystemScript = 8;
// The spawn script run when all its characters were killed.
inline constexpr std::int32_t kSpawnAllKilledScript = 3;

// Ms since the character was last hurt (0 on damage; negative: not counting).
inline std::int32_t& RecoverTime(Actor& a) { return a.timeSinceHurt; }
// Item-list entries of a character: percent chance to drop at death, pieces.
inline std::uint8_t DropChance(const InventoryEntry& e) { return e.flag; }
inline std::int32_t Quantity(const InventoryEntry& e) { return e.quantity; }

// The spawn that made the character, its deaths and the total it makes.
inline std::int32_t& KilledCount(Spawn& s) { return s.died; }
inline std::int32_t MaxTotal(const Spawn& s) { return s.count; }

}  // namespace kiv
