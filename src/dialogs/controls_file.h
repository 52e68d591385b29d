#pragma once
// "controls.dat" in the user's folder of the game: the user's own bindings,
// one controls block with no header.
#include <string>

namespace kiv {

inline constexpr const char* kControlsFileName = "controls.dat";

// Writes the controls block as the named file of the user's game folder
// (through a temporary file and a rename). Errors propagate.
void SaveControlsFile(const std::string& fileName);

// Run at start after the project state set the controls: a "controls.dat"
// with the project's stamp replaces the bindings; one with another stamp is
// deleted; an empty one is left alone. A damaged file raises and leaves the
// table and the stamp as they were.
void LoadControlsFile();

}  // namespace kiv
