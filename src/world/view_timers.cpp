#include "world/view_timers.h"

#include <algorithm>
#include <limits>

namespace kiv {

namespace {

constexpr std::uint8_t kShowing = 2;

// Adds milliseconds without running past the largest Long.
std::int32_t Advance(std::int32_t time, std::int32_t elapsed) {
  const std::int64_t sum = static_cast<std::int64_t>(time) + elapsed;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// A shake or flash: starts over once it has passed its duration, and ends
// there unless it repeats.
void Cycle(std::int32_t& time, std::int32_t& duration, std::uint8_t repeat, std::int32_t elapsed) {
  if (duration <= 0) return;
  time = Advance(time, elapsed);
  if (time <= duration) return;
  time = 0;
  if (repeat == 0) duration = 0;
}

}  // namespace

void AdvanceViewTimers(FieldView& view, std::int32_t elapsed) {
  if (view.panning != 0) view.panElapsed = std::min(Advance(view.panElapsed, elapsed), view.panDuration);
  if (view.transitionMode != 0) {
    view.transitionElapsed = std::min(Advance(view.transitionElapsed, elapsed), view.transitionDuration);
    // A finished fade-in leaves the view plain; a finished fade-out keeps it hidden.
    if (view.transitionElapsed >= view.transitionDuration && view.transitionMode == kShowing) view.transitionMode = 0;
  }
  Cycle(view.shakeElapsed, view.shakeDuration, view.shakeRepeat, elapsed);
  Cycle(view.flashElapsed, view.flashDuration, view.flashRepeat, elapsed);
}

}  // namespace kiv
