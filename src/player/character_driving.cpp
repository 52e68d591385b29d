#include <cmath>

#include "core/math_util.h"
#include "player/character_motion_steps.h"
#include "player/character_world.h"

namespace kiv {

namespace {

constexpr float kMinPower = 0.6666667f;
constexpr float kQuarterTurn = 1.5707964f;

float Sgn(float v) { return v > 0.0f ? 1.0f : v < 0.0f ? -1.0f : 0.0f; }

// Lower bound first, then upper, so that a reversed pair ends at the upper.
float Bound(float v, float low, float high) {
  if (v < low) v = low;
  if (v > high) v = high;
  return v;
}

// Health share, lowered further by a tank less than a third full, never below two thirds.
float PowerFactor(const Actor& a) {
  float f = 1.0f;
  if (HealthMaximum(a) > 0) {
    f = static_cast<float>(HealthCurrent(a)) / static_cast<float>(HealthMaximum(a));
    if (FuelCapacity(a) > 0.0f) f *= Bound(a.gas * 3.0f / FuelCapacity(a), 0.0f, 1.0f);
  }
  return Bound(f, kMinPower, 1.0f);
}

float TurnAmount(const Actor& a, float drive, float t) {
  const float maxSpeed = MaxSpeed(a);
  if (Acceleration(a) == 0.0f) return a.turnRate * t;
  const float s = std::fabs(drive);
  float turn;
  if (s < maxSpeed / 3.0f) {
    turn = drive * t * a.turnRate;
  } else if (s <= maxSpeed * 2.0f / 3.0f) {
    turn = Sgn(drive) * (maxSpeed - s) * t * a.turnRate;
  } else {
    turn = Sgn(drive) * (maxSpeed * 2.0f / 3.0f * t) * a.turnRate;
  }
  return turn > kQuarterTurn ? kQuarterTurn : turn;
}

void Steer(Actor& a, MotionWork& work, float t) {
  work.heading = TurnAmount(a, DriveSpeed(a), t) * TurnInput(a) + a.heading;
  if (TurnRange(a) == kFullTurn) return;
  const bool atMax = work.heading > MaxHeading(a);
  const bool atMin = work.heading < MinHeading(a);
  if (atMin) work.heading = MinHeading(a);
  if (atMax) work.heading = MaxHeading(a);
  // An unmanned turret sweeps between its limits.
  if (IsTurret(a) && a.driver == -1) {
    if (atMax && TurnInput(a) == 1.0f) TurnInput(a) = -1.0f;
    if (atMin && TurnInput(a) == -1.0f) TurnInput(a) = 1.0f;
  }
}

void Climb(const Actor& a, MotionWork& work, float t) {
  const std::int32_t flags = MotionFlags(a);
  const bool hovers = (flags & kMotionHovers) != 0;
  if (DriveSpeed(a) > MaxSpeed(a) / 3.0f || (flags & kMotionClimbsAtAnySpeed) != 0) {
    if (a.keyRising == 1.0f) {
      work.z += t * ClimbRate(a);
    } else if (a.keyRising == -1.0f) {
      work.z -= t * ClimbRate(a);
    } else if (!hovers) {
      work.z -= SinkRate(a) * t;
    }
  } else if (!hovers) {
    work.z -= SinkRate(a) * t;
  }
  const std::int32_t mode = flags & kMotionFloorMask;
  if (mode == 1 || (mode == 2 && (flags & kMotionSinksBelowGround) == 0)) {
    if (work.z < 0.0f) work.z = 0.0f;
  } else if (mode == 2) {
    if (work.z > -1.0f) work.z = -1.0f;
  }
}

}  // namespace

void RunDriving(CharacterTurn& turn, MotionWork& work) {
  CharacterWorldHooks& w = characterWorld;
  Actor& a = *TurnActor(turn);
  const float t = static_cast<float>(turn.elapsed);
  if (FuelCapacity(a) > 0.0f && Fuel(a) <= 0.0f) w.ClearCharacterMotion(a);

  const float maxSpeed = MaxSpeed(a);
  const float acc = Acceleration(a);
  w.ApproachSpeed(DriveInput(a), DriveSpeed(a), maxSpeed, MinSpeed(a), acc, -2.0f * acc, -acc / 2.0f, acc / 2.0f);
  w.ApproachSpeed(StrafeInput(a), a.strafeSpeed, maxSpeed, -maxSpeed, acc, -acc, -acc / 2.0f, acc / 2.0f);

  const float f = PowerFactor(a);
  DriveSpeed(a) = Bound(DriveSpeed(a), f * MinSpeed(a), f * maxSpeed);
  a.strafeSpeed = Bound(a.strafeSpeed, -f * maxSpeed, f * maxSpeed);
  // No reversing in the air.
  if (a.z >= 1.0f && DriveSpeed(a) < 0.0f && a.strafeSpeed == 0.0f) {
    DriveSpeed(a) = 0.0f;
    a.strafeSpeed = 0.0f;
  }

  const std::int32_t flags = MotionFlags(a);
  const bool flies = (flags & (kMotionFlies | kMotionSinksBelowGround)) != 0;
  if (DriveSpeed(a) != 0.0f || a.strafeSpeed != 0.0f || (TurnInput(a) != 0.0f && acc == 0.0f) ||
      (flies && (flags & kMotionHovers) == 0)) {
    // A vehicle without a top speed burns nothing (its share of the top speed is undefined).
    if (FuelCapacity(a) > 0.0f && maxSpeed != 0.0f) {
      Fuel(a) -= std::fabs(DriveSpeed(a) / (f * maxSpeed)) * 0.01f * t;
      if (Fuel(a) < 0.0f) Fuel(a) = 0.0f;
    }
    if (TurnInput(a) != 0.0f) Steer(a, work, t);
    if (DriveSpeed(a) != 0.0f) {
      work.x += DriveSpeed(a) * std::cos(a.heading) * t;
      work.y += DriveSpeed(a) * std::sin(a.heading) * t;
    }
    if (a.strafeSpeed != 0.0f) {
      work.x += a.strafeSpeed * std::cos(a.heading + kQuarterTurn) * t;
      work.y += a.strafeSpeed * std::sin(a.heading + kQuarterTurn) * t;
    }
    if (flies) Climb(a, work, t);
    if (work.x != a.x || work.y != a.y || work.z != a.z || work.heading != a.heading) {
      const ShapePlacement at{work.x, work.y, work.z, 0.0f, a.rotationY, work.heading, a.scaleX, a.scaleY, a.scaleZ};
      if (w.TestActorMove(turn.map, a.collisionShape, at, turn.actor, -1, -1, true, false)) {
        work.x = a.x;
        work.y = a.y;
        work.z = a.z;
        work.heading = a.heading;
        turn.touchedSolid = true;
      }
    }
  }
  Actor& after = *TurnActor(turn);
  if (FaceMotion() && (RoundToLong(after.movementX) != 0 || RoundToLong(after.movementY) != 0))
    work.heading = w.ActorHeading(turn.map, turn.actor);
}

}  // namespace kiv
