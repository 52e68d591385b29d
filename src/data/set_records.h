#pragma once
// The set records that map loading looks up by identifier. Their readers fill
// the remaining fields.
#include "core/identifier.h"

namespace kiv {

struct TileSet {
  Identifier id;
};

struct SoundSet {
  Identifier id;
};

}  // namespace kiv
