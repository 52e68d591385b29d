#pragma once
// The 16-byte name of every set, template, map and object across files.
// All sixteen bytes 0 means "no identifier". Stored in files as its raw bytes.
#include <array>
#include <cstdint>

namespace kiv {

struct Identifier {
  std::array<std::uint8_t, 16> bytes{};

  friend bool operator==(const Identifier&, const Identifier&) = default;
};
static_assert(sizeof(Identifier) == 16);

bool IdEquals(const Identifier& a, const Identifier& b);
bool IdIsEmpty(const Identifier& id);
void IdCopy(Identifier& destination, const Identifier& source);
// Sixteen fresh bytes from the shared generator; no uniqueness check.
void IdNewRandom(Identifier& id);
void IdFill(Identifier& id, std::uint8_t value);

}  // namespace kiv
