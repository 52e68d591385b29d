#pragma once
// A spawn point of a map: the character it copies, its timer and counters,
// and its four event scripts. Actors that carry an interface keep copies of
// its spawns, so the record stands apart from the other map objects.
#include <array>
#include <cstdint>
#include <string>

#include "data/script_record.h"

namespace kiv {

inline constexpr std::size_t kSpawnScriptCount = 4;

struct Spawn {
  std::u16string name;
  std::u16string displayName;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::array<Script, kSpawnScriptCount> scripts;
  std::uint8_t paused = 0;
  std::int32_t delay = 0;     // ms the spawn timer must reach
  std::int32_t interval = 1;  // at least 1
  std::int32_t count = 0;
  std::int32_t simultaneous = 0;  // live spawned actors at most; 0 no limit
  std::int32_t proximity = 0;     // map units; 0 anywhere
  std::int32_t linkedActor = -1;
  std::int32_t time = 0;
  std::int32_t born = 0;
  std::int32_t died = 0;
  std::int32_t departedCount = 0;  // spawned characters that left the map; run time, not stored
};

}  // namespace kiv
