#pragma once

namespace kiv {

// Installs reference fix-up, field list upkeep, object removal and the field
// state operations into the world hooks.
void InstallWorldListUpkeepHooks();

}  // namespace kiv
