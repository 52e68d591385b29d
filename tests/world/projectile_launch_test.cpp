// Launching projectiles: the record each one gets, the launch point, the
// spread, the count, a missing sprite, the ammunition chain and the sound
// that the mixer keeps per channel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "../media/audio_fixture.h"
#include "core/angles.h"
#include "core/folders.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "state/project_settings_block.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "world/item_sounds.h"
#include "world/weapons.h"

namespace kiv {
namespace {

enum : std::int32_t { kGun, kBullet, kShell };
constexpr std::int32_t kShotSprite = 0;
constexpr std::int32_t kBodySprite = 1;

// A body sprite with holding point `slot` in every direction: at (5, -7, 20)
// in pose 6 and at (2, 3, 10) in pose 0, the pose an idle character shows.
SpriteSet BodyWithHoldingPoint(std::int32_t slot) {
  SpriteSet body;
  body.poses.resize(7);
  const auto place = [slot](SpritePose& pose, std::int32_t x, std::int32_t y, std::int32_t z) {
    for (SpriteDirection& d : pose.directions) {
      FramePart part;
      part.kind = kPartSlot;
      part.index = slot;
      part.x = x, part.y = y, part.z = z;
      d.builtFrames.resize(1);
      d.builtFrames[0].parts = {part};
      d.frameDuration = 100;
    }
  };
  place(body.poses[6], 5, -7, 20);
  place(body.poses[0], 2, 3, 10);
  return body;
}

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RandomSeed(5);
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      runs_.push_back(run);
      return Variant();
    };
    SpriteSet shot;
    shot.poses.resize(1);
    gameData.spriteSets = {shot, BodyWithHoldingPoint(1)};
    for (const char16_t* name : {u"Gun", u"Bullet", u"Shell"}) {
      Item item;
      item.name = name;
      gameData.items.push_back(item);
    }
    Item& gun = Gun();
    gun.valueK = 1;  // projectiles per use
    gun.spriteSets[2].index = kShotSprite;
    gun.valueH = 1.0f;  // accuracy
    shooter_ = w.AddCharacter(100, 100, 0);
    S().equipment.resize(1);
  }
  void TearDown() override { scriptHooks.Reset(); }

  Item& Gun() { return gameData.items[kGun]; }
  Actor& S() { return w.M().actors[static_cast<std::size_t>(shooter_)]; }
  std::vector<Projectile>& Shots() { return w.M().projectiles; }
  void Launch(float angle = 0.0f, float factor = 1.0f, bool exact = true) {
    LaunchProjectiles(w.map(), kGun, shooter_, -1, angle, factor, exact);
  }

  test::WorldBuilder w{15, 15, 1};
  std::int32_t shooter_ = -1;
  std::vector<TriggerRun> runs_;
};

TEST_F(LaunchTest, EachProjectileCopiesTheItem) {
  Item& gun = Gun();
  gun.flagA = 1;      // a charge
  gun.flagE = 2;      // damage phase
  gun.valueF = 35;    // damage
  gun.valueO = 500;   // damage interval
  gun.flagN = 1;      // stand to fire: the motion mode
  gun.valueG = 320;   // range
  gun.valueB = 3;     // speed
  gun.valueW = 2;     // turn rate
  gun.valueU = 96;    // homing range
  gun.valueZ2 = -1;   // vertical speed
  gun.sounds[4].index = 7;
  gun.spriteSets[3].index = 9;
  Launch(0.7f);
  ASSERT_EQ(Shots().size(), 1u);
  const Projectile& p = Shots()[0];
  EXPECT_EQ(p.speed, 3.0f);
  EXPECT_EQ(p.spriteSet, kShotSprite);
  EXPECT_EQ(p.explosionSpriteSet, 9);
  EXPECT_EQ(p.hitSound, 7);
  EXPECT_EQ(p.kind, kProjectileCharge);
  EXPECT_EQ(p.damagePhase, 2);
  EXPECT_EQ(p.item, kGun);
  EXPECT_EQ(p.damage, 35);
  EXPECT_EQ(p.damageInterval, 500);
  EXPECT_EQ(p.motionMode, 1);
  EXPECT_EQ(p.chargeTrigger, 1);
  EXPECT_EQ(p.turnRate, 2.0f);
  EXPECT_EQ(p.homingRange, 96);
  EXPECT_EQ(p.heading, 0.7f);
  EXPECT_EQ(p.owner, shooter_);
  EXPECT_EQ(p.scaleX, 1.0f);
  EXPECT_EQ(p.scaleY, 1.0f);
  EXPECT_EQ(p.scaleZ, 1.0f);
  EXPECT_EQ(p.link, -1);
  EXPECT_EQ(p.currentZone, -1);
  EXPECT_EQ(p.remainingRange, 320.0f);
  EXPECT_EQ(p.verticalSpeed, -1.0f);
  EXPECT_EQ(p.age, 0);
  EXPECT_EQ(p.holdLastFrame, 0);
  gun.flagA = 0;
  Launch();
  EXPECT_EQ(Shots()[1].kind, 0);
}

TEST_F(LaunchTest, TheLaunchPoint) {
  struct Case {
    const char* what;
    std::int32_t body;
    bool singleHoldPoint;
    std::int32_t area;       // the item's holding area
    std::int32_t areaPoint;  // the holding point that area names
    float x, y, z;
  };
  const Case cases[] = {
      {"no body sprite: 8 up", -1, false, -1, -1, 100, 100, 17},
      {"a body without a holding area: the position", kBodySprite, false, -1, -1, 100, 100, 1},
      {"an area that names no point: 8 up", kBodySprite, false, 0, -1, 100, 100, 17},
      {"the area's point on the pose shown, scaled", kBodySprite, false, 0, 1, 104, 106, 21},
      {"an area naming a point the pose lacks", kBodySprite, false, 0, 2, 100, 100, 1},
      {"the single holding point of pose 6", kBodySprite, true, -1, -1, 110, 86, 41},
  };
  projectState.equipmentAreas.resize(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Shots().clear();
    S().parts.assign(1, AppearancePart{});
    S().parts[0].spriteSet = c.body;
    S().x = 100.5f, S().y = 99.5f, S().z = 0.6f;  // halves round to even
    S().scaleX = S().scaleY = S().scaleZ = 2.0f;
    storedProjectSettings.flags[6] = c.singleHoldPoint ? 1 : 0;
    Gun().equipmentArea.index = c.area;
    projectState.equipmentAreas[0].value = c.areaPoint;
    Launch();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0].x, c.x);
    EXPECT_EQ(Shots()[0].y, c.y);
    EXPECT_EQ(Shots()[0].z, c.z);
  }
  storedProjectSettings.flags[6] = 0;
}

TEST_F(LaunchTest, SpreadFollowsAccuracy) {
  Gun().valueK = 200;
  Gun().valueH = 1.0f;
  Launch(0.5f, 1.0f, false);
  for (const Projectile& p : Shots()) EXPECT_EQ(p.heading, 0.5f);
  Shots().clear();
  Gun().valueH = 0.0f;
  Launch(0.5f, 1.0f, false);
  float low = 10, high = -10;
  for (const Projectile& p : Shots()) {
    low = std::min(low, p.heading);
    high = std::max(high, p.heading);
  }
  EXPECT_GE(low, 0.5f - kPiOver8);
  EXPECT_LT(high, 0.5f + kPiOver8);
  EXPECT_LT(low, 0.5f - kPiOver8 * 0.8f);
  EXPECT_GT(high, 0.5f + kPiOver8 * 0.8f);
  // An exact launch keeps the angle whatever the accuracy.
  Shots().clear();
  Launch(0.5f, 1.0f, true);
  for (const Projectile& p : Shots()) EXPECT_EQ(p.heading, 0.5f);
}

TEST_F(LaunchTest, TheCountOfOneUse) {
  struct Case {
    std::int32_t flags, delay;
    float factor;
    std::int32_t count;
  };
  const Case cases[] = {
      {0, 250, 500.0f, 3},                // not automatic: the item's count
      {kItemAutomatic, 250, 500.0f, 9},   // (500 \ 250) x 3 more
      {kItemAutomatic, 250, 499.9f, 6},   // Int(499.9) \ 250 = 1
      {kItemAutomatic, 250, 1.0f, 3},     // the usual rate adds nothing
      {kItemAutomatic, 0, 500.0f, 3},     // no delay: no extra term (it would divide by zero)
  };
  for (const Case& c : cases) {
    Gun().valueK = 3;
    Gun().flagsX = c.flags;
    Gun().valueJ = c.delay;
    EXPECT_EQ(ProjectilesPerUse(kGun, c.factor), c.count) << c.flags << " " << c.delay << " " << c.factor;
    Shots().clear();
    Launch(0.0f, c.factor);
    EXPECT_EQ(Shots().size(), static_cast<std::size_t>(c.count));
  }
}

TEST_F(LaunchTest, AMissingProjectileSpriteIsLoggedAndEndsTheLaunch) {
  test::TempDir dir;
  setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
  gameFolder = dir.Path() + "/Game";
  Gun().spriteSets[2].index = -1;
  Gun().linkedItem.index = kBullet;
  Launch();
  EXPECT_TRUE(Shots().empty());
  // The gun's own use script ran; its ammunition's did not.
  ASSERT_EQ(runs_.size(), 1u);
  EXPECT_EQ(runs_[0].ownerIndex, kGun);
  const ByteList log = test::ReadTestFile(dir.Path() + "/Kiv/Games/Game/ERROR.LOG");
  EXPECT_EQ(std::string(log.begin(), log.end()), "\"Gun\" is missing projectile effect.\r\n");
  // Without projectiles nothing is missing.
  Gun().valueK = 0;
  runs_.clear();
  Launch();
  EXPECT_EQ(runs_.size(), 2u);
  gameFolder.clear();
  unsetenv("XDG_DATA_HOME");
}

TEST_F(LaunchTest, TheAmmunitionChainIsFollowedOnce) {
  struct Case {
    const char* what;
    std::int32_t gunAmmo, bulletAmmo, shellAmmo;
    std::vector<std::pair<std::int32_t, std::int32_t>> runs;  // item, parent item
  };
  const Case cases[] = {
      {"its own ammunition runs once", kGun, -1, -1, {{kGun, -1}}},
      {"a chain in order, each with its parent", kBullet, kShell, -1,
       {{kGun, -1}, {kBullet, kGun}, {kShell, kBullet}}},
      {"a loop of two ends where it started", kBullet, kGun, -1, {{kGun, -1}, {kBullet, kGun}}},
      {"a loop of three", kBullet, kShell, kGun, {{kGun, -1}, {kBullet, kGun}, {kShell, kBullet}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.items[kGun].linkedItem.index = c.gunAmmo;
    gameData.items[kBullet].linkedItem.index = c.bulletAmmo;
    gameData.items[kShell].linkedItem.index = c.shellAmmo;
    gameData.items[kBullet].valueK = 4;  // the ammunition launches no projectiles of its own
    gameData.items[kBullet].spriteSets[2].index = -1;
    runs_.clear();
    Shots().clear();
    Launch();
    ASSERT_EQ(runs_.size(), c.runs.size());
    for (std::size_t k = 0; k < runs_.size(); ++k) {
      EXPECT_EQ(runs_[k].ownerKind, kOwnerItem);
      EXPECT_EQ(runs_[k].subIndex, 1);
      EXPECT_EQ(runs_[k].ownerIndex, c.runs[k].first);
      EXPECT_EQ(runs_[k].relateItem, c.runs[k].second);
      EXPECT_EQ(runs_[k].relateActor, shooter_);
    }
    EXPECT_EQ(Shots().size(), 1u);
  }
}

// What the mixer keeps per channel after an item sound.
using ItemSoundTest = AudioFixture;

TEST_F(ItemSoundTest, ItemSoundsArePlacedWithTheFixedDistancesAndCones) {
  const std::int32_t sound = AddSound(kSoundKindSample, {Tone()}, 0, 1);
  SoundLoad(sound);
  struct Case {
    float x, y, z;
  };
  const Case cases[] = {{10, 20, 30}, {-4.5f, 0, 8}, {1000, 2000, 0}};
  for (const Case& c : cases) {
    const std::uint32_t channel = PlayItemSoundAt(sound, c.x, c.y, c.z);
    ASSERT_NE(channel, 0u);
    audio::Channel3DAttributes a;
    ASSERT_TRUE(audio::ChannelGet3DAttributes(channel, a));
    EXPECT_EQ(a.mode, audio::kMode3DNormal);
    EXPECT_EQ(a.minDistance, 32.0f);
    EXPECT_EQ(a.maxDistance, 1024.0f);
    EXPECT_EQ(a.insideAngle, 360);
    EXPECT_EQ(a.outsideAngle, 360);
    EXPECT_EQ(a.outsideVolume, 0.0f);
    Vector3 position, orientation, velocity;
    ASSERT_TRUE(audio::ChannelGet3DPosition(channel, position, orientation, velocity));
    EXPECT_EQ(position, (Vector3{c.x, c.y, c.z}));
    EXPECT_FLOAT_EQ(orientation.x, 1.0f);
    EXPECT_FLOAT_EQ(orientation.y, 0.0f);
    EXPECT_EQ(velocity, (Vector3{0, 0, 0}));
  }
  // No sound, or one beyond the table, plays nothing and raises nothing.
  EXPECT_EQ(PlayItemSoundAt(-1, 0, 0, 0), 0u);
  EXPECT_EQ(PlayItemSoundAt(99, 0, 0, 0), 0u);
}

}  // namespace
}  // namespace kiv
