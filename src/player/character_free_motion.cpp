#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/broad_phase.h"
#include "data/sprite_set_queries.h"
#include "player/character_motion_steps.h"
#include "player/character_world.h"

namespace kiv {

namespace {

constexpr float kSkipDistance = 0.0001f;
constexpr float kClimbHeight = 4.0f;
constexpr std::int32_t kAnyPoseVariant = 0x7FFFFDFF;
constexpr std::int32_t kDeadPose = 13;

float Stored(const Actor& a, int axis) { return axis == 0 ? a.x : axis == 1 ? a.y : a.z; }
float Driven(const MotionWork& w, int axis) { return axis == 0 ? w.x : axis == 1 ? w.y : w.z; }

void RunMotors(Actor& a, const Map& m) {
  const float acc = Acceleration(a);
  const float maxSpeed = MaxSpeed(a);
  for (int axis = 0; axis < 3; ++axis) {
    if (Motor(a, axis) != 1) continue;
    const float target = MotionTarget(a, axis);
    // A motor without a target leaves an axis with force to the force (the
    // x axis only while it accelerates).
    const bool skip = target == 0.0f && MapForce(m, axis) != 0.0f && (axis != 0 || acc != 0.0f);
    if (!skip)
      characterWorld.ApproachSpeed(target, Velocity(a, axis), maxSpeed, -maxSpeed, acc, -acc, -acc / 2.0f,
                                   acc / 2.0f);
    if (Velocity(a, axis) == 0.0f && target == 0.0f && acc == 0.0f) Motor(a, axis) = 0;
  }
}

// Sums the pushes of the tick and drops the ended ones; an ending push acts
// only for the part of the tick it still had.
std::array<float, 3> SumPushes(Actor& a, std::int32_t t) {
  std::array<float, 3> sum{};
  for (std::size_t i = a.pushes.size(); i-- > 0;) {
    PushEntry& e = a.pushes[i];
    e.timeLeft -= t;
    sum[0] += e.x;
    sum[1] += e.y;
    sum[2] += e.z;
    if (e.timeLeft < 1) {
      // A tick of 0 ms (game speed 0) has no share to take back.
      if (t != 0) {
        const float share = static_cast<float>(e.timeLeft) / static_cast<float>(t);
        sum[0] += e.x * share;
        sum[1] += e.y * share;
        sum[2] += e.z * share;
      }
      a.pushes.erase(a.pushes.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  return sum;
}

bool BlockedAt(const CharacterTurn& turn, const Actor& a, const Map& m, const MotionWork& work, float x,
               float y, float z) {
  if (z < a.floorHeight) return true;
  const ShapePlacement at{x, y, z, 0.0f, a.rotationY, work.heading, a.scaleX, a.scaleY, a.scaleZ};
  if (characterWorld.TestActorMove(turn.map, a.collisionShape, at, turn.actor, -1, -1, true, false))
    return true;
  return GroundLimitZ(m) && (MotionFlags(a) & kMotionSinksBelowGround) == 0 && a.state == kStateNormal &&
         z < 0.0f;
}

// Tries the axis combinations, all moving first, in two passes (the second at
// half velocity); true when one was free.
bool TryCombinations(CharacterTurn& turn, MotionWork& work, const std::array<float, 3>& push) {
  Actor& a = *TurnActor(turn);
  const Map& m = gameData.maps[turn.map];
  const float t = static_cast<float>(turn.elapsed);
  for (int pass = 0; pass < 2; ++pass) {
    const float factor = pass == 0 ? 1.0f : 0.5f;
    for (int k = 0; k <= 6; ++k) {
      const std::array<bool, 3> kept{(k & 4) != 0, (k & 2) != 0, (k & 1) != 0};
      std::array<float, 3> candidate{};
      bool skip = false;
      for (int axis = 0; axis < 3; ++axis) {
        if (kept[axis]) {
          candidate[axis] = Stored(a, axis);
        } else {
          candidate[axis] = Driven(work, axis) + (push[axis] + Velocity(a, axis) * factor) * t;
          skip = skip || NearlyEqual(candidate[axis], Stored(a, axis), kSkipDistance);
        }
      }
      if (skip) continue;
      bool blocked = BlockedAt(turn, a, m, work, candidate[0], candidate[1], candidate[2]);
      if (blocked && a.z == candidate[2] && (MotionFlags(a) & kMotionClimbsSteps) != 0 &&
          !BlockedAt(turn, a, m, work, candidate[0], candidate[1], candidate[2] + kClimbHeight)) {
        candidate[2] += kClimbHeight;
        blocked = false;
      }
      if (!blocked) {
        if (pass == 1)
          for (int axis = 0; axis < 3; ++axis) Velocity(a, axis) /= 2.0f;
        work.x = candidate[0];
        work.y = candidate[1];
        work.z = candidate[2];
        for (int axis = 0; axis < 3; ++axis) {
          work.moved[axis] = !kept[axis];
          work.requested[axis] = work.requested[axis] && work.moved[axis];
        }
        return true;
      }
      work.blockedSeen = true;
      if (!SolidOnVerticalOnly() || k == 6) turn.touchedSolid = true;
    }
  }
  return false;
}

std::int32_t DeathAnimationLength(const CharacterTurn& turn, const Actor& a) {
  if (a.parts.empty() || a.parts[0].spriteSet < 0) return 0;
  const std::int32_t spriteSet = a.parts[0].spriteSet;
  std::int32_t pose = 0, poseTime = 0;
  characterWorld.SelectActorPose(turn.map, a, spriteSet, kAnyPoseVariant, AngleToDirection(a.heading), pose,
                                 poseTime);
  if (pose != kDeadPose) return 0;
  return SpriteDirectionDuration(spriteSet, kDeadPose, characterWorld.ActorDrawDirection(a));
}

void Land(const CharacterTurn& turn, Actor& a) {
  a.airborne = 0;
  if (a.state == kStateDying && HealthCurrent(a) < 1) {
    a.state = kStateDead;
    DyingTime(a) = DeathAnimationLength(turn, a);
  } else if (!(a.state == kStateDead && HealthCurrent(a) <= 0)) {
    a.state = kStateNormal;
  }
}

void UpdateWalkTime(CharacterTurn& turn, Actor& a, const MotionWork& work) {
  const auto& r = work.requested;
  const float drive = DriveSpeed(a);
  const float strafe = a.strafeSpeed;
  if (r[0] || r[1] || r[2] || drive != 0.0f || strafe != 0.0f) {
    if (MaxSpeed(a) > 0.0f) {
      const float vx = std::fabs(a.velocityX), vy = std::fabs(a.velocityY), vz = std::fabs(a.velocityZ);
      float s;
      if (drive != 0.0f) {
        s = std::fabs(drive);
      } else if (strafe != 0.0f) {
        s = std::fabs(strafe);
      } else if (r[0] && r[1]) {
        s = (vx + vy) / 2.0f;
      } else if (r[0] && r[2]) {
        s = (vx + vz) / 2.0f;
      } else if (r[1] && r[2]) {
        s = (vy + vz) / 2.0f;
      } else if (r[0]) {
        s = vx;
      } else if (r[1]) {
        s = vy;
      } else {
        s = vz;
      }
      a.walkTime = RoundToLong(static_cast<double>(a.walkTime) +
                               static_cast<double>(s / MaxSpeed(a) * static_cast<float>(turn.elapsed)));
    } else {
      a.walkTime += turn.elapsed;
    }
    turn.rememberedWalkTime = a.walkTime;
    a.idleTime = 0;
  } else {
    turn.rememberedWalkTime = a.walkTime;
    if (StepLeft(a) < 1) a.walkTime = 0;
  }
}

void WriteBack(CharacterTurn& turn, Actor& a, const MotionWork& work) {
  if (work.x == a.x && work.y == a.y && work.z == a.z && work.heading == a.heading) return;
  if (Player* owner = OwnerPlayer(Owner(a))) {
    const double dx = RoundToLong(work.x) - RoundToLong(a.x);
    const double dy = RoundToLong(work.y) - RoundToLong(a.y);
    const double dz = RoundToLong(work.z) - RoundToLong(a.z);
    // Steps are saved with the player: they stop at the largest Long.
    const std::int64_t steps = static_cast<std::int64_t>(PlayerSteps(*owner)) + RoundToLong(std::sqrt(dx * dx + dy * dy + dz * dz));
    PlayerSteps(*owner) = static_cast<std::int32_t>(std::min<std::int64_t>(steps, INT32_MAX));
  }
  a.x = work.x;
  a.y = work.y;
  a.z = work.z;
  a.heading = work.heading;
  NoteActorMoved(gameData.maps[turn.map], turn.actor);
  characterWorld.UpdateCharacterFloorHeight(turn.map, turn.actor);
  if (Actor* after = TurnActor(turn)) after->moved = 1;
}

}  // namespace

void RunFreeMotion(CharacterTurn& turn, MotionWork& work) {
  Actor* a = TurnActor(turn);
  const Map& m = gameData.maps[turn.map];
  const std::int32_t t = turn.elapsed;
  RunMotors(*a, m);
  for (int axis = 0; axis < 3; ++axis) work.requested[axis] = MotionTarget(*a, axis) != 0.0f;
  const std::array<float, 3> push = SumPushes(*a, t);

  // The map's force, an eighth of it in state 1; fliers and hoverers are
  // spared while they are alive.
  const std::int32_t flags = MotionFlags(*a);
  if (a->state == kStateDying || a->state == kStateDead || (flags & (kMotionFlies | kMotionHovers)) == 0) {
    const float k = a->state == 1 ? 8.0f : 1.0f;
    for (int axis = 0; axis < 3; ++axis) Velocity(*a, axis) += MapForce(m, axis) * static_cast<float>(t) / k;
  }

  bool moved = false;
  bool still = true;
  for (int axis = 0; axis < 3; ++axis)
    still = still && Driven(work, axis) + push[axis] + Velocity(*a, axis) == Stored(*a, axis);
  if (still) {
    if ((a->tickFlags & 1) != 0) {
      const ShapePlacement at{a->x,         a->y,      a->z,      0.0f,     a->rotationY,
                              work.heading, a->scaleX, a->scaleY, a->scaleZ};
      characterWorld.TestActorMove(turn.map, a->collisionShape, at, turn.actor, -1, -1, true, false);
    }
  } else {
    moved = TryCombinations(turn, work, push);
  }
  a = TurnActor(turn);
  if (!moved) {
    work.x = a->x;
    work.y = a->y;
    work.z = a->z;
    work.moved = {false, false, false};
    if (t != 0) work.requested = {false, false, false};
  }

  if (t > 0) {
    for (int axis = 0; axis < 3; ++axis)
      if (!work.moved[axis]) Velocity(*a, axis) = 0.0f;
    if (work.blockedSeen) {
      for (int axis = 0; axis < 3; ++axis) {
        if (MapForce(m, axis) != 0.0f && Motor(*a, axis) == 0 && !work.moved[axis]) {
          Land(turn, *a);
          break;
        }
      }
    }
  }
  UpdateWalkTime(turn, *a, work);
  WriteBack(turn, *a, work);
}

}  // namespace kiv
