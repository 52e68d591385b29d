// Combat behaviour and turret aim on small maps whose characters' triggers
// mark the enemy events that reach them.
#include "world/combat_behaviour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/angles.h"
#include "core/number_text.h"
#include "core/random.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "player/character_fields.h"
#include "script/trigger_engine_fixture.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"
#include "world/combat_fields.h"
#include "world/combat_targets.h"

namespace kiv {
namespace {

constexpr std::size_t kTargetAnyCharacterFlag = 15;  // option 16

class CombatTest : public test::TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    // No collision grid: a character back at its point is not snapped to one
    // that an earlier test left set.
    dataSettings.Reset();
    projectState.teams.assign(3, Team());
    // Teams 0 and 1 are hostile to each other; team 2 is nobody's enemy.
    projectState.teams[0].relations = {1, -1, 0};
    projectState.teams[1].relations = {-1, 1, 0};
    projectState.teams[2].relations = {0, 0, 1};
    storedProjectSettings.flags.fill(0);
    gameData.maps[0].width = 31;  // 1024 px square: every sight line lies inside
    gameData.maps[0].height = 31;
    RandomSeed(3);
    Item gun;
    gun.name = u"Gun";
    gun.valueI = 100;  // clip
    gun.valueT = 1;    // one round per use
    gun.valueK = 1;    // one projectile
    gun.valueG = 400;  // range
    gun.valueH = 1.0f;
    gun.spriteSets[2].index = 0;  // the projectile's sprite
    gameData.items = {gun};
    SpriteSet shot;
    shot.poses.resize(1);
    gameData.spriteSets = {shot};
  }
  void TearDown() override {
    projectState.teams.clear();
    storedProjectSettings.flags.fill(0);
    TriggerEngineTest::TearDown();
  }

  std::int32_t Add(float x, float y, std::int32_t team, std::int32_t maxHp = 10) {
    Actor actor;
    actor.x = x;
    actor.y = y;
    actor.team = team;
    actor.statistics = {StatisticValue{{}, maxHp, maxHp}};
    actor.collisionShape = test::MakeBoxShape(Box{-8, -8, 8, 8, 0, 48});
    actor.turretRange = 500;      // SightRange
    actor.arc = 6.2831855f;       // ViewArc
    actor.speedFactor = 1.0f;     // FireRate
    actor.aiFlags = 1;
    const auto index = static_cast<std::int32_t>(gameData.maps[0].actors.size());
    for (std::int32_t event : {kEventSawEnemy, kEventLostEnemy})
      actor.triggers.push_back(MarkTrigger(event, index * 1000 + event));
    gameData.maps[0].actors.push_back(std::move(actor));
    return index;
  }
  void Arm(std::int32_t i) {
    A(i).equipment.resize(1);
    A(i).equipment[0].item = 0;
    A(i).equipment[0].ammunition = 100;
  }
  std::int32_t Rounds(std::int32_t i) { return A(i).equipment[0].ammunition; }
  static Trigger MarkTrigger(std::int32_t event, std::int32_t mark) {
    Trigger trigger;
    trigger.event = event;
    const std::string text = std::to_string(mark);
    trigger.script.text = u"Mark(" + std::u16string(text.begin(), text.end()) + u")";
    BuildTriggerConditions(trigger);
    CompileScript(trigger.script);
    LinkScript(trigger.script, true);
    RegisterScript(trigger.script);
    return trigger;
  }
  Actor& A(std::int32_t i) { return gameData.maps[0].actors[static_cast<std::size_t>(i)]; }
  void ClearMarks() { calls_.clear(); }
  std::vector<std::int32_t> MarkNumbers() const {
    std::vector<std::int32_t> numbers;
    for (const Variant& mark : Marks()) numbers.push_back(static_cast<std::int32_t>(ToNumber(mark)));
    return numbers;
  }
};

TEST_F(CombatTest, AnIdleCharacterEndsOnTheNearestVisibleEnemy) {
  const std::int32_t self = Add(100, 100, 0);
  const std::int32_t far = Add(200, 100, 1);   // 100 px
  const std::int32_t near = Add(160, 100, 1);  // 60 px
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(AIFocusActor(A(self)), near);
  EXPECT_EQ(A(self).aiState, kAIChasing);
  EXPECT_EQ(A(self).aiMoveCommand, kCommandFollow);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{540, 541, 540}));
  (void)far;
}

TEST_F(CombatTest, TheNearerFirstIsTheOnlyFind) {
  const std::int32_t self = Add(100, 100, 0);
  const std::int32_t near = Add(160, 100, 1);
  Add(200, 100, 1);
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(AIFocusActor(A(self)), near);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{540}));
}

TEST_F(CombatTest, ATurretEndsOnTheLastQualifyingInIndexOrder) {
  for (bool nearFirst : {false, true}) {
    SCOPED_TRACE(nearFirst);
    gameData.maps[0].actors.clear();
    ClearMarks();
    const std::int32_t turret = Add(100, 100, 0);
    A(turret).turret = 1;
    Add(nearFirst ? 160 : 200, 100, 1);
    const std::int32_t last = Add(nearFirst ? 200 : 160, 100, 1);
    UpdateTurretAim(0, turret);
    EXPECT_EQ(AIFocusActor(A(turret)), last);
    EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{540, 541, 540}));
  }
}

TEST_F(CombatTest, ATargetExactlyAtSightRange) {
  const std::int32_t self = Add(100, 100, 0);
  const std::int32_t enemy = Add(600, 100, 1);  // exactly 500 px
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(AIFocusActor(A(self)), -1);
  const std::int32_t turret = Add(100, 100, 0);
  A(turret).turret = 1;
  UpdateTurretAim(0, turret);
  EXPECT_EQ(AIFocusActor(A(turret)), -1);
  // A turret keeps one it already has there.
  AIFocusActor(A(turret)) = enemy;
  UpdateTurretAim(0, turret);
  EXPECT_EQ(AIFocusActor(A(turret)), enemy);
  EXPECT_TRUE(MarkNumbers().empty());
  // One pixel further it is lost.
  A(enemy).x = 601;
  UpdateTurretAim(0, turret);
  EXPECT_EQ(AIFocusActor(A(turret)), -1);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{turret * 1000 + 541}));
}

TEST_F(CombatTest, ADeadTargetSendsTheCharacterHome) {
  const std::int32_t self = Add(100, 100, 0);
  const std::int32_t enemy = Add(160, 100, 1);
  A(self).gridX = 100, A(self).gridY = 100;  // its point
  A(self).gridHeading = 1.25f;             // HomeHeading
  SetCharacterTarget(0, self, enemy);
  ClearMarks();
  A(enemy).state = 3;
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(AIFocusActor(A(self)), -1);
  EXPECT_EQ(A(self).aiState, kAIReturning);
  EXPECT_EQ(A(self).aiMoveCommand, kCommandWalkHome);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{541}));
  // Back at its point it takes its heading and stands idle.
  A(self).x = 100.4f;
  A(self).walkTime = 70;
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(A(self).aiState, kAIIdle);
  EXPECT_EQ(A(self).aiMoveCommand, 0);
  EXPECT_EQ(A(self).heading, 1.25f);
  EXPECT_EQ(A(self).walkTime, 0);
  EXPECT_EQ(A(self).x, 100.0f);
  EXPECT_EQ(A(self).y, 100.0f);
}

TEST_F(CombatTest, ATurretFiresWithinItsAccuracyCone) {
  struct Case {
    float accuracy;
    float angle;
    bool fires;
  };
  const float narrow = kPi / 32;
  const float wide = kPi / 4 + kPi / 32;
  const Case cases[] = {
      {1.0f, -narrow * 0.8f, true}, {1.0f, narrow * 0.8f, true},  {1.0f, narrow * 1.3f, false}, {1.0f, -narrow * 0.8f, true},
      {0.0f, wide - 0.05f, true},   {0.0f, wide + 0.05f, false},  {0.0f, -(wide - 0.05f), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    gameData.maps[0].actors.clear();
    gameData.maps[0].projectiles.clear();
    gameData.items[0].valueH = c.accuracy;
    const std::int32_t turret = Add(300, 300, 0);
    A(turret).turret = 1;
    // The sight of a turret on its target skips only the target and its team:
    // a turret whose own box is tested would hide every target behind itself.
    A(turret).noRect = 1;
    Arm(turret);
    const std::int32_t enemy = Add(300 + 200 * std::cos(c.angle), 300 + 200 * std::sin(c.angle), 1);
    AIFocusActor(A(turret)) = enemy;
    UpdateTurretAim(0, turret);
    EXPECT_EQ(Rounds(turret), c.fires ? 99 : 100);
    if (c.fires) {
      ASSERT_EQ(gameData.maps[0].projectiles.size(), 1u);
      // Along its own heading, spread by its accuracy.
      EXPECT_LE(std::fabs(gameData.maps[0].projectiles[0].heading), (1.0f - c.accuracy) * kPiOver8);
    }
  }
}

TEST_F(CombatTest, ATurretTurnsTowardItsTargetAndLosesOneThatDrifts) {
  struct Case {
    float angle;
    bool kept;
    float turn;
  };
  const Case cases[] = {
      {0.5f, true, 1.0f}, {-0.5f, true, -1.0f}, {0.05f, true, 0.0f},
      {1.2f, false, 0.0f},   // more than ViewArc to the positive side
      {-1.2f, true, -1.0f},  // the negative side keeps it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    gameData.maps[0].actors.clear();
    const std::int32_t turret = Add(100, 100, 0);
    A(turret).turret = 1;
    A(turret).arc = 1.0f;  // ViewArc
    A(turret).keyTurning = 7.0f;  // TurnDirection
    const std::int32_t enemy = Add(100 + 200 * std::cos(c.angle), 100 + 200 * std::sin(c.angle), 1);
    AIFocusActor(A(turret)) = enemy;
    UpdateTurretAim(0, turret);
    EXPECT_EQ(AIFocusActor(A(turret)), c.kept ? enemy : -1);
    if (c.kept) {
      EXPECT_EQ(A(turret).keyTurning, c.turn);
    }
  }
}

TEST_F(CombatTest, ACharacterWithoutHitPointsIsATargetOnlyWhenTheProjectAllowsIt) {
  for (bool any : {false, true}) {
    SCOPED_TRACE(any);
    gameData.maps[0].actors.clear();
    storedProjectSettings.flags[kTargetAnyCharacterFlag] = any ? 1 : 0;
    const std::int32_t self = Add(100, 100, 0);
    const std::int32_t turret = Add(100, 140, 0);
    A(turret).turret = 1;
    const std::int32_t ghost = Add(160, 100, 1, 0);
    UpdateCombatBehaviour(0, self);
    UpdateTurretAim(0, turret);
    EXPECT_EQ(AIFocusActor(A(self)), any ? ghost : -1);
    EXPECT_EQ(AIFocusActor(A(turret)), any ? ghost : -1);
  }
}

TEST_F(CombatTest, TheSightLineSkipsTheTableCharactersAndTeams) {
  struct Case {
    const char* what;
    std::int32_t blockerTeam;
    std::int32_t state;  // the seeker's AI state: 0 idle scan, 4 returning scan
    bool found;
  };
  const Case cases[] = {
      {"a neutral blocker hides the enemy from an idle scan", 2, kAIIdle, false},
      {"one of the enemy's team does not", 1, kAIIdle, true},
      {"nor one of its own team", 0, kAIIdle, true},
      {"the returning scan skips no team", 1, kAIReturning, false},
      {"nor its own team", 0, kAIReturning, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.maps[0].actors.clear();
    const std::int32_t self = Add(100, 100, 0);
    A(self).aiState = c.state;
    A(self).gridX = 0, A(self).gridY = 0;
    Add(150, 100, c.blockerTeam);
    A(1).aiFlags = 0;
    A(1).statistics[0] = StatisticValue{{}, 0, 0};  // never a target itself
    const std::int32_t enemy = Add(200, 100, 1);
    UpdateCombatBehaviour(0, self);
    EXPECT_EQ(AIFocusActor(A(self)), c.found ? enemy : -1);
  }
}

TEST_F(CombatTest, AChasingCharacterTakesPositionAndFires) {
  const std::int32_t self = Add(100, 100, 0);
  Arm(self);
  const std::int32_t enemy = Add(300, 100, 1);  // 200 px: in range 400, within half range
  SetCharacterTarget(0, self, enemy);
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(A(self).aiState, kAIInPosition);
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(A(self).aiState, kAIStandAndFire);
  EXPECT_EQ(A(self).aiMoveCommand, kCommandFaceTarget);
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(Rounds(self), 99);
  // Beyond half range without stand-to-fire it follows again.
  A(enemy).x = 320;
  UpdateCombatBehaviour(0, self);
  EXPECT_EQ(A(self).aiState, kAIInPosition);
  EXPECT_EQ(A(self).aiMoveCommand, kCommandFollow);
}

}  // namespace
}  // namespace kiv
