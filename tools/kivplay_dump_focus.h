#pragma once
// kivplay's part on interface focus and the pointer: the player's interface,
// each shown interface's selected and cursor fields, and the pointer's hover
// and pressed targets at the last frame.
#include <nlohmann/json.hpp>

namespace kiv::harness {

// Records the focus and pointer state as it is now.
void CaptureInterfaceFocus();

// Adds what CaptureInterfaceFocus recorded to the dump ("focus").
void AddInterfaceFocusDump(nlohmann::json& dump);

}  // namespace kiv::harness
