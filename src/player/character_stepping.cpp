#include <cmath>
#include <cstdlib>

#include "core/math_util.h"
#include "player/character_motion_steps.h"
#include "player/character_world.h"

namespace kiv {

namespace {

constexpr float kClimbHeight = 4.0f;

// Moves the stored position d pixels in direction 0 (left) to 7, clockwise.
void StepBy(Actor& a, std::int32_t direction, float d) {
  static constexpr int kDx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  static constexpr int kDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};
  if (direction < 0 || direction > 7) return;
  a.x += static_cast<float>(kDx[direction]) * d;
  a.y += static_cast<float>(kDy[direction]) * d;
}

// The whole milliseconds left after a step that took `spent` of them: rounded
// down, so a finished step takes at least one. With a huge speed the share is
// too small to change the time in single precision, and a movement source
// that keeps giving steps would otherwise hold the tick for ever.
std::int32_t TimeAfterStep(std::int32_t timeLeft, float spent) {
  const float left = std::floor(static_cast<float>(timeLeft) - spent);
  if (!(left < static_cast<float>(timeLeft))) return timeLeft - 1;
  return left > 0.0f ? static_cast<std::int32_t>(left) : 0;
}

}  // namespace

bool RunGridStepping(CharacterTurn& turn, MotionWork& work) {
  CharacterWorldHooks& w = characterWorld;
  std::int32_t timeLeft = turn.elapsed;
  for (;;) {
    w.UpdateCharacterMovement(turn.map, turn.actor);
    Actor* a = TurnActor(turn);
    if (a == nullptr) return false;
    work.heading = a->heading;
    if (StepLeft(*a) < 1 || timeLeft < 1) return true;

    // The distance of this tick's share; a step that ends early hands the
    // rest of the time to the next command.
    const float speed = MaxSpeed(*a);
    float d = speed * static_cast<float>(timeLeft);
    if (d <= static_cast<float>(StepLeft(*a))) {
      timeLeft = 0;
    } else {
      d = static_cast<float>(StepLeft(*a));
      timeLeft = TimeAfterStep(timeLeft, d / speed);
    }

    const std::int32_t direction = StepDirection(*a);
    const bool recordZones = !StepsIgnoreZones();
    Box swept;
    const bool blocked =
        w.TestCharacterStep(turn.map, turn.actor, direction, d, swept, false, 0.0f, true, recordZones);
    bool climb = false;
    if (blocked && (MotionFlags(*a) & kMotionClimbsSteps) != 0)
      climb = !w.TestCharacterStep(turn.map, turn.actor, direction, d, swept, false, kClimbHeight, true,
                                   recordZones);
    if (blocked && !climb) return true;

    const std::int32_t oldX = RoundToLong(a->x);
    const std::int32_t oldY = RoundToLong(a->y);
    StepBy(*a, direction, d);
    // A diagonal step counts along x; only the vertical steps count along y.
    if (direction == 2 || direction == 6) {
      StepLeft(*a) -= std::abs(RoundToLong(a->y) - oldY);
    } else {
      StepLeft(*a) -= std::abs(RoundToLong(a->x) - oldX);
    }
    if (StepLeft(*a) < 1) {
      a->x = static_cast<float>(RoundToLong(a->x));
      a->y = static_cast<float>(RoundToLong(a->y));
    }

    if (StepLeft(*a) > 0 || HasMovementSource(*a)) {
      a->walkTime += turn.elapsed;
      a->idleTime = 0;
      turn.rememberedWalkTime = a->walkTime;
    } else {
      a->walkTime = 0;
    }

    w.UpdateCharacterFloorHeight(turn.map, turn.actor);
    a = TurnActor(turn);
    if (a == nullptr) return false;
    const float oldZ = a->z;
    if (a->z < a->floorHeight) a->z = a->floorHeight;
    if (climb) {
      const ShapePlacement at{a->x,       a->y,      a->z,      0.0f,     a->rotationY,
                              a->heading, a->scaleX, a->scaleY, a->scaleZ};
      if (w.TestActorMove(turn.map, a->collisionShape, at, turn.actor, -1, -1, false, false))
        a->z = oldZ + kClimbHeight;
    }
    work.x = a->x;
    work.y = a->y;
    work.z = a->z;
    a->moved = 1;
    w.ClearCharacterMotion(*a);
  }
}

}  // namespace kiv
