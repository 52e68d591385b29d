#include "world/weapons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/angles.h"
#include "core/error.h"
#include "core/folders.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "world/combat_fields.h"

namespace kiv {
namespace {

enum : std::int32_t { kGun, kBullet, kShell, kTorch };

class WeaponsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RandomSeed(11);
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      runs_.push_back(run);
      return Variant();
    };
    SpriteSet shot;
    shot.poses.resize(1);
    gameData.spriteSets = {shot};
    gameData.statistics.resize(2);
    for (const char16_t* name : {u"Gun", u"Bullet", u"Shell", u"Torch"}) {
      Item item;
      item.name = name;
      item.statisticValues = {std::vector<std::int32_t>{0, 0}, {0, 0}, {0, 0}};
      gameData.items.push_back(item);
    }
    Item& gun = Gun();
    gun.linkedItem.index = kBullet;
    gun.valueI = 6;    // clip
    gun.valueT = 2;    // rounds per use
    gun.valueL = 900;  // reload time
    gun.valueJ = 250;  // delay between uses
    projectState.players.resize(1);
    projectState.players[0].mapIndex = w.map();
    shooter_ = w.AddCharacter(100, 100, 0);
    Actor& a = S();
    a.equipment.resize(2);
    a.statistics = {{Identifier(), 10, 10}, {Identifier(), 5, 5}};
    a.equipment[0].item = kGun;
    a.equipment[0].ammunition = 6;
  }
  void TearDown() override { scriptHooks.Reset(); }

  Item& Gun() { return gameData.items[kGun]; }
  Actor& S() { return w.M().actors[static_cast<std::size_t>(shooter_)]; }
  InventoryEntry& Slot() { return S().equipment[0]; }
  void MakePlayers() {
    S().owningPlayer = 0;
    projectState.players[0].party = {PartyMember{}};
    projectState.players[0].party[0].character = shooter_;
  }
  static void Stock(std::int32_t item, std::int32_t quantity) {
    InventoryEntry e;
    e.item = item, e.quantity = quantity;
    projectState.players[0].items.push_back(e);
  }
  bool Use() { return UseCharacterWeapon(w.map(), shooter_, shooter_, kGun, 0, 0.0f, 1.0f, true); }

  test::WorldBuilder w{15, 15, 1};
  std::int32_t shooter_ = -1;
  std::vector<TriggerRun> runs_;
};

TEST_F(WeaponsTest, FireGates) {
  struct Case {
    const char* what;
    float z;
    std::int32_t item;
    std::int32_t fireWait;
    std::int32_t owner;
    std::int32_t leader;
    std::uint8_t held, pressFired;
    std::int32_t flags;
    bool bypass;
    bool fires;
    std::uint8_t pressFiredAfter;
  };
  const Case cases[] = {
      {"a character at -38 does not fire", -38.0f, kGun, 0, -1, -1, 1, 0, 0, true, false, 0},
      {"just above -38 it does", -37.9f, kGun, 0, -1, -1, 1, 0, 0, true, true, 0},
      {"an empty area", 0, -1, 0, -1, -1, 1, 0, 0, true, false, 0},
      {"a running wait", 0, kGun, 1, -1, -1, 1, 0, 0, true, false, 0},
      {"a wait run below 0 fires", 0, kGun, -30, -1, -1, 1, 0, 0, true, true, 0},
      {"AI with bypass ignores the control", 0, kGun, 0, -1, -1, 0, 1, 0, true, true, 1},
      {"without bypass the control must be held", 0, kGun, 0, -1, -1, 0, 0, 0, false, false, 0},
      {"held without bypass fires and marks the press", 0, kGun, 0, -1, -1, 1, 0, 0, false, true, 1},
      {"a press that fired does not fire again", 0, kGun, 0, -1, -1, 1, 1, 0, false, false, 1},
      {"an automatic item fires while held", 0, kGun, 0, -1, -1, 1, 1, kItemAutomatic, false, true, 1},
      {"a leaderless player's character keeps the press rules", 0, kGun, 0, 0, -1, 0, 0, 0, true, false, 0},
      {"a follower of a player is bypassed", 0, kGun, 0, 0, 7, 0, 0, 0, true, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Gun().flagsX = c.flags;
    S().z = c.z;
    S().owningPlayer = c.owner;
    S().targetActor = c.leader;  // LeaderActor
    Slot().item = c.item;
    Slot().ammunition = 6;
    Slot().fireWait = c.fireWait;
    TriggerHeld(Slot()) = c.held;
    PressFired(Slot()) = c.pressFired;
    TryFireCharacterWeapon(w.map(), shooter_, 0, 0.0f, 1.0f, true, c.bypass);
    EXPECT_EQ(Slot().ammunition, c.fires ? 4 : 6);
    EXPECT_EQ(PressFired(Slot()), c.pressFiredAfter);
  }
}

TEST_F(WeaponsTest, AFailedUseReleasesTheControl) {
  Slot().ammunition = 1;  // fewer than the 2 a use needs: a follower reloads, the use fails
  TriggerHeld(Slot()) = 1;
  TryFireCharacterWeapon(w.map(), shooter_, 0, 0.0f, 1.0f, true, false);
  EXPECT_EQ(TriggerHeld(Slot()), 0);
  EXPECT_EQ(Slot().ammunition, 6);  // a character of no player refills for free
  EXPECT_EQ(Slot().fireWait, 900);
}

TEST_F(WeaponsTest, AClipOfSixAtTwoPerUseFiresThreeTimes) {
  MakePlayers();
  for (int k = 0; k < 3; ++k) {
    Slot().fireWait = 0;
    EXPECT_TRUE(Use()) << k;
  }
  EXPECT_EQ(Slot().ammunition, 0);
  Stock(kBullet, 10);
  Slot().fireWait = 0;
  // A leaderless player's character gets the empty sound and no reload.
  EXPECT_FALSE(Use());
  EXPECT_EQ(Slot().ammunition, 0);
  EXPECT_EQ(projectState.players[0].items[0].quantity, 10);
  // A follower reloads from the stock instead (and fails this time).
  S().targetActor = 3;
  EXPECT_FALSE(Use());
  EXPECT_EQ(Slot().ammunition, 6);
  EXPECT_EQ(projectState.players[0].items[0].quantity, 4);
  EXPECT_EQ(Slot().fireWait, 900);
}

TEST_F(WeaponsTest, ReloadTakesWhatTheStockHas) {
  MakePlayers();
  Slot().ammunition = 2;
  Stock(kBullet, 3);
  ReduceWeaponAmmo(w.map(), shooter_, kGun, 0, 0, 0, 0, 0);
  EXPECT_EQ(Slot().ammunition, 5);
  EXPECT_EQ(Slot().fireWait, 900);
  EXPECT_TRUE(projectState.players[0].items.empty());
  // Nothing left: no change, no wait.
  Slot().fireWait = 0;
  ReduceWeaponAmmo(w.map(), shooter_, kGun, 0, 0, 0, 0, 0);
  EXPECT_EQ(Slot().ammunition, 5);
  EXPECT_EQ(Slot().fireWait, 0);
  // A full clip does nothing; an explicit amount is the change.
  ReduceWeaponAmmo(w.map(), shooter_, kGun, 0, 0, 0, 0, -3);
  EXPECT_EQ(Slot().ammunition, 2);
}

TEST_F(WeaponsTest, AmmunitionIsClampedToTheClip) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {{-5, 0}, {99, 6}, {4, 4}, {0, 0}, {6, 6}};
  for (const auto& [value, stored] : cases) {
    SetWeaponAmmo(w.map(), shooter_, kGun, value);
    EXPECT_EQ(Slot().ammunition, stored) << value;
    EXPECT_EQ(GetWeaponAmmo(w.map(), shooter_, kGun), stored);
  }
}

TEST_F(WeaponsTest, AnItemInThePlayersInventoryKeepsItsRounds) {
  MakePlayers();
  Slot().item = -1;
  Stock(kGun, 1);
  SetWeaponAmmo(w.map(), shooter_, kGun, 3);
  EXPECT_EQ(projectState.players[0].items[0].ammunition, 3);
  EXPECT_EQ(GetWeaponAmmo(w.map(), shooter_, kGun), 3);
}

TEST_F(WeaponsTest, TheTwoAmmunitionMessages) {
  S().name = u"Character Guard";
  try {
    GetWeaponAmmo(w.map(), shooter_, kTorch);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -1);
    EXPECT_EQ(std::string(e.what()),
              "Non-playable character \"Character Guard\" does not have \"Torch\" equipped to alter/check the "
              "ammo in it.");
  }
  MakePlayers();
  try {
    SetWeaponAmmo(w.map(), shooter_, kTorch, 1);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -1);
    EXPECT_EQ(std::string(e.what()),
              "The playable character \"Character Guard\" does not have a \"Torch\" to alter/check the ammo in it.");
  }
}

TEST_F(WeaponsTest, TheNextWaitCarriesTheRemainderOfTheLast) {
  struct Case {
    float factor;
    std::int32_t delay, before, wait, attackTime;
  };
  const Case cases[] = {
      {1.0f, 250, -30, 280, 250},  // a wait that ran below 0 shortens the next one
      {1.0f, 250, 0, 250, 250},
      {0.5f, 5, 0, 2, 2},          // 2.5 rounds half to even
      {0.5f, 7, 0, 4, 4},          // 3.5 rounds half to even
      {2.0f, 100, -20, 220, 200},
  };
  for (const Case& c : cases) {
    Gun().valueJ = c.delay;
    Slot().ammunition = 6;
    Slot().fireWait = c.before;
    ASSERT_TRUE(UseCharacterWeapon(w.map(), shooter_, -1, kGun, 0, 0.0f, c.factor, true));
    EXPECT_EQ(Slot().fireWait, c.wait) << c.delay << " " << c.before;
    EXPECT_EQ(S().attackTimer, c.attackTime);
    EXPECT_EQ(S().attackArea, 0);
  }
}

TEST_F(WeaponsTest, TargetRulesAndStatisticCosts) {
  const std::int32_t other = w.AddCharacter(140, 100, 0);
  w.M().actors[static_cast<std::size_t>(other)].statistics = {{Identifier(), 10, 0}, {Identifier(), 0, 0}};
  struct Case {
    const char* what;
    std::int32_t flags;
    std::int32_t hp;
    std::int32_t cost1;
    bool used;
  };
  const Case cases[] = {
      {"no target flags: anything", 0, 0, 0, true},
      {"living only refuses the dead", kItemOnLiving, 0, 0, false},
      {"living only takes the living", kItemOnLiving, 5, 0, true},
      {"dead only refuses the living", kItemOnDead, 5, 0, false},
      {"dead only takes the dead", kItemOnDead, 0, 0, true},
      {"the whole party skips the test", kItemOnLiving | kItemWholeParty, 0, 0, true},
      {"a cost above the value refuses", 0, 5, 6, false},
      {"a cost equal to the value is paid", 0, 5, 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Gun().flagsX = c.flags;
    Gun().statisticValues[1] = {0, c.cost1};
    w.M().actors[static_cast<std::size_t>(other)].statistics[0].currentValue = c.hp;
    S().statistics[1].currentValue = 5;
    Slot().ammunition = 6;
    Slot().fireWait = 0;
    EXPECT_EQ(UseCharacterWeapon(w.map(), shooter_, other, kGun, 0, 0.0f, 1.0f, true), c.used);
    EXPECT_EQ(S().statistics[1].currentValue, c.used ? 5 - c.cost1 : 5);
  }
}

TEST_F(WeaponsTest, AnItemWithoutAClipTakesRoundsFromTheStock) {
  MakePlayers();
  Gun().valueI = 0;
  Gun().linkedItem.index = -1;  // its own ammunition
  Gun().valueT = 1;
  Slot().item = kGun;
  Stock(kGun, 1);
  EXPECT_TRUE(Use());
  EXPECT_TRUE(projectState.players[0].items.empty());
  // None left: the held one is taken off and used as the round.
  Slot().fireWait = 0;
  EXPECT_TRUE(Use());
  EXPECT_EQ(Slot().item, -1);
  EXPECT_TRUE(projectState.players[0].items.empty());
  // With an ammunition item a missing round only plays the empty sound.
  Gun().linkedItem.index = kBullet;
  Slot().item = kGun;
  EXPECT_FALSE(Use());
  EXPECT_EQ(Slot().item, kGun);
  // A character of no player uses no rounds.
  S().owningPlayer = -1;
  EXPECT_TRUE(Use());
}

}  // namespace
}  // namespace kiv
