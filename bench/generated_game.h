#pragma once
// Starting the generated game of the load and save benchmarks from its package
// held in memory, in the steps a new game takes.
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/map_references.h"
#include "media/sound_sets.h"

namespace kiv::bench {

// Opens the package in bytes with every table of the game emptied.
inline void OpenGeneratedGame(const ByteList& bytes) {
  package.packageEntries = PackageParse(bytes.data(), bytes.size(), kPackageOldNameLength);
  SymbolTableReset();
  gameData.Reset();
  soundSets.clear();
  ResetGameData();
}

// Loads the generated maps "Map0" to "Map<count - 1>" the way a reference to each does.
inline void ReachGeneratedMaps(std::int32_t count) {
  for (std::int32_t m = 0; m < count; ++m) {
    std::int32_t index = -2;
    const std::string number = std::to_string(m);
    std::u16string name = u"Map" + std::u16string(number.begin(), number.end());
    ResolveMapReference(index, name, Identifier(), false, true);
  }
}

}  // namespace kiv::bench
