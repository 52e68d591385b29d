#pragma once
// kivplay's part on the message boxes and notices: the input script's line
// that opens the save or load menu, and their state at the last frame.
#include <nlohmann/json.hpp>
#include <string>

namespace kiv::harness {

// "save" or "load": opens that slot menu as the game's save and load
// commands do. False for any other word.
bool OpenMenuFromScript(const std::string& which);

// Records messageBoxState, the shown boxes and the notices as they are now.
void CaptureBoxes();

// Adds what CaptureBoxes recorded to the dump ("messageBoxes").
void AddBoxesDump(nlohmann::json& dump);

}  // namespace kiv::harness
