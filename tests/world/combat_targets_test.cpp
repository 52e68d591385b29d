// Targets and their events, alerting, item effects, effect animations and
// the speed approach.
#include "world/combat_targets.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/number_text.h"
#include "data/project_state.h"
#include "player/character_fields.h"
#include "player/shell_state.h"
#include "script/trigger_engine_fixture.h"
#include "world/combat_fields.h"
#include "world/reference_fields.h"

namespace kiv {
namespace {

class CombatTargetsTest : public test::TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    projectState.teams.assign(2, Team());
    projectState.teams[0].relations = {1, -1};
    projectState.teams[1].relations = {-1, 1};
  }
  void TearDown() override {
    projectState.teams.clear();
    gameData.statistics.clear();
    TriggerEngineTest::TearDown();
  }

  // A character whose SawEnemy and LostEnemy triggers mark 1000 x index + event.
  std::int32_t AddCharacter(float x, float y, std::int32_t team) {
    const auto index = static_cast<std::int32_t>(gameData.maps[0].actors.size());
    Actor actor;
    actor.x = x;
    actor.y = y;
    actor.team = team;
    actor.aiFlags = 1;
    actor.statistics = {StatisticValue{{}, 100, 90}, StatisticValue{{}, 50, 40}, StatisticValue{{}, 0, 7}};
    for (std::int32_t event : {kEventSawEnemy, kEventLostEnemy}) {
      Trigger trigger;
      trigger.event = event;
      trigger.script.text = u"Mark(" + Number(index * 1000 + event) + u")";
      BuildTriggerConditions(trigger);
      CompileScript(trigger.script);
      LinkScript(trigger.script, true);
      RegisterScript(trigger.script);
      actor.triggers.push_back(std::move(trigger));
    }
    gameData.maps[0].actors.push_back(std::move(actor));
    return index;
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

TEST_F(CombatTargetsTest, SettingAndClearingTargets) {
  const std::int32_t c = AddCharacter(0, 0, 0);
  const std::int32_t first = AddCharacter(10, 0, 1);
  const std::int32_t second = AddCharacter(20, 0, 1);
  SetCharacterTarget(0, c, first);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{kEventSawEnemy}));
  EXPECT_EQ(AIFocusActor(A(c)), first);
  // The same target again: no event, the attack state and the follow command restored.
  calls_.clear();
  A(c).aiState = kAIStandAndFire;
  A(c).aiMoveCommand = kCommandFaceTarget;
  SetCharacterTarget(0, c, first);
  EXPECT_TRUE(MarkNumbers().empty());
  EXPECT_EQ(A(c).aiState, kAIChasing);
  EXPECT_EQ(A(c).aiMoveCommand, kCommandFollow);
  // A new target: the old one is lost first.
  SetCharacterTarget(0, c, second);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{kEventLostEnemy, kEventSawEnemy}));
  EXPECT_EQ(AIFocusActor(A(c)), second);

  struct Case {
    std::int32_t leader, state, command;
  };
  for (const Case& k : {Case{-1, kAIReturning, kCommandWalkHome}, Case{first, kAIIdle, kCommandFollow}}) {
    SCOPED_TRACE(k.leader);
    LeaderActor(A(c)) = k.leader;
    AIFocusActor(A(c)) = second;
    calls_.clear();
    ClearCharacterTarget(0, c);
    EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{kEventLostEnemy}));
    EXPECT_EQ(AIFocusActor(A(c)), -1);
    EXPECT_EQ(A(c).aiState, k.state);
    EXPECT_EQ(A(c).aiMoveCommand, k.command);
    // Without a target there is nothing to lose; the state is still set.
    calls_.clear();
    A(c).aiState = kAIChasing;
    ClearCharacterTarget(0, c);
    EXPECT_TRUE(MarkNumbers().empty());
    EXPECT_EQ(A(c).aiState, k.state);
    // Setting no target clears the same way, after losing the old one.
    AIFocusActor(A(c)) = first;
    SetCharacterTarget(0, c, -1);
    EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{kEventLostEnemy}));
    EXPECT_EQ(A(c).aiMoveCommand, k.command);
  }
}

TEST_F(CombatTargetsTest, AlertingReachesFreeHostileCharactersWithinTheRadius) {
  const std::int32_t source = AddCharacter(0, 0, 0);
  struct Near {
    const char* what;
    float x, y;
    bool alerted;
    void (*set)(Actor&);
  };
  const std::vector<Near> near = {
      {"exactly at the radius", 3.0f, 4.0f, true, [](Actor&) {}},
      {"just beyond", 3.0f, 4.0001f, false, [](Actor&) {}},
      {"friendly", 1.0f, 0.0f, false, [](Actor& a) { a.team = 0; }},
      {"removed", 1.0f, 0.0f, false, [](Actor& a) { a.removed = 1; }},
      {"riding", 1.0f, 0.0f, false, [](Actor& a) { a.vehicleRidden = 0; }},
      {"at a turret", 1.0f, 0.0f, false, [](Actor& a) { a.turretOperated = 0; }},
      {"dead", 1.0f, 0.0f, false, [](Actor& a) { a.state = 3; }},
      {"dying still hears", 1.0f, 0.0f, true, [](Actor& a) { a.state = 2; }},
      {"no combat behaviour", 1.0f, 0.0f, false, [](Actor& a) { a.aiFlags = 0; }},
      {"busy", 1.0f, 0.0f, false, [](Actor& a) { a.aiState = kAIInPosition; }},
      {"returning", 1.0f, 0.0f, true, [](Actor& a) { a.aiState = kAIReturning; }},
  };
  std::vector<std::int32_t> indexes;
  for (const Near& n : near) {
    indexes.push_back(AddCharacter(n.x, n.y, 1));
    n.set(A(indexes.back()));
  }
  AlertCharactersInRange(0, source, 0.0f, 0.0f, 5.0f);
  for (std::size_t k = 0; k < near.size(); ++k) {
    SCOPED_TRACE(near[k].what);
    EXPECT_EQ(AIFocusActor(A(indexes[k])), near[k].alerted ? source : -1);
  }
  // In single precision 0.3 x 0.3 equals the radius 0.3 squared.
  const std::int32_t edge = AddCharacter(0.3f, 0.0f, 1);
  AlertCharactersInRange(0, source, 0.0f, 0.0f, 0.3f);
  EXPECT_EQ(AIFocusActor(A(edge)), source);
  // A source without a team alerts nobody.
  const std::int32_t loner = AddCharacter(0, 0, -1);
  const std::int32_t target = AddCharacter(1, 0, 1);
  AlertCharactersInRange(0, loner, 0.0f, 0.0f, 50.0f);
  EXPECT_EQ(AIFocusActor(A(target)), -1);
}

class ItemEffectTest : public CombatTargetsTest {
 protected:
  void SetUp() override {
    CombatTargetsTest::SetUp();
    gameData.statistics.resize(3);
    gameData.items.resize(3);
    for (std::size_t i = 0; i < 3; ++i) {
      Item& item = gameData.items[i];
      item.valueY = kEffectOnValues;
      item.statisticValues[2] = {0, 0, 0};
      item.scripts[2] = MakeScript(u"Mark(" + Number(100 + static_cast<std::int32_t>(i)) + u")");
    }
  }
  Item& I(std::size_t i) { return gameData.items[i]; }
};

TEST_F(ItemEffectTest, StatisticsChangeValuesOrMaximumsAndTheFirstTwoAreCut) {
  struct Case {
    const char* what;
    std::int32_t flags;
    std::vector<std::int32_t> change;
    std::vector<std::int32_t> values, maximums;
  };
  const std::vector<Case> cases = {
      {"a heal of 20 at 90 of 100", kEffectOnValues, {20, 0, 0}, {100, 40, 7}, {100, 50, 0}},
      {"harm through the damage rules", kEffectOnValues, {-30, -5, 3}, {60, 35, 10}, {100, 50, 0}},
      {"the second statistic is cut to its maximum", kEffectOnValues, {0, 30, 30}, {90, 50, 37}, {100, 50, 0}},
      {"maximums", kEffectOnMaximums, {10, -20, 5}, {90, 30, 7}, {110, 30, 5}},
      {"both", kEffectOnValues | kEffectOnMaximums, {10, 10, 10}, {100, 50, 17}, {110, 60, 10}},
      {"neither", 0, {10, 10, 10}, {90, 40, 7}, {100, 50, 0}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    gameData.maps[0].actors.clear();
    const std::int32_t c = AddCharacter(0, 0, 1);
    I(0).valueY = k.flags;
    I(0).statisticValues[2] = k.change;
    ApplyItemEffect(0, 0, c, -1, -1);
    for (std::size_t s = 0; s < 3; ++s) {
      EXPECT_EQ(A(c).statistics[s].currentValue, k.values[s]) << s;
      EXPECT_EQ(A(c).statistics[s].baseValue, k.maximums[s]) << s;
    }
  }
}

TEST_F(ItemEffectTest, TheScriptTheHitEffectAndTheAmmunitionFollow) {
  const std::int32_t c = AddCharacter(0, 0, 1);
  I(0).spriteSets[1].index = 4;  // hit effect
  ApplyItemEffect(0, 0, c, -1, -1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{100}));
  ASSERT_EQ(A(c).attachedEffects.size(), 1u);
  EXPECT_EQ(A(c).attachedEffects[0].spriteSet, 4);
  EXPECT_EQ(A(c).attachedEffects[0].byteE, 0);  // not looping

  struct Case {
    const char* what;
    std::int32_t ammo0, ammo1, ammo2;
    std::vector<std::int32_t> marks;
  };
  const std::vector<Case> cases = {
      {"its own ammunition applies once", 0, -1, -1, {100}},
      {"A then its ammunition B", 1, -1, -1, {100, 101}},
      {"a chain A, B, C", 1, 2, -1, {100, 101, 102}},
      {"A and B name each other: each once", 1, 0, -1, {100, 101}},
      {"a loop further down: each once", 1, 2, 1, {100, 101, 102}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    calls_.clear();
    I(0).linkedItem.index = k.ammo0;
    I(1).linkedItem.index = k.ammo1;
    I(2).linkedItem.index = k.ammo2;
    ApplyItemEffect(0, 0, c, -1, -1);
    EXPECT_EQ(MarkNumbers(), k.marks);
  }
}

TEST_F(ItemEffectTest, EffectAnimationsGrowTheListAtItsEnd) {
  const std::int32_t c = AddCharacter(0, 0, 1);
  AttachEffectAnimation(0, c, 3, false);
  AttachEffectAnimation(0, c, 5, true);
  const std::vector<Attachment>& list = A(c).attachedEffects;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].spriteSet, 3);
  EXPECT_EQ(list[0].valueA, 0);
  EXPECT_EQ(list[0].valueB, -1);
  EXPECT_EQ(list[0].byteF, 0);
  EXPECT_EQ(list[1].spriteSet, 5);
  EXPECT_EQ(list[1].byteE, 1);
  EXPECT_EQ(list[1].byteF, 1);
  EXPECT_EQ(list[1].byteG, 1);
}

TEST(ApproachSpeedTest, VelocityMovesTowardItsLimit) {
  struct Case {
    const char* what;
    float input, velocity;
    float maxF, maxB, accF, accB, decF, decB;
    float expected;
  };
  const std::vector<Case> cases = {
      {"from rest", 0.5f, 0.0f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, 0.08f},
      {"to the limit", 0.5f, 0.09f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, 0.1f},
      {"above the limit stays", 0.5f, 0.15f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, 0.15f},
      {"backward", -1.0f, 0.0f, 0.2f, -0.1f, 0.002f, -0.002f, -0.001f, 0.001f, -0.08f},
      {"backward to the limit", -1.0f, -0.05f, 0.2f, -0.1f, 0.002f, -0.002f, -0.001f, 0.001f, -0.1f},
      {"no acceleration jumps forward", 0.5f, 0.0f, 0.2f, -0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 0.1f},
      {"no acceleration jumps backward", -0.5f, 0.0f, 0.2f, -0.2f, 0.0f, 0.0f, 0.0f, 0.0f, -0.1f},
      {"no input, no acceleration: stop", 0.0f, 0.3f, 0.2f, -0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
      {"slowing forward", 0.0f, 0.1f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, 0.06f},
      {"slowing forward stops at 0", 0.0f, 0.01f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, 0.0f},
      {"slowing backward", 0.0f, -0.1f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, -0.06f},
      {"slowing backward stops at 0", 0.0f, -0.01f, 0.2f, -0.2f, 0.002f, -0.002f, -0.001f, 0.001f, 0.0f},
  };
  const std::int32_t saved = shell.frameElapsed;
  shell.frameElapsed = 40;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    float v = k.velocity;
    ApproachSpeed(k.input, v, k.maxF, k.maxB, k.accF, k.accB, k.decF, k.decB);
    EXPECT_FLOAT_EQ(v, k.expected);
  }
  // The limit is a Single product: 0.1f x 0.3f, not the Double one.
  float v = 0.0f;
  ApproachSpeed(0.3f, v, 0.1f, -0.1f, 1.0f, -1.0f, 0.0f, 0.0f);
  EXPECT_EQ(v, 0.1f * 0.3f);
  shell.frameElapsed = saved;
}

}  // namespace
}  // namespace kiv
