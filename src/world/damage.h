#pragma once
// All harm to characters: damage with death, drops, rewards and the floating
// number, and the damage of a shape that meets characters and zones.
#include <cstdint>

#include "core/record_codecs.h"
#include "data/actor_record.h"

namespace kiv {

// Kills even a character without hit points, and shows no number.
inline constexpr std::int32_t kKillDamage = 0x7FFFFDFF;

// attacker and item may be -1. Negative damage heals.
void DamageCharacter(std::int32_t map, std::int32_t actor, std::int32_t damage, std::int32_t attacker,
                     std::int32_t item);

// Shows the floating number over the character for 1500 ms, rising 0.28
// pixels per ms from its place, held within nine digits either way; a kill
// shows none, nor does 0 over a number still shown.
void ShowDamageNumber(Actor& character, std::int32_t damage);

// Hits every character the shape (placed at x, y, z with the rotation) meets,
// and raises the zone events of the zones it meets when there is an attacker.
// projectile: the map's projectile dealing it, -1 none. True when a solid
// character was hit, immune or not.
bool ApplyAreaDamage(std::int32_t map, const CollisionShape& shape, float x, float y, float z, float rotationX,
                     float rotationY, float rotationZ, std::int32_t attacker, std::int32_t damage,
                     std::int32_t item, std::int32_t projectile, bool hitFriends);

}  // namespace kiv
