#pragma once
// The scripts section of the kivplay dump: the game's global variables,
// switches, collections and tables as the scripts left them, and the error
// log the scripts wrote.
#include <nlohmann/json.hpp>

namespace kivplay {

// Takes the section as it is now (at the last frame, before the game ends).
void CaptureScripts();
nlohmann::json ScriptsDump();

}  // namespace kivplay
