// Direction, motion controls, velocities, physics and the vehicle controls of
// actors.
#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "data/game_data.h"

namespace kiv {

namespace {

void Heading(ActorCall& call) { call.BindAngle(call.Record().heading); }
void RotationY(ActorCall& call) { call.BindAngle(call.Record().rotationY); }

constexpr ActorProperty kMotion[] = {
    {"DirectionAngle", Heading, nullptr},
    {"Rotation", Heading, nullptr},
    {"DirectionAngleY", RotationY, nullptr},
};

}  // namespace

std::span<const ActorProperty> ActorMotionProperties() { return kMotion; }

}  // namespace kiv
