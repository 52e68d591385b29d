#pragma once
// How many gates (numbered results) a custom event has.
#include <cstdint>

namespace kiv {

// The event's own gate count when it is 1 or more; else the template value of
// the first script parameter whose type begins with "GATES:" (any letter
// case); else 1. An index outside the custom events counts as an event
// without gates (1).
std::int32_t CustomEventGateCount(std::int32_t customEvent);

}  // namespace kiv
