#include "player/bullet_system.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/angles.h"
#include "data/game_data.h"
#include "data/set_lookups.h"
#include "data/sprite_instance.h"
#include "data/sprite_set_queries.h"
#include "mathkiv/collision.h"
#include "media/sound_channels.h"
#include "player/character_fields.h"
#include "player/character_world.h"
#include "player/shell_state.h"

// The resting vertical speed is a subnormal Single: a build that flushes
// subnormals to zero would read it as 0.
#if defined(__FAST_MATH__)
#error "the Bullet System needs subnormal floats: build without fast-math"
#endif

namespace kiv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kTwoPiSingle = 6.2831855f;

// Where the projectile being flown sits; every world call may run scripts
// that grow or shrink the list, so the entry is looked up again after each.
struct Flight {
  std::int32_t map = -1;
  std::int32_t index = -1;
  std::int32_t elapsed = 0;

  std::vector<Projectile>& List() const { return gameData.maps[map].projectiles; }
  bool Present() const { return index >= 0 && static_cast<std::size_t>(index) < List().size(); }
  Projectile& P() const { return List()[static_cast<std::size_t>(index)]; }
};

Actor* CharacterAt(std::int32_t map, std::int32_t c) {
  std::vector<Actor>& actors = gameData.maps[map].actors;
  if (c < 0 || static_cast<std::size_t>(c) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(c)];
}

ShapePlacement PlacedAt(const Projectile& p) { return ShapePlacement{p.x, p.y, p.z, 0.0f, 0.0f, p.heading}; }

// Step 5: turns towards the nearest hostile character in range.
void Home(const Flight& f) {
  Projectile& p = f.P();
  const Actor* owner = CharacterAt(f.map, p.owner);
  if (owner == nullptr || p.homingRange <= 0 || !(p.turnRate > 0.0f) || owner->team < 0) return;
  const std::int32_t ownerTeam = owner->team;
  const std::vector<Actor>& actors = gameData.maps[f.map].actors;
  const Actor* target = nullptr;
  double nearest = 0.0;
  for (const Actor& a : actors) {
    if (a.removed != 0 || a.state != 0 || !characterWorld.IsTeamHostile(ownerTeam, a.team)) continue;
    const float dx = a.x - p.x, dy = a.y - p.y, dz = a.z - p.z;
    const double d = static_cast<double>(dx * dx + dy * dy + dz * dz);
    if (target == nullptr || d < nearest) {
      target = &a;
      nearest = d;
    }
  }
  if (!f.Present()) return;
  Projectile& q = f.P();
  const double range = static_cast<double>(q.homingRange);
  if (target == nullptr || !(nearest < range * range)) return;
  float wanted = AngleBetweenPoints(q.x, q.y, target->x, target->y);
  float current = WrapAngle(q.heading);
  // Across the wrap the smaller angle is taken one turn up.
  if (std::fabs(current - wanted) > static_cast<float>(kPi)) {
    if (current < wanted) {
      current += kTwoPiSingle;
    } else {
      wanted += kTwoPiSingle;
    }
  }
  const double sign = wanted > current ? 1.0 : wanted < current ? -1.0 : 0.0;
  q.heading = static_cast<float>(q.heading + sign * q.turnRate * f.elapsed);
}

// Step 6: the box that covers this tick's path, behind the new position.
CollisionShape SweptShape(const Projectile& p, std::int32_t elapsed) {
  Box rect;
  GetCollisionRect(rect, p.collisionShape, ShapePlacement{}, kRectPlaced);
  const double width = static_cast<double>(rect.right) - rect.left;
  CollisionShape swept;
  CollisionBox b;
  b.left = static_cast<std::int32_t>(std::floor(-static_cast<double>(p.speed) * elapsed - width / 2.0));
  b.right = static_cast<std::int32_t>(std::ceil(width / 2.0));
  b.top = rect.top;
  b.bottom = rect.bottom;
  b.front = rect.front;
  b.back = rect.back;
  swept.rectangles.push_back(b);
  return swept;
}

// The number of damage pulses of step 7 when the phase allows a pass.
std::int64_t PulseCount(const Projectile& p, std::int32_t elapsed) {
  const bool passes = p.motionMode == 2 || p.motionMode == 3;
  if (p.damageInterval == 0) return passes ? 0 : 1;
  if (p.damageInterval < 0) return 0;
  if (p.damage == 0 && p.item < 0) return 0;
  if (!passes) return 1;
  const std::int64_t age = p.age;
  return age / p.damageInterval - (age - elapsed) / p.damageInterval;
}

bool PhaseAllowsDamage(const Projectile& p) {
  switch (p.damagePhase) {
    case 0:
      return true;
    case 1:
      return p.kind != kProjectileExplosion;
    case 2:
      return p.kind == kProjectileExplosion;
    default:
      return false;
  }
}

// Steps 6 to 9. Returns false when the projectile left the list meanwhile.
bool Fly(const Flight& f) {
  Home(f);
  if (!f.Present()) return false;
  const double t = f.elapsed;
  CollisionShape swept = SweptShape(f.P(), f.elapsed);
  {
    Projectile& p = f.P();
    p.x = static_cast<float>(p.x + p.speed * std::cos(static_cast<double>(p.heading)) * t);
    p.y = static_cast<float>(p.y + p.speed * std::sin(static_cast<double>(p.heading)) * t);
  }

  bool hit = false;
  bool damagePassRan = false;
  if (PhaseAllowsDamage(f.P())) {
    damagePassRan = true;
    const std::int64_t pulses = PulseCount(f.P(), f.elapsed);
    for (std::int64_t k = 0; k < pulses; ++k) {
      const Projectile& p = f.P();
      const bool stops = p.motionMode != 2 && p.motionMode != 3;
      const bool solid = characterWorld.ApplyAreaDamage(f.map, swept, p.x, p.y, p.z, 0.0f, 0.0f, p.heading, p.owner,
                                                        p.damage, p.item, f.index, p.kind == kProjectileExplosion);
      if (!f.Present()) return false;
      if (!solid) break;
      if (stops) {
        hit = true;
        break;
      }
    }
  }
  if (!hit && f.P().motionMode != 3) {
    const Projectile& p = f.P();
    hit = characterWorld.TestActorMove(f.map, swept, PlacedAt(p), p.owner, -1, -1, false, damagePassRan);
    if (!f.Present()) return false;
  }

  Projectile& p = f.P();
  if (hit) {
    const double stepX = p.speed * std::cos(static_cast<double>(p.heading)) * t;
    const double stepY = p.speed * std::sin(static_cast<double>(p.heading)) * t;
    if (p.motionMode == 1) {
      p.x = static_cast<float>(p.x - 2.0 * stepX);
      p.y = static_cast<float>(p.y - 2.0 * stepY);
      p.heading = static_cast<float>(p.heading + kPi);
    } else {
      p.remainingRange = 0.0f;
      p.x = static_cast<float>(p.x - stepX / 2.0);
      p.y = static_cast<float>(p.y - stepY / 2.0);
    }
  }
  if (p.kind != kProjectileExplosion) p.remainingRange = static_cast<float>(p.remainingRange - p.speed * t);
  ResetCollision(swept);
  return true;
}

// Step 10: a charge that waits for its trigger.
void WaitForTrigger(const Flight& f) {
  Projectile& p = f.P();
  if (p.triggered != 0) return;
  const double t = f.elapsed;
  switch (p.chargeTrigger) {
    case 1: {
      if (p.speed >= 0.0f) p.speed = static_cast<float>(p.speed - t);
      if (!(p.speed < 0.0f)) break;
      const double radius = p.remainingRange;
      const std::size_t count = gameData.maps[f.map].actors.size();
      for (std::size_t c = 0; c < count && f.Present(); ++c) {
        if (c >= gameData.maps[f.map].actors.size()) break;
        if (!characterWorld.IsCharacterCollidable(f.map, static_cast<std::int32_t>(c), true)) continue;
        if (!f.Present()) return;
        const Actor& a = gameData.maps[f.map].actors[c];
        const Projectile& q = f.P();
        const double dx = static_cast<double>(a.x) - q.x, dy = static_cast<double>(a.y) - q.y;
        if (dx * dx + dy * dy < radius * radius) {
          f.P().triggered = 1;
          break;
        }
      }
      break;
    }
    case 2: {
      Actor* owner = CharacterAt(f.map, p.owner);
      if (owner != nullptr && DetonateRequest(*owner) != 0) p.triggered = 2;
      break;
    }
    case 3:
      p.speed = static_cast<float>(p.speed - t);
      if (p.speed <= 0.0f) p.triggered = 1;
      break;
    default:
      break;
  }
  if (f.Present() && f.P().triggered != 0) f.P().remainingRange = 0.0f;
}

// Step 11: gravity, with a bounce (or a stop for charges) on what it meets.
void Fall(const Flight& f) {
  const double t = f.elapsed;
  const double gravity = gameData.maps[f.map].MapForceZ();
  float oldZ = 0.0f;
  bool met = false;
  {
    Projectile& p = f.P();
    if (p.kind != kProjectileCharge && p.verticalSpeed == 0.0f) return;
    p.verticalSpeed = static_cast<float>(p.verticalSpeed + gravity / 4.0 * t);
    oldZ = p.z;
    p.z = static_cast<float>(p.z + p.verticalSpeed * t);
    // The shape is copied: the test may run scripts that move the list.
    const CollisionShape shape = p.collisionShape;
    met = characterWorld.TestActorMove(f.map, shape, PlacedAt(p), p.owner, -1, -1, false, false);
  }
  if (!f.Present()) return;
  Projectile& q = f.P();
  if (met || q.z < 0.0f) {
    q.z = oldZ;
    q.verticalSpeed = q.kind == kProjectileCharge ? 0.0f : static_cast<float>(-0.75 * q.verticalSpeed);
  }
  if (q.verticalSpeed == 0.0f) q.verticalSpeed = RestingVerticalSpeed();
}

// Step 12: the hit sound, then the explosion or the end.
void Spend(const Flight& f) {
  Projectile& p = f.P();
  if (p.hitSound >= 0) {
    std::int32_t variation = -2;
    const std::uint32_t channel = SoundGetChannel(p.hitSound, variation);
    SoundPlay3D(channel, p.x, p.y, p.z, 32.0f, 1024.0f, kTwoPiSingle, kTwoPiSingle, 0.0f, false);
    p.hitSound = -1;
  }
  if (p.explosionSpriteSet < 0) {
    f.List().erase(f.List().begin() + f.index);
    return;
  }
  p.age = 0;
  p.kind = kProjectileExplosion;
  p.spriteSet = p.explosionSpriteSet;
  SetObjectSprite(p.sprite, p.spriteSet);
  p.collisionShape = CollisionShape();
  SpriteSetFirstCollisionShape(p.spriteSet, p.collisionShape);
  p.explosionSpriteSet = -1;
  p.speed = 0.0f;
  p.remainingRange = 1.0f;
  p.verticalSpeed = 0.0f;
  p.heading = 0.0f;
  p.motionMode = 3;
}

void Advance(const Flight& f) {
  {
    Projectile& p = f.P();
    p.age = static_cast<std::int32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(p.age) + f.elapsed, std::numeric_limits<std::int32_t>::max()));
  }
  if (f.P().kind == kProjectileCharge) {
    WaitForTrigger(f);
  } else {
    Projectile& p = f.P();
    if (p.kind == kProjectileExplosion) {
      const std::int32_t length = SpriteSetDuration(p.spriteSet);
      if (p.age > length) {
        if (p.holdLastFrame != 0) {
          p.age = length;
        } else {
          p.remainingRange = 0.0f;
        }
      }
    }
    if (p.remainingRange > 0.0f && !Fly(f)) return;
  }
  if (!f.Present()) return;
  Fall(f);
  if (!f.Present()) return;
  if (!(f.P().remainingRange > 0.0f)) Spend(f);
}

}  // namespace

float RestingVerticalSpeed() { return -std::numeric_limits<float>::denorm_min(); }

void RunBulletSystem(std::int32_t map) {
  if (map < -1 || map > gameData.maps.LastIndex()) return;
  Flight f;
  f.map = map;
  f.elapsed = shell.frameElapsed;
  for (std::int32_t k = static_cast<std::int32_t>(f.List().size()) - 1; k >= 0; --k) {
    // A script run by a hit may have shortened the list below this entry.
    if (static_cast<std::size_t>(k) >= f.List().size()) continue;
    f.index = k;
    Advance(f);
  }
}

}  // namespace kiv
