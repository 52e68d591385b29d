#pragma once
// The characters' section of the kivplay dump: every actor of every map as the
// run left it (position, heading, state, moved and edge bytes) and the object
// events the Character System raised during the run.
#include <nlohmann/json.hpp>

namespace kivplay {

// Starts recording the raised events; call after start-up installed the world.
void InstallActorsDump();
// The section as the run left it.
nlohmann::json ActorsDump();

}  // namespace kivplay
