#pragma once
// Reader of sprite-set files (".ksp").
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

inline constexpr std::int32_t kMinSpriteSetVersion = 100300;
// Oldest sprite-set layout that loads; older files are refused with error 9.
inline constexpr std::int32_t kFirstLoadableSpriteSet = 100728;

// Reads a whole sprite-set file into gameData.spriteSets[index] (which must
// exist) and derives its built frames, mirror masks and summary. Failures are
// raised; what was read before stays in the record.
void ReadSpriteSet(const ByteList& buffer, std::int32_t index);

}  // namespace kiv
