#pragma once
// The names that reference fix-up, object removal and map reload give to the
// index fields of actors and projectiles that the stored records keep under
// their file names. Each link is one accessor, so that a record member that
// is renamed later is followed here in one line.
#include <cstdint>
#include <vector>

#include "data/actor_record.h"
#include "data/map_objects.h"

namespace kiv {

// The character the combat behaviour has in sight and focuses on.
inline std::int32_t& EnemyInSight(Actor& a) { return a.aiFocus; }
// The character the running step may touch.
inline std::int32_t& MoveTargetActor(Actor& a) { return a.stepTarget; }
// Who damaged the character last, and whom it damaged last.
inline std::int32_t& LastAttacker(Actor& a) { return a.lastDamaged; }
inline std::int32_t& LastVictim(Actor& a) { return a.lastAttacked; }
// The character it follows.
inline std::int32_t& LeaderActor(Actor& a) { return a.targetActor; }
// The spawn that made the character.
inline std::int32_t& SpawnedBy(Actor& a) { return a.spawn; }
// 0 or more: the world update takes the slot out of the list (the save's first run-time Long).
inline std::int32_t& RemoveMark(Actor& a) { return a.furtherActor2; }

// The character that fired a projectile and the zone it is in.
inline std::int32_t& FiringActor(Projectile& p) { return p.owner; }
inline std::int32_t& ProjectileZone(Projectile& p) { return p.currentZone; }

}  // namespace kiv
