#include "world/party_progression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "state/game_state.h"
#include "support/world_builder.h"

namespace kiv {
namespace {

enum : std::int32_t { kFire, kIce, kStorm, kHeal };

class PartyProgressionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The level script is script 0, whatever an earlier test left registered.
    scriptTable.Reset();
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      runs_.push_back(run);
      parametersAtRun_.push_back(scriptTable.scripts.at(0).frameTemplate.parameters);
      return Variant();
    };
    // The level system trigger, registered with its three parameters.
    Script script;
    script.frameTemplate.parameters.resize(3);
    scriptTable.scripts.push_back(script);
    systemScripts[kLevelChangedSystemTrigger].hasStatements = true;
    systemScripts[kLevelChangedSystemTrigger].index = 0;

    for (const char16_t* name : {u"Fire", u"Ice", u"Storm", u"Heal"}) {
      Item item;
      item.name = name;
      gameData.items.push_back(item);
    }
    gameData.statistics.resize(2);
    projectState.players.resize(1);
    Player& player = projectState.players[0];
    player.mapIndex = w.map();
    hero_ = w.AddCharacter(16, 16, 0);
    Actor& a = Hero();
    a.name = u"Hero";
    a.owningPlayer = 0;
    a.statistics.resize(2);
    a.statistics[0] = {Identifier(), 10, 3};
    a.statistics[1] = {Identifier(), 7, 1};
    PartyMember m;
    m.character = hero_;
    m.level = 1, m.minLevel = 1, m.maxLevel = 10;
    m.experience = 0, m.experienceBase = 100, m.experienceStep = 50;
    // Hit points 10 per level; the second statistic's row was not stored.
    m.levelStats = {{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, {}};
    m.levelMagic.resize(10);
    m.levelMagic[1] = {Magic(kFire)};               // level 2
    m.levelMagic[2] = {Magic(kIce), Magic(kHeal)};  // level 3; Heal is known
    m.magic = {Magic(kHeal)};
    player.party = {m};
  }
  void TearDown() override {
    scriptHooks.Reset();
    systemScripts[kLevelChangedSystemTrigger] = Script();
    scriptTable.Reset();
  }

  static InventoryEntry Magic(std::int32_t item) {
    InventoryEntry entry;
    entry.item = item;
    return entry;
  }
  Actor& Hero() { return w.M().actors[static_cast<std::size_t>(hero_)]; }
  static PartyMember& Member() { return projectState.players[0].party[0]; }
  static std::vector<std::int32_t> Known() {
    std::vector<std::int32_t> out;
    for (const InventoryEntry& e : Member().magic) out.push_back(e.item);
    return out;
  }
  std::vector<std::u16string> LearntAtRun(std::size_t run) {
    const Variant& learnt = parametersAtRun_.at(run).at(2).value;
    EXPECT_TRUE(learnt.IsArray());
    EXPECT_EQ(learnt.ElementType(), kVarString);
    std::vector<std::u16string> out;
    for (const Variant& name : learnt.Elements()) out.push_back(name.AsText());
    return out;
  }

  test::WorldBuilder w{3, 3, 0};
  std::int32_t hero_ = -1;
  std::vector<TriggerRun> runs_;
  std::vector<std::vector<ScriptVariable>> parametersAtRun_;
};

TEST_F(PartyProgressionTest, ExperienceClimbsAndFallsByTheThresholds) {
  // 150 (leaving level 1) and 200 (leaving level 2) are paid from 400.
  AddPartyMemberExperience(0, 0, 400, 0);
  EXPECT_EQ(Member().level, 3);
  EXPECT_EQ(Member().experience, 50);
  // Two steps of +10 hit points, then restored to full; the unstored row stays.
  EXPECT_EQ(Hero().statistics[0].baseValue, 30);
  EXPECT_EQ(Hero().statistics[0].currentValue, 30);
  EXPECT_EQ(Hero().statistics[1].baseValue, 7);
  EXPECT_EQ(Hero().statistics[1].currentValue, 7);
  EXPECT_EQ(Known(), (std::vector<std::int32_t>{kHeal, kFire, kIce}));
  ASSERT_EQ(runs_.size(), 1u);
  EXPECT_EQ(runs_[0].ownerKind, kOwnerSystem);
  EXPECT_EQ(runs_[0].ownerIndex, kLevelChangedSystemTrigger);
  EXPECT_EQ(runs_[0].map, w.map());
  EXPECT_EQ(runs_[0].relateActor, hero_);
  EXPECT_EQ(parametersAtRun_[0][0].value.AsText(), u"Hero");
  EXPECT_EQ(parametersAtRun_[0][1].value.Type(), kVarLong);
  EXPECT_EQ(parametersAtRun_[0][1].value.AsLong(), 1);
  EXPECT_EQ(LearntAtRun(0), (std::vector<std::u16string>{u"Fire", u"Ice"}));

  // -100: the experience goes to -50; the step down to level 2 gives back 200.
  AddPartyMemberExperience(0, 0, -100, 0);
  EXPECT_EQ(Member().level, 2);
  EXPECT_EQ(Member().experience, 150);
  EXPECT_EQ(Hero().statistics[0].baseValue, 20);
  EXPECT_EQ(Known(), (std::vector<std::int32_t>{kHeal, kFire, kIce}));  // nothing unlearnt
  ASSERT_EQ(runs_.size(), 2u);
  EXPECT_EQ(parametersAtRun_[1][1].value.AsLong(), 3);
  EXPECT_TRUE(LearntAtRun(1).empty());
}

TEST_F(PartyProgressionTest, TargetedMovesStopAtTheLevelBoundsAndKeepTheExperience) {
  struct Case {
    const char* name;
    std::int32_t level, maxLevel, points, target;
    std::int32_t levelAfter, experienceAfter, hitPointsAfter;
    std::size_t runs;
  };
  const Case cases[] = {
      {"up to 5, stopped by the maximum 4", 1, 4, 0, 5, 4, 0, 40, 1},
      {"up to 3", 1, 10, 0, 3, 3, 0, 30, 1},
      {"down to 2", 4, 10, 0, 2, 2, 0, 20, 1},
      {"a negative target without points moves nothing", 2, 10, 0, -1, 2, 0, 20, 0},
      {"points below the first threshold change nothing", 1, 10, 149, 0, 1, 149, 10, 0},
      {"the maximum level keeps the points", 4, 4, 1000, 0, 4, 1000, 40, 0},
      {"at the minimum a debt stays", 1, 10, -30, 0, 1, -30, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    runs_.clear();
    Member().level = c.level;
    Member().maxLevel = c.maxLevel;
    Member().experience = 0;
    Hero().statistics[0] = {Identifier(), c.level * 10, 1};
    AddPartyMemberExperience(0, 0, c.points, c.target);
    EXPECT_EQ(Member().level, c.levelAfter);
    EXPECT_EQ(Member().experience, c.experienceAfter);
    EXPECT_EQ(Hero().statistics[0].baseValue, c.hitPointsAfter);
    EXPECT_EQ(runs_.size(), c.runs);
  }
}

TEST_F(PartyProgressionTest, LevelsOutsideTheStatisticTableLeaveTheMaximum) {
  // The table was stored for levels 1 and 2 only; level 3 has no base.
  Member().levelStats[0] = {10, 20};
  AddPartyMemberExperience(0, 0, 0, 3);
  EXPECT_EQ(Member().level, 3);
  EXPECT_EQ(Hero().statistics[0].baseValue, 20);  // +10 to level 2, unchanged to 3
  EXPECT_EQ(Hero().statistics[0].currentValue, 20);
  // A member whose level lies below its first level.
  Member().level = 0;
  Member().maxLevel = 3;
  Hero().statistics[0] = {Identifier(), 5, 5};
  AddPartyMemberExperience(0, 0, 0, 1);
  EXPECT_EQ(Member().level, 1);
  EXPECT_EQ(Hero().statistics[0].baseValue, 5);
}

TEST_F(PartyProgressionTest, NoSystemTriggerNoRun) {
  systemScripts[kLevelChangedSystemTrigger] = Script();
  AddPartyMemberExperience(0, 0, 150, 0);
  EXPECT_EQ(Member().level, 2);
  EXPECT_TRUE(runs_.empty());
}

TEST_F(PartyProgressionTest, LearningAndForgettingMagic) {
  struct Case {
    std::int32_t item;
    bool add, changed;
    std::vector<std::int32_t> known;
  };
  const Case cases[] = {
      {kFire, true, true, {kHeal, kFire}}, {kFire, true, false, {kHeal, kFire}},
      {kHeal, false, true, {kFire}},       {kHeal, false, false, {kFire}},
      {kStorm, false, false, {kFire}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.item << " " << c.add);
    EXPECT_EQ(SetPartyMemberListId(0, 0, c.item, c.add), c.changed);
    EXPECT_EQ(Known(), c.known);
  }
  EXPECT_EQ(Member().magic[0].itemId, gameData.items[kFire].id);
}

TEST_F(PartyProgressionTest, UnknownPlayerOrMemberIsARangeError) {
  for (auto [player, member] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{-1, 0}}) {
    try {
      AddPartyMemberExperience(player, member, 10, 0);
      FAIL() << "no error";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrIndex);
    }
  }
}

// A party of four where 1 and 2 follow 0 and 3 follows 1.
class UnlinkPartyMemberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    projectState.players.resize(1);
    Player& player = projectState.players[0];
    player.mapIndex = w.map();
    for (std::int32_t k = 0; k < 4; ++k) {
      const std::int32_t c = w.AddCharacter(16.0f * static_cast<float>(k), 16, 0);
      PartyMember m;
      m.character = c;
      player.party.push_back(m);
      Actor& a = A(k);
      a.aiMoveCommand = 9, a.autoMoveStyle = 9, a.aiFlags = 9;
    }
    A(0).targetActor = -1;
    A(1).targetActor = 0;
    A(2).targetActor = 0;
    A(3).targetActor = 1;
    player.controlledMember = 0;
  }
  Actor& A(std::int32_t k) { return w.M().actors[static_cast<std::size_t>(k)]; }
  static Player& P() { return projectState.players[0]; }

  test::WorldBuilder w{3, 3, 0};
};

TEST_F(UnlinkPartyMemberTest, TheControlledLeaderHandsControlToItsFirstFollower) {
  UnlinkPartyMember(0, 0);
  EXPECT_EQ(P().controlledMember, 1);
  EXPECT_EQ(A(0).targetActor, -1);
  EXPECT_EQ(A(0).aiMoveCommand, 0);
  EXPECT_EQ(A(0).autoMoveStyle, 0);
  EXPECT_EQ(A(0).aiFlags, 0);
  // Member 1 took control and was then stopped as the controlled member.
  EXPECT_EQ(A(1).targetActor, -1);
  EXPECT_EQ(A(1).autoMoveStyle, 0);
  EXPECT_EQ(A(1).aiFlags, 0);
  EXPECT_EQ(A(1).aiMoveCommand, 0);
  // Member 2 saw 1 as controlled: it only follows the leaver's leader.
  EXPECT_EQ(A(2).targetActor, -1);
  EXPECT_EQ(A(2).autoMoveStyle, 9);
  EXPECT_EQ(A(2).aiFlags, 9);
  EXPECT_EQ(A(3).targetActor, 1);
}

TEST_F(UnlinkPartyMemberTest, ARemovedFollowerDoesNotTakeControl) {
  A(1).removed = 1;
  UnlinkPartyMember(0, 0);
  EXPECT_EQ(P().controlledMember, 2);
  EXPECT_EQ(A(1).autoMoveStyle, kFollowLeaderCommand);
  EXPECT_EQ(A(1).aiFlags, kComputerMoved);
  EXPECT_EQ(A(2).autoMoveStyle, 0);  // the new controlled member, stopped
  EXPECT_EQ(A(2).aiFlags, 0);
}

TEST_F(UnlinkPartyMemberTest, ALeaderWithoutFollowersInPlayLeavesNoOneControlled) {
  A(1).removed = 1;
  A(2).removed = 1;
  UnlinkPartyMember(0, 0);
  EXPECT_EQ(P().controlledMember, -1);
  EXPECT_EQ(A(1).autoMoveStyle, kFollowLeaderCommand);
  EXPECT_EQ(A(2).autoMoveStyle, kFollowLeaderCommand);
}

TEST_F(UnlinkPartyMemberTest, AFollowerLeavingPassesItsFollowersOn) {
  UnlinkPartyMember(0, 1);
  EXPECT_EQ(P().controlledMember, 0);
  EXPECT_EQ(A(3).targetActor, 0);  // follows 1's leader
  EXPECT_EQ(A(3).autoMoveStyle, 9);
  EXPECT_EQ(A(1).targetActor, -1);
  EXPECT_EQ(A(0).aiFlags, 0);  // the controlled member is stopped
  EXPECT_EQ(A(0).autoMoveStyle, 0);
}

}  // namespace
}  // namespace kiv
