// Damage, death and area damage on a small map whose characters' triggers
// mark which events reach them, with a seeded random generator.
#include "world/damage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/number_text.h"
#include "core/random.h"
#include "data/project_state.h"
#include "player/character_fields.h"
#include "player/character_world.h"
#include "script/trigger_engine_fixture.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"
#include "world/combat_fields.h"
#include "world/combat_targets.h"
#include "world/damage_fields.h"
#include "world/reference_fields.h"

namespace kiv {
namespace {

constexpr std::int32_t kEvents[] = {kEventSawEnemy,    kEventLostEnemy,         kEventActorKilled,
                                    kEventActorDamaged, kEventActorDamagedActor, kEventActorAttacked};
constexpr std::size_t kDamageByScriptFlag = 11;  // option 12

class DamageTest : public test::TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    projectState.teams.assign(3, Team());
    // Teams 0 and 1 are hostile to each other; team 2 is nobody's enemy.
    projectState.teams[0].relations = {1, -1, 0};
    projectState.teams[1].relations = {-1, 1, 0};
    projectState.teams[2].relations = {0, 0, 1};
    storedProjectSettings.flags.fill(0);
    RandomSeed(31);
  }
  void TearDown() override {
    characterWorld.Reset();
    projectState.teams.clear();
    projectState.players.clear();
    storedProjectSettings.flags.fill(0);
    for (Script& s : systemScripts) s = Script();
    TriggerEngineTest::TearDown();
  }

  // A character with hit points whose triggers mark 1000 x index + event.
  std::int32_t AddFighter(float x, float y, std::int32_t team, std::int32_t hp, std::int32_t max) {
    Actor actor;
    actor.x = x;
    actor.y = y;
    actor.team = team;
    actor.statistics = {StatisticValue{{}, max, hp}, StatisticValue{{}, 50, 40}};
    actor.collisionShape = test::MakeBoxShape(Box{-8, -8, 8, 8, 0, 48});
    const auto index = static_cast<std::int32_t>(gameData.maps[0].actors.size());
    for (std::int32_t event : kEvents) actor.triggers.push_back(MarkTrigger(event, index * 1000 + event));
    gameData.maps[0].actors.push_back(std::move(actor));
    return index;
  }
  static Trigger MarkTrigger(std::int32_t event, std::int32_t mark) {
    Trigger trigger;
    trigger.event = event;
    trigger.script.text = u"Mark(" + Number(mark) + u")";
    BuildTriggerConditions(trigger);
    CompileScript(trigger.script);
    LinkScript(trigger.script, true);
    RegisterScript(trigger.script);
    return trigger;
  }
  static std::u16string Number(std::int32_t n) {
    const std::string text = std::to_string(n);
    return std::u16string(text.begin(), text.end());
  }
  Actor& A(std::int32_t i) { return gameData.maps[0].actors[static_cast<std::size_t>(i)]; }
  std::vector<std::int32_t> MarkNumbers() const {
    std::vector<std::int32_t> numbers;
    for (const Variant& mark : Marks()) numbers.push_back(static_cast<std::int32_t>(ToNumber(mark)));
    return numbers;
  }

};

TEST_F(DamageTest, HitPointsAndTheNumberShown) {
  struct Case {
    const char* what;
    std::int32_t hp, max, damage;
    std::int32_t hpAfter, state, shown, showTime;
  };
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::vector<Case> cases = {
      {"plain damage", 80, 100, 30, 50, 0, 30, 1500},
      {"a heal stops at the maximum", 90, 100, -20, 100, 0, -20, 1500},
      {"no hit points: nothing", 0, 0, 30, 0, 0, 0, 0},
      {"no hit points: the kill still kills, without a number", 0, 0, kKillDamage, 0, kStateDying, 0, 0},
      {"the kill on a living one", 80, 100, kKillDamage, 0, kStateDying, 0, 0},
      {"a huge damage shows nine digits", 80, 100, 1000000000, 0, kStateDying, 999999999, 1500},
      {"the largest damage", 80, 100, kMax, 0, kStateDying, 999999999, 1500},
      {"a huge heal shows nine digits", 80, 100, -1000000000, 100, 0, -999999999, 1500},
      {"the smallest heal does not wrap", 80, 100, kMin, 100, 0, -999999999, 1500},
      {"nothing dealt shows 0", 80, 100, 0, 80, 0, 0, 1500},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    gameData.maps[0].actors.clear();
    const std::int32_t v = AddFighter(0, 0, 0, k.hp, k.max);
    A(v).timeSinceHurt = 700;
    DamageCharacter(0, v, k.damage, -1, -1);
    EXPECT_EQ(HealthCurrent(A(v)), k.hpAfter);
    EXPECT_EQ(A(v).state, k.state);
    EXPECT_EQ(A(v).damageShown, k.shown);
    EXPECT_EQ(A(v).damageShowTime, k.showTime);
    if (k.showTime > 0) {
      EXPECT_FLOAT_EQ(A(v).damageRise, 0.28f);
      EXPECT_EQ(A(v).damageOffset, 0.0f);
    }
    const bool dealt = k.damage > 0 && (k.max > 0 || k.damage == kKillDamage);
    EXPECT_EQ(RecoverTime(A(v)), dealt ? 0 : 700);
  }
}

TEST_F(DamageTest, EventsOfDamageHealAndDeath) {
  const std::int32_t attacker = AddFighter(0, 0, 0, 100, 100);
  const std::int32_t v = AddFighter(500, 0, 1, 50, 100);
  DamageCharacter(0, v, 10, attacker, -1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1549, 1550}));
  EXPECT_EQ(LastAttacker(A(v)), attacker);
  EXPECT_EQ(LastVictim(A(attacker)), v);
  calls_.clear();
  DamageCharacter(0, v, -10, attacker, -1);  // a heal raises nothing
  EXPECT_TRUE(MarkNumbers().empty());
  // Dying drops the victim's motion requests.
  A(v).keyForward = 1.0f;
  A(v).keyTurning = -1.0f;
  A(v).movementX = 0.25f;
  DamageCharacter(0, v, 50, -1, -1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1549, 1542}));
  EXPECT_EQ(A(v).aiState, kAIReturning);
  EXPECT_EQ(A(v).keyForward, 0.0f);
  EXPECT_EQ(A(v).keyTurning, 0.0f);
  EXPECT_EQ(A(v).movementX, 0.0f);
}

TEST_F(DamageTest, AnAttackerAlertsFreeHostileCharactersNearTheVictim) {
  const std::int32_t attacker = AddFighter(1000, 1000, 0, 100, 100);
  const std::int32_t v = AddFighter(0, 0, 1, 100, 100);
  struct Near {
    float x;
    std::int32_t team, aiFlags, aiState;
    bool alerted;
  };
  const std::vector<Near> near = {
      {96, 1, 1, kAIIdle, true},         // exactly at 96 px
      {0, 1, 1, kAIReturning, true},     // returning counts as free
      {97, 1, 1, kAIIdle, false},        // beyond
      {10, 1, 1, kAIChasing, false},     // busy
      {10, 1, 0, kAIIdle, false},        // no combat behaviour
      {10, 0, 1, kAIIdle, false},        // the attacker's own team
  };
  std::vector<std::int32_t> indexes;
  for (const Near& n : near) {
    indexes.push_back(AddFighter(n.x, 0, n.team, 10, 10));
    A(indexes.back()).aiFlags = n.aiFlags;
    A(indexes.back()).aiState = n.aiState;
  }
  DamageCharacter(0, v, 1, attacker, -1);
  for (std::size_t k = 0; k < near.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(AIFocusActor(A(indexes[k])), near[k].alerted ? attacker : -1);
  }
}

TEST_F(DamageTest, DeathDropsOnTheSpiralEndsOwnChargesAndRewardsAnotherPlayer) {
  projectState.players.assign(2, Player());
  projectState.players[0].mapIndex = 0;
  const std::int32_t attacker = AddFighter(0, 0, 0, 100, 100);
  const std::int32_t v = AddFighter(200, 100, 1, 10, 100);
  const std::int32_t friendOfAttacker = AddFighter(0, 50, 0, 100, 100);
  A(attacker).owningPlayer = 0;
  A(friendOfAttacker).owningPlayer = 0;
  projectState.players[0].party = {PartyMember{}, PartyMember{}};
  projectState.players[0].party[0].character = attacker;
  projectState.players[0].party[1].character = friendOfAttacker;
  // No level is reached: the experience is only counted.
  projectState.players[0].party[0].experienceBase = projectState.players[0].party[1].experienceBase = 100000;
  projectState.players[0].money = 10000;
  PlayerPoints(projectState.players[0]) = 3;
  Actor& victim = A(v);
  victim.money = 25000;
  victim.points = 7;
  victim.experience = 40;
  victim.items = {InventoryEntry{}, InventoryEntry{}, InventoryEntry{}};
  victim.items[0].item = 0;  // always drops, all of it
  victim.items[0].flag = 100;
  victim.items[0].quantity = 250;
  victim.items[1].item = 1;  // half: 2.5 per success of 100 rolls
  victim.items[1].flag = 50;
  victim.items[1].quantity = 250;
  victim.items[2].item = 2;  // never
  victim.items[2].flag = 0;
  victim.items[2].quantity = 9;
  victim.equipment = {InventoryEntry{}};
  victim.equipment[0].flag = 1;
  victim.equipment[0].pressFired = 1;
  gameData.items.resize(3);
  std::vector<Projectile>& shots = gameData.maps[0].projectiles;
  shots.resize(4);
  for (Projectile& p : shots) {
    p.owner = v;
    p.kind = 4;
    p.damagePhase = 2;
    p.remainingRange = 50.0f;
  }
  shots[1].owner = attacker;
  shots[2].kind = 0;
  shots[3].damagePhase = 1;

  RandomSeed(77);
  std::int32_t successes = 0;
  for (int k = 0; k < 100; ++k)
    if (RandomNext() * 100.0 <= 50) ++successes;
  RandomSeed(77);
  DamageCharacter(0, v, 30, attacker, -1);

  EXPECT_EQ(A(v).state, kStateDying);
  EXPECT_EQ(A(v).equipment[0].flag, 0);
  EXPECT_EQ(A(v).equipment[0].pressFired, 0);
  const std::vector<PickUp>& drops = gameData.maps[0].pickUps;
  ASSERT_EQ(drops.size(), 2u);
  EXPECT_EQ(drops[0].items[0].item, 0);
  EXPECT_EQ(drops[0].items[0].quantity, 250);
  EXPECT_FLOAT_EQ(drops[0].x, 200.0f);
  EXPECT_FLOAT_EQ(drops[0].y, 100.0f);
  EXPECT_EQ(drops[1].items[0].quantity, static_cast<std::int32_t>(std::nearbyint(2.5 * successes)));
  EXPECT_FLOAT_EQ(drops[1].x, static_cast<float>(200.0 + 2.0 * std::cos(1.0)));
  EXPECT_FLOAT_EQ(drops[1].y, static_cast<float>(100.0 + 2.0 * std::sin(1.0)));
  EXPECT_EQ(shots[0].remainingRange, 0.0f);
  EXPECT_EQ(shots[1].remainingRange, 50.0f);  // another owner
  EXPECT_EQ(shots[2].remainingRange, 50.0f);  // not a charge
  EXPECT_EQ(shots[3].remainingRange, 50.0f);  // another phase
  EXPECT_EQ(projectState.players[0].money, 35000);
  EXPECT_EQ(PlayerPoints(projectState.players[0]), 10);
  EXPECT_EQ(projectState.players[0].party[0].experience, 40);
  EXPECT_EQ(projectState.players[0].party[1].experience, 40);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1549, 1550, 1542}));

  // A second blow on the dying: no second death, drop or reward.
  calls_.clear();
  A(v).statistics[0].currentValue = 0;
  DamageCharacter(0, v, 30, attacker, -1);
  EXPECT_EQ(drops.size(), 2u);
  EXPECT_EQ(projectState.players[0].money, 35000);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1549, 1550}));
  A(v).state = kStateDead;
  DamageCharacter(0, v, 30, attacker, -1);
  EXPECT_EQ(A(v).state, kStateDead);
  EXPECT_EQ(drops.size(), 2u);
}

TEST_F(DamageTest, RewardsOnlyForAnAttackerOfAnotherPlayer) {
  projectState.players.assign(2, Player());
  struct Case {
    std::int32_t attackerOwner, victimOwner;
    std::int64_t money;
  };
  for (const Case& k : {Case{-1, -1, 0}, Case{1, 1, 0}, Case{1, -1, 500}, Case{1, 0, 500}}) {
    gameData.maps[0].actors.clear();
    projectState.players[1].money = 0;
    const std::int32_t attacker = AddFighter(0, 0, 0, 100, 100);
    const std::int32_t v = AddFighter(0, 0, 1, 10, 100);
    A(attacker).owningPlayer = k.attackerOwner;
    A(v).owningPlayer = k.victimOwner;
    A(v).money = 500;
    DamageCharacter(0, v, 10, attacker, -1);
    EXPECT_EQ(projectState.players[1].money, k.money);
  }
}

TEST_F(DamageTest, APartyVictimLeavesTheChainAndTheLastOneDownRunsTheSystemScript) {
  systemScripts[kPartyDownSystemScript] = MakeScript(u"Mark(8)");
  projectState.players.assign(1, Player());
  Player& player = projectState.players[0];
  player.mapIndex = 0;
  const std::int32_t a = AddFighter(0, 0, 0, 10, 100);
  const std::int32_t b = AddFighter(0, 0, 0, 10, 100);
  player.party = {PartyMember{}, PartyMember{}};
  player.party[0].character = a;
  player.party[1].character = b;
  for (std::int32_t i : {a, b}) {
    A(i).owningPlayer = 0;
  }
  A(a).partyMember = 0;
  A(b).partyMember = 1;
  LeaderActor(A(b)) = a;  // b follows a
  player.controlledMember = 0;

  DamageCharacter(0, a, 20, -1, -1);
  EXPECT_EQ(LeaderActor(A(b)), -1);
  EXPECT_EQ(player.controlledMember, 1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{549, 542}));  // b still stands
  calls_.clear();
  DamageCharacter(0, b, 20, -1, -1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1549, 1542, 8}));
}

TEST_F(DamageTest, TheLastKillOfASpawnRunsItsScript) {
  gameData.maps[0].spawns.resize(1);
  Spawn& spawn = gameData.maps[0].spawns[0];
  spawn.count = 2;
  spawn.scripts[kSpawnAllKilledScript] = MakeScript(u"Mark(3)");
  const std::int32_t a = AddFighter(0, 0, 1, 10, 100);
  const std::int32_t b = AddFighter(0, 0, 1, 10, 100);
  SpawnedBy(A(a)) = 0;
  SpawnedBy(A(b)) = 0;
  DamageCharacter(0, a, 10, -1, -1);
  EXPECT_EQ(KilledCount(gameData.maps[0].spawns[0]), 1);
  EXPECT_EQ(SpawnedBy(A(a)), -1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{549, 542}));
  calls_.clear();
  DamageCharacter(0, b, 10, -1, -1);
  EXPECT_EQ(KilledCount(gameData.maps[0].spawns[0]), 2);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1549, 1542, 3}));
}

class AreaDamageTest : public DamageTest {
 protected:
  bool Hit(std::int32_t attacker, std::int32_t damage, std::int32_t item, std::int32_t projectile, bool friends) {
    const CollisionShape box = test::MakeBoxShape(Box{-20, -20, 20, 20, 0, 48});
    return ApplyAreaDamage(0, box, 0, 0, 0, 0, 0, 0, attacker, damage, item, projectile, friends);
  }
};

TEST_F(AreaDamageTest, FriendsAndTheAttackerAreSkippedUnlessHitFriends) {
  const std::int32_t attacker = AddFighter(0, 0, 0, 100, 100);
  const std::int32_t mate = AddFighter(5, 0, 0, 100, 100);
  const std::int32_t enemy = AddFighter(-5, 0, 1, 100, 100);
  const std::int32_t far = AddFighter(300, 0, 1, 100, 100);
  EXPECT_TRUE(Hit(attacker, 10, -1, -1, false));
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{2551}));  // the trigger decides the damage
  EXPECT_EQ(HealthCurrent(A(enemy)), 100);
  calls_.clear();
  EXPECT_TRUE(Hit(attacker, 10, -1, -1, true));
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{551, 1551, 2551}));
  calls_.clear();
  // Without an attacker everyone in the shape is damaged.
  EXPECT_TRUE(Hit(-1, 10, -1, -1, false));
  EXPECT_EQ(HealthCurrent(A(attacker)), 90);
  EXPECT_EQ(HealthCurrent(A(mate)), 90);
  EXPECT_EQ(HealthCurrent(A(enemy)), 90);
  EXPECT_EQ(HealthCurrent(A(far)), 100);
  // A miss of everyone, and a hit on characters that are not solid, answer False.
  A(enemy).solid = 0;
  EXPECT_FALSE(Hit(attacker, 10, -1, -1, false));
  gameData.maps[0].actors.clear();
  EXPECT_FALSE(Hit(-1, 10, -1, -1, false));
}

TEST_F(AreaDamageTest, AnImmuneTemplateIsHitButNotHarmed) {
  gameData.statistics.resize(2);
  gameData.items.resize(1);
  gameData.items[0].templateFlags.resize(2);
  gameData.items[0].templateFlags[1].flag = 1;
  gameData.items[0].valueY = kEffectOnValues;
  gameData.items[0].statisticValues[2] = {-5, 0};
  const std::int32_t immune = AddFighter(0, 0, 1, 100, 100);
  const std::int32_t plain = AddFighter(3, 0, 1, 100, 100);
  A(immune).templateIndex = 1;
  A(plain).templateIndex = 0;
  EXPECT_TRUE(Hit(-1, 10, 0, -1, false));
  EXPECT_EQ(HealthCurrent(A(immune)), 100);
  EXPECT_EQ(HealthCurrent(A(plain)), 85);  // the damage, then the item's effect
  A(plain).solid = 0;
  EXPECT_TRUE(Hit(-1, 10, 0, -1, false));  // the immune one is solid
}

TEST_F(AreaDamageTest, DamageBySystemScript) {
  storedProjectSettings.flags[kDamageByScriptFlag] = -1;
  const std::int32_t attacker = AddFighter(100, 100, 0, 100, 100);
  const std::int32_t enemy = AddFighter(0, 0, 1, 100, 100);
  struct Case {
    const char16_t* script;
    std::int32_t hp;
  };
  for (const Case& k : {Case{u"Return(33)", 67}, Case{u"Return(\"12.5\")", 55}, Case{u"Return(\"many\")", 55}}) {
    systemScripts[kDamageSystemScript] = MakeScript(k.script);
    EXPECT_TRUE(Hit(attacker, 10, -1, -1, false));
    EXPECT_EQ(HealthCurrent(A(enemy)), k.hp);
  }
  EXPECT_TRUE(MarkNumbers().size() >= 1u);  // the damaged events, not Attacked
  for (std::int32_t n : MarkNumbers()) EXPECT_NE(n, 1551);
}

TEST_F(AreaDamageTest, ZonesHearTheHitExceptTheProjectilesCurrentZone) {
  const std::int32_t attacker = AddFighter(500, 500, 0, 100, 100);
  // Zone triggers mark 9000 + zone index.
  for (int z = 0; z < 3; ++z) {
    Zone zone;
    zone.shape = test::MakeBoxShape(z == 2 ? Box{400, 400, 420, 420, 0, 48} : Box{-10, -10, 10, 10, 0, 48});
    zone.triggers.push_back(MarkTrigger(kEventZoneDamagedActor, 9000 + z));
    gameData.maps[0].zones.push_back(std::move(zone));
  }
  gameData.maps[0].projectiles.resize(1);
  Projectile& shot = gameData.maps[0].projectiles[0];
  shot.currentZone = 1;
  Hit(attacker, 10, -1, 0, false);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{9000}));
  EXPECT_EQ(gameData.maps[0].projectiles[0].currentZone, 1);
  // A missed current zone loses the mark; so does a disabled one.
  calls_.clear();
  gameData.maps[0].projectiles[0].currentZone = 2;
  Hit(attacker, 10, -1, 0, false);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{9000, 9001}));
  EXPECT_EQ(gameData.maps[0].projectiles[0].currentZone, -1);
  calls_.clear();
  gameData.maps[0].projectiles[0].currentZone = 0;
  gameData.maps[0].zones[0].Disabled() = 1;
  Hit(attacker, 10, -1, 0, false);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{9001}));
  EXPECT_EQ(gameData.maps[0].projectiles[0].currentZone, -1);
  // Without an attacker no zone hears anything.
  calls_.clear();
  Hit(-1, 10, -1, -1, false);
  EXPECT_TRUE(MarkNumbers().empty());
}

}  // namespace
}  // namespace kiv
