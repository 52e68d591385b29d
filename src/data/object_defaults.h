#pragma once
// The appearance-slot names and the default records from which new map objects
// are made: copied by the actor readers, the legacy conversions and the
// boundary and zone readers. Game-data reset builds them.
#include <array>
#include <cstdint>

#include "core/record_codecs.h"
#include "data/actor_record.h"
#include "data/field_record.h"
#include "data/script_record.h"

namespace kiv {

inline constexpr std::size_t kAppearanceSlotCount = 12;

struct ObjectDefaults {
  // Symbol of each appearance slot's name (slot 10 has none: 0).
  std::array<std::int32_t, kAppearanceSlotCount> appearanceSlots{};
  // One rectangle -12, -8, 12, 16, 0, 64.
  CollisionShape collisionShape;
  // What an actor whose first appearance part shows no sprite set collides with.
  CollisionShape characterCollisionShape;
  // A script with one editor node "_Start" and no statements.
  Script script;
  Actor actor;
  Field field;
};
extern ObjectDefaults objectDefaults;

// Interns the slot names (the symbol table must hold the fixed identifiers)
// and builds the default records.
void BuildObjectDefaults();

}  // namespace kiv
