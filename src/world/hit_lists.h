#pragma once
// The objects that the last collecting move test touched. Callers empty a list
// before a test that collects; the tests only append.
#include <cstdint>
#include <vector>

namespace kiv {

struct HitLists {
  std::vector<std::int32_t> characterHits;  // CharacterHits
  std::vector<std::int32_t> zoneHits;       // ZoneHits
  std::vector<std::int32_t> doorHits;       // DoorHits

  void Reset() { *this = HitLists(); }
};

extern HitLists hitLists;

}  // namespace kiv
