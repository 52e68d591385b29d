#pragma once
// What the whole-game fuzz targets share: the sample game's package entries,
// a clean start for every input, and the two ways a game is loaded (the
// inspector's load of a package and a player's start of the sample game).
#include <cstddef>
#include <string>
#include <vector>

#include "core/package.h"

namespace kiv::fuzz {

// The sample game's entries, parsed once.
const std::vector<PackageEntry>& SampleEntries();

// The indexes of the entries the package target may replace: every one whose
// reader starts with the resource header (all but "DATA.INI").
const std::vector<std::size_t>& ReplaceableEntries();

// Empties every table and hook and runs the player's start-up again, so that
// no input sees what the one before it left.
void ResetWholeGame();

// Loads the entries as the inspector loads a package: the project state, every
// set kind, the interfaces, then every map. Raises what the loaders raise.
bool LoadWholePackage(const std::vector<PackageEntry>& entries);

// The sample game as a new game starts: project state, sets, interfaces and both maps.
bool StartSampleGame();

// A file path of this process's own for the input being run.
std::string ScratchPath(const char* name);

}  // namespace kiv::fuzz
