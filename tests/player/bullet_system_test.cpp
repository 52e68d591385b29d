// The Bullet System against the recording fake world: flight, bounces, damage
// pulses by interval and phase, charges, falling, homing, the swept box, the
// hit sound and the change into an explosion.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "../media/audio_fixture.h"
#include "data/game_data.h"
#include "data/map_objects.h"
#include "media/sound_channels.h"
#include "player/bullet_system.h"
#include "player/character_fields.h"
#include "player/shell_state.h"
#include "support/fake_character_world.h"

namespace kiv {
namespace {

std::uint32_t Bits(float v) {
  std::uint32_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

class BulletSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    shell.Reset();
    world.Install();
    map = gameData.maps.Append();
    shell.frameElapsed = 100;
  }

  // A projectile at (x, y, 0) flying along x with an 8 x 8 footprint.
  Projectile& Add(float x = 100.0f, float y = 100.0f) {
    Projectile p;
    p.x = x;
    p.y = y;
    p.speed = 0.5f;
    p.remainingRange = 1000.0f;
    p.collisionShape = FakeCharacterWorld::BoxShape(-4, -4, 4, 4, 0, 8);
    gameData.maps[map].projectiles.push_back(p);
    return gameData.maps[map].projectiles.back();
  }
  Projectile& P(std::size_t k = 0) { return gameData.maps[map].projectiles.at(k); }
  std::size_t Count() { return gameData.maps[map].projectiles.size(); }

  std::int32_t AddCharacter(float x, float y, std::int32_t team) {
    Actor a;
    a.x = x;
    a.y = y;
    a.team = team;
    a.collisionShape = FakeCharacterWorld::BoxShape(-8, -8, 8, 8, 0, 32);
    gameData.maps[map].actors.push_back(a);
    return static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  }

  // A sprite set whose first direction runs the given ms and has a box shape.
  std::int32_t AddSpriteSet(std::int32_t milliseconds, const Box& shape = Box{-10, -10, 10, 10, 0, 20}) {
    SpriteSet set;
    set.poses.resize(1);
    SpriteDirection& d = set.poses[0].directions[4];
    d.builtFrames.resize(4);
    d.frameDuration = milliseconds / 4;
    d.collision = FakeCharacterWorld::BoxShape(shape.left, shape.top, shape.right, shape.bottom, shape.front,
                                               shape.back);
    gameData.spriteSets.push_back(set);
    return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
  }

  FakeCharacterWorld world;
  std::int32_t map = -1;
};

TEST_F(BulletSystemTest, FlightOfOneTickByMotionMode) {
  // A wall right of x = 130 stops or bounces the projectile; without it, it
  // flies on. Spent ones become an explosion, which keeps their place.
  struct Case {
    const char* name;
    bool wall;
    std::uint8_t mode;
    float range;
    float x;
    bool spent;
    float heading, rangeAfter;  // of those that fly on
  };
  const float pi = 3.14159265f;
  const Case cases[] = {
      {"free flight", false, 0, 1000.0f, 150.0f, false, 0.0f, 950.0f},
      {"stops at a wall, half a step back", true, 0, 1000.0f, 125.0f, true, 0.0f, 0.0f},
      {"bounces: twice the step back, heading turned", true, 1, 1000.0f, 50.0f, false, pi, 950.0f},
      {"a range of 0 does not fly and is spent", false, 0, 0.0f, 100.0f, true, 0.0f, 0.0f},
      {"a range below 0 likewise", false, 1, -5.0f, 100.0f, true, 0.0f, 0.0f},
      {"runs out of range this tick", false, 0, 40.0f, 150.0f, true, 0.0f, 0.0f},
  };
  const std::int32_t boom = AddSpriteSet(400);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.maps[map].projectiles.clear();
    world.solidBoxes.clear();
    if (c.wall) world.solidBoxes.push_back(Box{130, 0, 200, 200, 0, 32});
    Projectile& p = Add();
    p.motionMode = c.mode;
    p.remainingRange = c.range;
    p.explosionSpriteSet = boom;
    RunBulletSystem(map);
    ASSERT_EQ(Count(), 1u);
    EXPECT_FLOAT_EQ(P().x, c.x);
    EXPECT_FLOAT_EQ(P().y, 100.0f);
    EXPECT_EQ(P().kind == kProjectileExplosion, c.spent);
    if (c.spent) continue;
    EXPECT_FLOAT_EQ(P().heading, c.heading);
    EXPECT_FLOAT_EQ(P().remainingRange, c.rangeAfter);
  }
}

TEST_F(BulletSystemTest, SpentWithoutExplosionIsRemovedAndMayStillFallFirst) {
  world.solidBoxes.push_back(Box{130, 0, 200, 200, 0, 32});
  Add();
  RunBulletSystem(map);
  EXPECT_EQ(Count(), 0u) << "stopped without an explosion set: removed";

  Projectile& q = Add();
  q.remainingRange = 0.0f;
  q.verticalSpeed = 0.25f;
  q.explosionSpriteSet = AddSpriteSet(400);
  RunBulletSystem(map);
  EXPECT_FLOAT_EQ(P().x, 100.0f) << "did not fly";
  EXPECT_FLOAT_EQ(P().z, 25.0f) << "moved vertically on the tick it was spent";
  EXPECT_EQ(P().kind, kProjectileExplosion);
}

TEST_F(BulletSystemTest, IntervalPulsesCountTheBoundariesCrossed) {
  // Motion mode 2, interval 500: pulses on the ticks whose age crosses 500, 1000, 1500.
  struct Case {
    std::int32_t ageBefore, tick;
    std::size_t pulses;
  };
  const Case cases[] = {{0, 100, 0}, {400, 100, 1}, {450, 100, 1}, {500, 100, 0}, {900, 100, 1},
                        {1400, 100, 1}, {450, 600, 2}, {0, 1500, 3}, {499, 1, 1}};
  world.damageHitsSolid = true;  // passing through: solid hits do not stop mode 2
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ageBefore << " + " << c.tick);
    gameData.maps[map].projectiles.clear();
    world.damage.clear();
    shell.frameElapsed = c.tick;
    Projectile& p = Add();
    p.speed = 0.0f;
    p.motionMode = 2;
    p.damageInterval = 500;
    p.damage = 7;
    p.age = c.ageBefore;
    RunBulletSystem(map);
    EXPECT_EQ(world.damage.size(), c.pulses);
  }
}

TEST_F(BulletSystemTest, DamagePassByPhaseIntervalAndMode) {
  struct Case {
    const char* name;
    std::uint8_t kind, phase, mode;
    std::int32_t interval, damage, item;
    std::int32_t ageBefore;
    std::size_t pulses;
  };
  const Case cases[] = {
      {"flight, phase 0, interval 0: one pulse", 0, 0, 0, 0, 5, -1, 0, 1},
      {"flight, phase 1: one pulse", 0, 1, 0, 0, 5, -1, 0, 1},
      {"flight, phase 2: none", 0, 2, 0, 0, 5, -1, 0, 0},
      {"explosion, phase 1: none", 99, 1, 3, 100, 5, -1, 50, 0},
      {"explosion, phase 2: one per interval (mode 3)", 99, 2, 3, 100, 5, -1, 50, 1},
      {"explosion, phase 2, no boundary crossed", 99, 2, 3, 300, 5, -1, 0, 0},
      {"explosion, phase 0, interval 0, mode 3: none", 99, 0, 3, 0, 5, -1, 50, 0},
      {"mode 2, interval 0: none", 0, 0, 2, 0, 5, -1, 0, 0},
      {"negative interval: none", 0, 0, 0, -1, 5, -1, 0, 0},
      {"interval, no damage and no item: none", 0, 0, 0, 100, 0, -1, 0, 0},
      {"interval, no damage but an item: one", 0, 0, 0, 100, 0, 3, 0, 1},
      {"interval, other mode: one pulse whatever the age", 0, 0, 0, 100, 5, -1, 0, 1},
      {"an unknown phase: none", 0, 3, 0, 0, 5, -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.maps[map].projectiles.clear();
    gameData.spriteSets.clear();
    world.damage.clear();
    world.damageHitsSolid = true;
    Projectile& p = Add();
    p.speed = 0.0f;
    p.kind = c.kind;
    if (c.kind == kProjectileExplosion) {
      p.spriteSet = AddSpriteSet(10000);
      p.remainingRange = 1.0f;
    }
    p.damagePhase = c.phase;
    p.motionMode = c.mode;
    p.damageInterval = c.interval;
    p.damage = c.damage;
    p.item = c.item;
    p.age = c.ageBefore;
    p.owner = 4;
    RunBulletSystem(map);
    ASSERT_EQ(world.damage.size(), c.pulses);
    for (const FakeDamage& d : world.damage) {
      EXPECT_EQ(d.amount, c.damage);
      EXPECT_EQ(d.item, c.item);
      EXPECT_EQ(d.attacker, 4);
      EXPECT_EQ(d.projectile, 0);
      EXPECT_EQ(d.hitFriends, c.kind == kProjectileExplosion) << "explosions hit friends";
    }
  }
}

TEST_F(BulletSystemTest, PulsesStopOnAMissAndOnASolidHitOfAStoppingMode) {
  shell.frameElapsed = 1000;
  struct Case {
    std::uint8_t mode;
    std::vector<bool> answers;
    std::size_t calls;
  };
  const Case cases[] = {{2, {true, false, true}, 2}, {2, {true, true, true}, 3}, {3, {false, true, true}, 1}};
  for (const Case& c : cases) {
    gameData.maps[map].projectiles.clear();
    world.damage.clear();
    world.damageAnswers = c.answers;
    Projectile& p = Add();
    p.speed = 0.0f;
    p.motionMode = c.mode;
    p.damageInterval = 300;
    p.damage = 1;
    p.age = 0;  // 1000 ms cross 300, 600, 900: three pulses at most
    RunBulletSystem(map);
    EXPECT_EQ(world.damage.size(), c.calls) << int(c.mode);
  }
  // A solid hit stops a projectile of mode 0 after one pulse, as a hit.
  gameData.maps[map].projectiles.clear();
  world.damage.clear();
  world.damageAnswers = {true};
  shell.frameElapsed = 100;
  Projectile& p = Add();
  p.explosionSpriteSet = AddSpriteSet(400);
  RunBulletSystem(map);
  EXPECT_EQ(world.damage.size(), 1u);
  EXPECT_EQ(P().kind, kProjectileExplosion) << "the hit spent it";
}

TEST_F(BulletSystemTest, AfterADamagePassCharactersAreNotTestedAgain) {
  struct Case {
    std::uint8_t phase;
    bool skip;
  };
  for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}}) {
    gameData.maps[map].projectiles.clear();
    world.moveTestsSkippingCharacters.clear();
    Projectile& p = Add();
    p.damagePhase = c.phase;
    p.damage = 0;  // a pass that deals nothing still counts
    p.damageInterval = -1;
    RunBulletSystem(map);
    ASSERT_EQ(world.moveTestsSkippingCharacters.size(), 1u) << "the world test (no fall: vertical speed 0)";
    EXPECT_EQ(world.moveTestsSkippingCharacters[0], c.skip) << int(c.phase);
  }
  // Motion mode 3 makes no world test.
  gameData.maps[map].projectiles.clear();
  world.moveTests = 0;
  Add().motionMode = 3;
  RunBulletSystem(map);
  EXPECT_EQ(world.moveTests, 0);
}

TEST_F(BulletSystemTest, SweptBoxTakesFloorAndCeiling) {
  struct Case {
    Box shape;
    float speed;
    std::int32_t left, right;
  };
  // Width 9: Int(-0.33 x 100 - 4.5) = Int(-37.5) = -38; Ceiling(4.5) = 5.
  // Width 8: Int(-0.5 x 100 - 4) = -54; Ceiling(4) = 4.
  const Case cases[] = {{Box{-4, -3, 5, 3, 0, 6}, 0.33f, -38, 5}, {Box{-4, -4, 4, 4, 0, 8}, 0.5f, -54, 4},
                        {Box{0, 0, 0, 0, 0, 0}, 0.0f, 0, 0}};
  for (const Case& c : cases) {
    gameData.maps[map].projectiles.clear();
    world.testedBoxes.clear();
    Projectile& p = Add(0.0f, 0.0f);
    p.speed = c.speed;
    p.collisionShape = FakeCharacterWorld::BoxShape(c.shape.left, c.shape.top, c.shape.right, c.shape.bottom,
                                                    c.shape.front, c.shape.back);
    RunBulletSystem(map);
    ASSERT_EQ(world.testedBoxes.size(), 1u);
    const Box& b = world.testedBoxes[0];
    const auto x = static_cast<std::int32_t>(std::floor(c.speed * 100.0f));
    EXPECT_EQ(b.left, c.left + x) << c.speed;
    EXPECT_EQ(b.right, c.right + x) << c.speed;
    EXPECT_EQ(b.top, c.shape.top);
    EXPECT_EQ(b.bottom, c.shape.bottom);
  }
}

TEST_F(BulletSystemTest, ChargesByTrigger) {
  // A character 50 px away; the charge's proximity radius is 60.
  AddCharacter(150.0f, 100.0f, 1);
  struct Case {
    const char* name;
    std::uint8_t trigger;
    float fuse;
    bool detonate;
    std::int32_t ticks;
    std::uint8_t triggered;  // after the ticks (0: still waiting)
  };
  const Case cases[] = {
      {"fuse then proximity: not before the fuse is below 0", 1, 250.0f, false, 2, 0},
      {"fuse then proximity: fuse at 50 then -50, triggered", 1, 250.0f, false, 3, 1},
      {"fuse 0: below 0 on the first tick, triggered", 1, 0.0f, false, 1, 1},
      {"remote without a request", 2, 0.0f, false, 3, 0},
      {"remote with the owner's request", 2, 0.0f, true, 1, 2},
      {"fuse only: 200 ms in two ticks", 3, 200.0f, false, 1, 0},
      {"fuse only: at 0", 3, 200.0f, false, 2, 1},
  };
  const std::int32_t owner = AddCharacter(1000.0f, 1000.0f, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.maps[map].projectiles.clear();
    DetonateRequest(gameData.maps[map].actors[static_cast<std::size_t>(owner)]) = c.detonate ? 1 : 0;
    Projectile& p = Add();
    p.kind = kProjectileCharge;
    p.chargeTrigger = c.trigger;
    p.speed = c.fuse;
    p.remainingRange = 60.0f;
    p.owner = owner;
    p.explosionSpriteSet = AddSpriteSet(400);
    for (std::int32_t k = 0; k < c.ticks; ++k) RunBulletSystem(map);
    ASSERT_EQ(Count(), 1u);
    if (c.triggered == 0) {
      EXPECT_EQ(P().kind, kProjectileCharge) << "still waiting";
      EXPECT_EQ(P().triggered, 0);
      EXPECT_FLOAT_EQ(P().remainingRange, 60.0f);
    } else {
      EXPECT_EQ(P().kind, kProjectileExplosion) << "went off and became its explosion";
      EXPECT_EQ(P().triggered, c.triggered);
    }
  }
}

TEST_F(BulletSystemTest, ProximityIsHorizontalStrictAndOnlyForCollidableCharacters) {
  const std::int32_t near = AddCharacter(160.0f, 100.0f, 1);  // exactly at the radius of 60
  gameData.maps[map].actors[static_cast<std::size_t>(near)].z = 500.0f;
  Projectile& p = Add();
  p.kind = kProjectileCharge;
  p.chargeTrigger = 1;
  p.speed = -1.0f;
  p.remainingRange = 60.0f;
  p.explosionSpriteSet = AddSpriteSet(400);
  RunBulletSystem(map);
  EXPECT_EQ(P().triggered, 0) << "at the radius is not inside";
  gameData.maps[map].actors[static_cast<std::size_t>(near)].x = 159.0f;
  world.notCollidable.insert(near);
  RunBulletSystem(map);
  EXPECT_EQ(P().triggered, 0) << "not collidable";
  world.notCollidable.clear();
  RunBulletSystem(map);
  EXPECT_EQ(P().triggered, 1) << "inside, whatever the height";
}

TEST_F(BulletSystemTest, ChargeAtRestGetsTheSmallestNegativeSingleEveryTick) {
  gameData.maps[map].mapValueAC = -0.004f;  // gravity
  Projectile& p = Add();
  p.kind = kProjectileCharge;
  p.chargeTrigger = 3;
  p.speed = 100000.0f;
  p.z = 0.0f;
  for (int k = 0; k < 5; ++k) {
    RunBulletSystem(map);
    EXPECT_EQ(Bits(P().verticalSpeed), 0x80000001u) << k;
    EXPECT_EQ(P().z, 0.0f);
  }
  EXPECT_EQ(Bits(RestingVerticalSpeed()), 0x80000001u);
  // Without gravity too: a speed that stays 0 is made the tiny negative one.
  gameData.maps[map].mapValueAC = 0.0f;
  P().verticalSpeed = 0.0f;
  RunBulletSystem(map);
  EXPECT_EQ(Bits(P().verticalSpeed), 0x80000001u);
}

TEST_F(BulletSystemTest, FallingBouncesAndZeroSpeedNeverFalls) {
  // Gravity 2^-7: a quarter of it over 100 ms is 0.1953125, exactly.
  gameData.maps[map].mapValueAC = -0.0078125f;
  struct Case {
    float z, speed;
    float zAfter, speedAfter;
    bool tiny;
  };
  const Case cases[] = {
      {0.0f, 0.0f, 0.0f, 0.0f, false},                  // vertical speed 0: ignores gravity
      {50.0f, -0.2f, 10.46875f, -0.3953125f, false},    // falls
      {10.0f, -0.2f, 10.0f, 0.296484375f, false},       // would go below 0: back, -0.75 x speed
      {50.0f, 0.1953125f, 50.0f, 0.0f, true},           // speed exactly 0 now: the tiny negative one
  };
  for (const Case& c : cases) {
    gameData.maps[map].projectiles.clear();
    Projectile& p = Add();
    p.speed = 0.0f;
    p.z = c.z;
    p.verticalSpeed = c.speed;
    RunBulletSystem(map);
    EXPECT_FLOAT_EQ(P().z, c.zAfter) << c.z << " " << c.speed;
    if (c.tiny) {
      EXPECT_EQ(Bits(P().verticalSpeed), 0x80000001u);
    } else {
      EXPECT_FLOAT_EQ(P().verticalSpeed, c.speedAfter);
    }
  }
}

TEST_F(BulletSystemTest, FallingMeetsTheWorldWithItsOwnShape) {
  gameData.maps[map].mapValueAC = -0.004f;
  world.solidBoxes.push_back(Box{90, 90, 110, 110, 0, 20});  // a table 20 high under the projectile
  Projectile& p = Add();
  p.speed = 0.0f;
  p.z = 25.0f;
  p.verticalSpeed = -0.1f;
  p.owner = 3;
  RunBulletSystem(map);
  EXPECT_FLOAT_EQ(P().z, 25.0f);
  EXPECT_FLOAT_EQ(P().verticalSpeed, 0.15f);
  EXPECT_EQ(world.moveTestsSkippingCharacters.back(), false) << "characters are tested when falling";
}

TEST_F(BulletSystemTest, HomingTurnsTowardsTheNearestHostileCharacter) {
  const std::int32_t owner = AddCharacter(0.0f, 0.0f, 0);
  struct Case {
    const char* name;
    float heading;
    std::vector<std::array<float, 3>> others;  // x, y, team
    std::int32_t range;
    float headingAfter;
  };
  // Turn rate 0.001 rad/ms x 100 ms = 0.1 per tick.
  const Case cases[] = {
      {"turns up towards a target above", 0.0f, {{100.0f, 200.0f, 1.0f}}, 500, 0.1f},
      {"turns down towards a target below", 0.0f, {{100.0f, 0.0f, 1.0f}}, 500, -0.1f},
      {"out of range", 0.0f, {{100.0f, 200.0f, 1.0f}}, 50, 0.0f},
      {"a friend is no target", 0.0f, {{100.0f, 200.0f, 0.0f}}, 500, 0.0f},
      {"the nearest wins", 0.0f, {{100.0f, 0.0f, 1.0f}, {100.0f, 130.0f, 1.0f}}, 500, 0.1f},
      {"a tie goes to the first", 0.0f, {{100.0f, 150.0f, 1.0f}, {100.0f, 50.0f, 1.0f}}, 500, 0.1f},
      // Heading 3 and target -3 (just across the wrap): the smaller gains a turn, so it turns up.
      {"across the wrap", 3.0f, {{-100.0f, 100.0f - 100.0f * 0.14254654f, 1.0f}}, 500, 3.1f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.maps[map].actors.resize(1);
    for (const auto& o : c.others) AddCharacter(o[0], o[1], static_cast<std::int32_t>(o[2]));
    gameData.maps[map].projectiles.clear();
    Projectile& p = Add(0.0f, 100.0f);
    p.speed = 0.0f;
    p.owner = owner;
    p.heading = c.heading;
    p.turnRate = 0.001f;
    p.homingRange = c.range;
    RunBulletSystem(map);
    EXPECT_NEAR(P().heading, c.headingAfter, 1e-6);
  }
  // Removed and not-idle characters are not targets.
  gameData.maps[map].actors.resize(1);
  AddCharacter(100.0f, 200.0f, 1);
  gameData.maps[map].actors[1].state = 2;
  gameData.maps[map].projectiles.clear();
  Projectile& p = Add(0.0f, 100.0f);
  p.speed = 0.0f, p.owner = owner, p.turnRate = 0.001f, p.homingRange = 500;
  RunBulletSystem(map);
  EXPECT_EQ(P().heading, 0.0f);
}

TEST_F(BulletSystemTest, SpentProjectileBecomesItsExplosion) {
  const std::int32_t boom = AddSpriteSet(400, Box{-20, -20, 20, 20, 0, 40});
  Projectile& p = Add();
  p.remainingRange = 10.0f;  // spent this tick
  p.explosionSpriteSet = boom;
  p.kind = 7;
  p.damagePhase = 2, p.damage = 9, p.item = 3, p.damageInterval = 250, p.holdLastFrame = 1;
  p.verticalSpeed = 0.0f, p.heading = 0.5f, p.age = 1234, p.motionMode = 1;
  RunBulletSystem(map);
  ASSERT_EQ(Count(), 1u);
  const Projectile& e = P();
  EXPECT_EQ(e.age, 0);
  EXPECT_EQ(e.kind, kProjectileExplosion);
  EXPECT_EQ(e.spriteSet, boom);
  EXPECT_EQ(e.explosionSpriteSet, -1);
  EXPECT_EQ(e.speed, 0.0f);
  EXPECT_EQ(e.remainingRange, 1.0f);
  EXPECT_EQ(e.verticalSpeed, 0.0f);
  EXPECT_EQ(e.heading, 0.0f);
  EXPECT_EQ(e.motionMode, 3);
  ASSERT_EQ(e.collisionShape.rectangles.size(), 1u);
  EXPECT_EQ(e.collisionShape.rectangles[0].left, -20);
  EXPECT_EQ(e.damagePhase, 2);
  EXPECT_EQ(e.damage, 9);
  EXPECT_EQ(e.item, 3);
  EXPECT_EQ(e.damageInterval, 250);
  EXPECT_EQ(e.holdLastFrame, 1);
}

TEST_F(BulletSystemTest, ExplosionLastsItsAnimationThenEndsOrHolds) {
  const std::int32_t set = AddSpriteSet(400);
  struct Case {
    std::uint8_t hold;
    std::int32_t ageBefore;
    std::size_t left;
    std::int32_t ageAfter;
  };
  const Case cases[] = {{0, 250, 1, 350}, {0, 300, 1, 400}, {0, 350, 0, 0}, {1, 350, 1, 400}, {1, 5000, 1, 400}};
  for (const Case& c : cases) {
    gameData.maps[map].projectiles.clear();
    Projectile& p = Add();
    p.kind = kProjectileExplosion;
    p.spriteSet = set;
    p.speed = 0.0f;
    p.motionMode = 3;
    p.remainingRange = 1.0f;
    p.holdLastFrame = c.hold;
    p.age = c.ageBefore;
    RunBulletSystem(map);
    ASSERT_EQ(Count(), c.left) << c.ageBefore;
    if (c.left == 1) {
      EXPECT_EQ(P().age, c.ageAfter);
      EXPECT_EQ(P().remainingRange, 1.0f) << "an explosion keeps its range";
    }
  }
}

TEST_F(BulletSystemTest, ListIsVisitedFromTheLastSoARemovalSkipsNothing) {
  Add(100.0f).remainingRange = 0.0f;  // removed
  Add(200.0f).remainingRange = 1000.0f;
  Add(300.0f).remainingRange = 0.0f;  // removed
  Add(400.0f).remainingRange = 1000.0f;
  RunBulletSystem(map);
  ASSERT_EQ(Count(), 2u);
  EXPECT_FLOAT_EQ(P(0).x, 250.0f);
  EXPECT_FLOAT_EQ(P(1).x, 450.0f);
  EXPECT_EQ(P(0).age, 100);
}

class BulletSoundTest : public AudioFixture {
 protected:
  void SetUp() override {
    AudioFixture::SetUp();
    gameData.Reset();
    shell.Reset();
    world.Install();
    map = gameData.maps.Append();
    shell.frameElapsed = 100;
  }
  FakeCharacterWorld world;
  std::int32_t map = -1;
};

TEST_F(BulletSoundTest, HitSoundPlaysOnceInThreeDimensionsAndIsCleared) {
  const std::int32_t sound = AddSound(kSoundKindSample, {Tone()}, 0, 1);
  SoundLoad(sound);
  SpriteSet boom;
  boom.poses.resize(1);
  boom.poses[0].directions[4].builtFrames.resize(4);
  boom.poses[0].directions[4].frameDuration = 1000;
  gameData.spriteSets.push_back(boom);
  Projectile p;
  p.x = 10.0f, p.y = 20.0f, p.z = 30.0f;
  p.hitSound = sound;
  p.remainingRange = 1000.0f;  // flies on and keeps its sound
  gameData.maps[map].projectiles.push_back(p);
  p.remainingRange = 0.0f;  // spent: plays, then becomes its explosion
  p.explosionSpriteSet = 0;
  gameData.maps[map].projectiles.push_back(p);

  const std::uint32_t sample = soundSets[static_cast<std::size_t>(sound)].variations[0].handle;
  // Channel handles follow the sample's: count the playing ones among the next few.
  const auto playing = [&] {
    std::int32_t count = 0;
    for (std::uint32_t ch = sample + 1; ch <= sample + 16; ++ch) {
      audio::Channel3DAttributes a;
      if (!audio::ChannelGet3DAttributes(ch, a) || audio::ChannelIsActive(ch) != audio::kActivePlaying) continue;
      ++count;
      EXPECT_EQ(a.mode, audio::kMode3DNormal);
      EXPECT_EQ(a.minDistance, 32.0f);
      EXPECT_EQ(a.maxDistance, 1024.0f);
      EXPECT_EQ(a.insideAngle, 360);
      EXPECT_EQ(a.outsideAngle, 360);
    }
    return count;
  };
  RunBulletSystem(map);
  ASSERT_EQ(gameData.maps[map].projectiles.size(), 2u);
  EXPECT_EQ(gameData.maps[map].projectiles[0].hitSound, sound);
  EXPECT_EQ(gameData.maps[map].projectiles[1].hitSound, -1);
  EXPECT_EQ(gameData.maps[map].projectiles[1].kind, kProjectileExplosion);
  EXPECT_EQ(playing(), 1);
  RunBulletSystem(map);
  EXPECT_EQ(playing(), 1) << "played once";
}

}  // namespace
}  // namespace kiv
