#include "core/identifier.h"

#include <algorithm>

#include "core/random.h"

namespace kiv {

bool IdEquals(const Identifier& a, const Identifier& b) { return a.bytes == b.bytes; }

bool IdIsEmpty(const Identifier& id) {
  return std::all_of(id.bytes.begin(), id.bytes.end(), [](std::uint8_t b) { return b == 0; });
}

void IdCopy(Identifier& destination, const Identifier& source) { destination.bytes = source.bytes; }

void IdNewRandom(Identifier& id) {
  for (std::uint8_t& b : id.bytes) {
    b = static_cast<std::uint8_t>(RandomNext() * 256.0);
  }
}

void IdFill(Identifier& id, std::uint8_t value) { id.bytes.fill(value); }

}  // namespace kiv
