#pragma once
// The selection of the actor property executor: identifier code to the
// handlers that serve it. Each family of properties lists its identifiers by
// name in a file of its own; actor_selection.cpp joins the families.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "commands/actor_call.h"
#include "commands/internal_selection.h"

namespace kiv {

using ActorHandler = void (*)(ActorCall& call);

// Phase 1 runs with the actor record at hand (reads, plain fields, checks);
// phase 2 runs the world operations that may move, add or remove actors.
// Either may be nullptr.
struct ActorProperty {
  std::string_view name;  // the fixed identifier
  ActorHandler phase1;
  ActorHandler phase2;
};

// The families (one file each).
std::span<const ActorProperty> ActorIdentityProperties();
std::span<const ActorProperty> ActorPositionProperties();
std::span<const ActorProperty> ActorMotionProperties();
std::span<const ActorProperty> ActorAppearanceProperties();
std::span<const ActorProperty> ActorItemProperties();
std::span<const ActorProperty> ActorStatisticProperties();

// The handlers of a code; nullptr when the executor does not serve it.
const ActorProperty* ActorPropertyFor(std::int32_t code);

// Every code the executor serves, with the kinds it serves it for.
std::vector<ServedIdentifier> ActorExecutorServes();

}  // namespace kiv
