#pragma once
// Reader of tile-set files (".kts").
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Tile sets from this version on load; older ones (down to the header's
// minimum) are the editor's own and are refused.
inline constexpr std::int32_t kFirstLoadableTileSet = 100775;

// Reads a whole tile-set file into gameData.tileSets[index] (which must
// exist), corrects the tiles of older files and raises the largest tile cell
// size. defaultKind is for files that store no kind; every loadable file
// stores one. Failures are raised; what was read before stays in the record.
void ReadTileSet(const ByteList& buffer, std::int32_t defaultKind, std::int32_t index);

}  // namespace kiv
