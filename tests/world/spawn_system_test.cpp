// The spawn system: due counts, the order of events and copies, the alive
// limit, the activation radius, and the interval of 0.
#include <gtest/gtest.h>

#include "data/project_state.h"
#include "world/map_system_fields.h"
#include "world/map_systems_test_fixture.h"

namespace kiv {
namespace {

constexpr std::int32_t kLoaded = 552;
constexpr std::int32_t kExistenceChanged = 553;

class SpawnSystemTest : public test::MapSystemsTest {
 protected:
  void SetUp() override {
    MapSystemsTest::SetUp();
    // The template character stands out of play; its copies carry its triggers.
    template_ = world_->AddCharacter(250, 250, 0);
    Actor& t = M().actors[static_cast<std::size_t>(template_)];
    t.removed = 1;
    t.triggers.push_back(MakeTrigger(kLoaded, u"Mark(552)"));
    t.triggers.push_back(MakeTrigger(kExistenceChanged, u"Mark(553)"));
  }
  Spawn& AddSpawn(std::int32_t delay, std::int32_t interval, std::int32_t maxTotal = 0, bool linked = true) {
    Spawn s;
    s.x = 100;
    s.y = 100;
    s.delay = delay;
    s.interval = interval;
    s.count = maxTotal;
    s.linkedActor = linked ? template_ : -1;
    for (std::int32_t e = 0; e < 3; ++e) s.scripts[static_cast<std::size_t>(e)] = MakeScript(u"Mark(" + ToText(e) + u")");
    M().spawns.push_back(s);
    return M().spawns.back();
  }
  static std::u16string ToText(std::int32_t n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
  }
  // The current player's controlled member is the character at (x, y) on map 0.
  void PlacePlayer(float x, float y) {
    const std::int32_t member = world_->AddCharacter(x, y, 0);
    projectState.players.resize(1);
    projectState.players[0].mapIndex = 0;
    projectState.players[0].party.resize(1);
    projectState.players[0].party[0].character = member;
    projectState.players[0].controlledMember = 0;
    player_ = member;
  }
  Actor& Player() { return M().actors[static_cast<std::size_t>(player_)]; }
  std::int32_t template_ = -1;
  std::int32_t player_ = -1;
};

TEST_F(SpawnSystemTest, DueCountsTruncateSoATickOf3500MsSpawnsFourInAll) {
  AddSpawn(0, 1000, 0, false);
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 1);
  Pass(3500 - 16);
  EXPECT_EQ(M().spawns[0].born, 4);
  EXPECT_EQ(M().spawns[0].time, 3500);
  Pass(499);  // 3999: still due 3
  EXPECT_EQ(M().spawns[0].born, 4);
  Pass(1);
  EXPECT_EQ(M().spawns[0].born, 5);
}

TEST_F(SpawnSystemTest, ThreeSpawnsDueInOneTickRunTheirEventsAndCopiesInOrder) {
  AddSpawn(0, 10, 3);
  Pass(100);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{0, 1, 552, 553, 1, 552, 553, 1, 552, 553, 2}));
  EXPECT_EQ(M().spawns[0].born, 3);
  ASSERT_EQ(M().actors.size(), 4u);
  for (const test::MarkRecord& r : marks_) {
    if (r.mark < 3) {
      EXPECT_EQ(r.relateActor, template_) << "spawn events relate to the template";
    } else {
      EXPECT_NE(r.thisActor, template_) << "the copy's events run on the copy";
    }
  }
  // Each copy is a deep copy in play, placed on the path grid.
  for (std::size_t i = 1; i < 4; ++i) {
    const Actor& copy = M().actors[i];
    EXPECT_EQ(copy.removed, 0);
    EXPECT_EQ(copy.triggers.size(), 2u);
    EXPECT_EQ(static_cast<std::int32_t>(copy.x) % 16, 0);
    EXPECT_EQ(static_cast<std::int32_t>(copy.y) % 16, 0);
  }
  M().actors[1].triggers.clear();
  EXPECT_EQ(M().actors[2].triggers.size(), 2u);
  EXPECT_EQ(M().actors[static_cast<std::size_t>(template_)].removed, 1);
  // Nothing more once the total is reached.
  marks_.clear();
  Pass(1000);
  EXPECT_TRUE(marks_.empty());
}

TEST_F(SpawnSystemTest, AReachedAliveLimitStopsTheTimerAndTheTimeIsNotMadeUp) {
  Spawn& s = AddSpawn(0, 100);
  s.simultaneous = 2;
  Pass(150);  // due 0 and 1
  EXPECT_EQ(M().spawns[0].born, 2);
  Pass(1000);
  EXPECT_EQ(M().spawns[0].time, 150) << "the timer stands while the limit holds";
  M().spawns[0].died = 1;
  Pass(50);  // 200: due 2, one more
  EXPECT_EQ(M().spawns[0].born, 3);
  EXPECT_EQ(M().spawns[0].time, 200);
}

TEST_F(SpawnSystemTest, TheAliveLimitNeedsATemplateCharacter) {
  Spawn& s = AddSpawn(0, 100, 0, false);
  s.simultaneous = 1;
  Pass(250);
  EXPECT_EQ(M().spawns[0].born, 3);
}

TEST_F(SpawnSystemTest, AnActivationRadiusLatchesOnceTheTimerHasStarted) {
  Spawn& s = AddSpawn(0, 1000, 0, false);
  s.proximity = 50;
  PlacePlayer(200, 100);  // 100 away
  Pass(16);
  EXPECT_EQ(M().spawns[0].time, 0);
  EXPECT_EQ(M().spawns[0].born, 0);
  Player().x = 150;  // exactly 50 away: inside
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 1);
  Player().x = 900;
  Pass(1000);
  EXPECT_EQ(M().spawns[0].born, 2) << "the player may leave once the timer runs";
}

TEST_F(SpawnSystemTest, AnActivationRadiusWantsTheCurrentPlayerOnTheMapWithAControlledMember) {
  Spawn& s = AddSpawn(0, 1000, 0, false);
  s.proximity = 50;
  PlacePlayer(100, 100);
  projectState.players[0].mapIndex = 1;
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 0);
  projectState.players[0].mapIndex = 0;
  projectState.players[0].controlledMember = -1;
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 0);
  projectState.players[0].controlledMember = 0;
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 1);
}

TEST_F(SpawnSystemTest, ADisabledSpawnOrFieldsOnlyPassDoesNothing) {
  AddSpawn(0, 1000, 0, false).paused = 2;
  Pass(16);
  EXPECT_EQ(M().spawns[0].time, 0);
  M().spawns[0].paused = 0;
  Pass(16, 0, true);
  EXPECT_EQ(M().spawns[0].time, 0);
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 1);
}

TEST_F(SpawnSystemTest, TheFirstDelayHoldsBackTheFirstSpawn) {
  AddSpawn(500, 100, 0, false);
  Pass(499);
  EXPECT_EQ(M().spawns[0].born, 0);
  Pass(101);  // 600: due (600 - 500) \ 100 = 1
  EXPECT_EQ(M().spawns[0].born, 2);
}

// Our choice: without an interval a spawn spawns at most once per tick.
TEST_F(SpawnSystemTest, AnIntervalOfZeroSpawnsOncePerTick) {
  AddSpawn(0, 0, 0, false);
  Pass(5000);
  EXPECT_EQ(M().spawns[0].born, 1);
  Pass(16);
  EXPECT_EQ(M().spawns[0].born, 2);
}

// The loop goes on unless an event sets the disabled byte to exactly 1.
TEST_F(SpawnSystemTest, AnEventThatDisablesTheSpawnWithOneEndsTheCatchUp) {
  handlers_["Stop"] = [this](const test::RecordedCall& call, ScriptValue&) {
    M().spawns[0].paused = static_cast<std::uint8_t>(call.arguments.at(0).AsLong());
  };
  struct Case {
    std::int32_t disabledTo;
    std::int32_t born;
  } cases[] = {{1, 1}, {2, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.disabledTo);
    M().spawns.clear();
    Spawn& s = AddSpawn(0, 100, 5, false);
    s.scripts[1] = MakeScript(u"Stop(" + ToText(c.disabledTo) + u")");
    Pass(1000);
    EXPECT_EQ(M().spawns[0].born, c.born);
  }
}

}  // namespace
}  // namespace kiv
