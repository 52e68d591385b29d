#pragma once
// A planned route whose next step was refused (something moved into the way,
// or the step test and the plan disagree) is planned again from where the
// walker stands, instead of offering the refused step for ever.
#include <cstdint>

namespace kiv {

enum class Replan { kNotARoute, kNewRoute, kNoRoute };

// When the move queue holds only what a path search stores (whole-cell steps
// in fixed directions, and a last facing), searches a fresh route from the
// walker's place to where the queue leads and stores it. kNoRoute leaves the
// queue as it was; kNewRoute may leave it empty when the walker is already in
// the destination's cell. The last search's path that scripts read is kept.
Replan ReplanRoute(std::int32_t map, std::int32_t character);

}  // namespace kiv
