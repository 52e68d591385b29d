#pragma once
// Loading one map or interface file into the maps table and preparing it for play.
#include <cstdint>
#include <string>

#include "core/byte_list.h"

namespace kiv {

inline constexpr int kErrLoadAborted = -5;

// Reads a whole map or interface file. Index -1 appends a new entry to maps;
// another index reloads that entry in place. A failed load leaves the table as
// it was: an appended entry is removed again and a reloaded entry keeps its old
// contents. Raises the reader's error, or -5 "Aborted while loading map." after
// a complete load when the game is closing.
void LoadMap(const ByteList& bytes, const std::u16string& name, std::int32_t index, bool prepare);

// Loads the package entry name + ".kui" (interface) or ".kmp" (map) and sets the
// loaded entry's is-interface flag. A missing entry raises -1
// "Map file "name" cannot be found." (or "Interface file ...").
void LoadMapFromPackage(const std::u16string& name, bool isInterface, std::int32_t index, bool prepare);

}  // namespace kiv
