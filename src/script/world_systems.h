#pragma once
// The two systems of the world update that drive the script engine each tick:
// the Call Back system resumes waiting scripts whose conditions are met, the
// Lerp system advances the timed changes. Both do nothing while a system menu
// is in charge.
#include <cstdint>

namespace kiv {

// gameTimeStep counts down the waits of maps, tickElapsed those of interfaces.
// Runs only while no script is on the call stack (as in the world update).
void RunCallBackSystem(std::int32_t gameTimeStep, std::int32_t tickElapsed);

// Each value is assigned from an empty scratch frame above the call-stack top.
// A change whose assignment fails is logged and dropped.
void RunLerpSystem(std::int32_t tickElapsed);

}  // namespace kiv
