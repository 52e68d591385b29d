// Position of actors: placing them, transfer to another map, paths, memorized
// positions and collision tests at a supposed place.
#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "data/game_data.h"
#include "world/placement.h"

namespace kiv {

namespace {

void X(ActorCall& call) { call.slot.BindSingle(call.Record().x); }
void Y(ActorCall& call) { call.slot.BindSingle(call.Record().y); }
void Z(ActorCall& call) { call.slot.BindSingle(call.Record().z); }

// A stored coordinate moves the actor's floor with it.
void UpdateFloor(ActorCall& call) {
  if (call.Assigning()) UpdateCharacterFloorHeight(call.map, call.index);
}

constexpr ActorProperty kPosition[] = {
    {"X", X, UpdateFloor},
    {"Y", Y, UpdateFloor},
    {"Z", Z, UpdateFloor},
};

}  // namespace

std::span<const ActorProperty> ActorPositionProperties() { return kPosition; }

}  // namespace kiv
