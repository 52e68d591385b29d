// Input sets switched on and off from scripts for the current player.
#include <gtest/gtest.h>

#include "data/game_data.h"
#include "object_kind_fixture.h"
#include "player/shell_state.h"

namespace kiv::test {
namespace {

class InputSetPropertiesTest : public ObjectKindTest {
 protected:
  void SetUp() override {
    ObjectKindTest::SetUp();
    gameData.inputSets.assign(3, InputSet());
    // Players 0, 2 and 3 have their own patterns; player 1 runs the scripts.
    const std::array<std::array<std::uint8_t, 4>, 3> enabled{{{1, 1, 0, 1}, {0, 1, 1, 0}, {1, 0, 1, 1}}};
    for (std::size_t s = 0; s < 3; ++s) gameData.inputSets[s].enabled = enabled[s];
    shell.currentPlayer = 1;
  }
  void TearDown() override {
    gameData.inputSets.clear();
    shell.currentPlayer = 0;
    ObjectKindTest::TearDown();
  }
  std::array<std::uint8_t, 4> Flags(std::size_t set) const { return gameData.inputSets[set].enabled; }
};

TEST_F(InputSetPropertiesTest, OnReadsAndSwitchesTheCurrentPlayersFlag) {
  EXPECT_EQ(Read(RunInputSetProperty, kObjectInputSet, 0, u"On"), Variant::Byte(1));
  EXPECT_EQ(Read(RunInputSetProperty, kObjectInputSet, 2, u"On"), Variant::Byte(0));
  struct Case {
    Variant value;
    std::uint8_t stored;
  } cases[] = {
      {Variant::Text(u"on"), 1}, {Variant::Text(u"off"), 0}, {Variant::Long(2), 1},
      {Variant::Text(u""), 0},   {Variant::Text(u"yes"), 1}, {Variant::Boolean(false), 0},
  };
  for (const Case& c : cases) {
    Assign(RunInputSetProperty, kObjectInputSet, 2, u"On", c.value);
    EXPECT_EQ(Flags(2)[1], c.stored) << VarToText(c.value).size();
  }
  EXPECT_EQ(Flags(2)[0], 1);
  EXPECT_EQ(Flags(2)[2], 1);
  EXPECT_EQ(Flags(2)[3], 1);
}

TEST_F(InputSetPropertiesTest, ExclusiveLeavesOnlyThisSetOnForTheCurrentPlayer) {
  for (std::int32_t chosen = 0; chosen < 3; ++chosen) {
    const auto before0 = Flags(0), before1 = Flags(1), before2 = Flags(2);
    Read(RunInputSetProperty, kObjectInputSet, chosen, u"Exclusive");
    for (std::size_t s = 0; s < 3; ++s) {
      const auto& before = s == 0 ? before0 : s == 1 ? before1 : before2;
      EXPECT_EQ(Flags(s)[1], static_cast<std::int32_t>(s) == chosen ? 1 : 0) << chosen << " " << s;
      for (std::size_t p : {0u, 2u, 3u}) EXPECT_EQ(Flags(s)[p], before[p]) << chosen << " " << s << " " << p;
    }
  }
}

TEST_F(InputSetPropertiesTest, PlayerOrSetOutsideItsRangeIsErrorNine) {
  for (const std::int32_t player : {-1, 4}) {
    shell.currentPlayer = player;
    EXPECT_EQ(Raised([&] { Read(RunInputSetProperty, kObjectInputSet, 0, u"On"); }).substr(0, 2), "9 ");
    EXPECT_EQ(Raised([&] { Read(RunInputSetProperty, kObjectInputSet, 0, u"Exclusive"); }).substr(0, 2), "9 ");
  }
  shell.currentPlayer = 1;
  EXPECT_EQ(Raised([&] { Read(RunInputSetProperty, kObjectInputSet, 3, u"On"); }).substr(0, 2), "9 ");
  EXPECT_EQ(Raised([&] { Assign(RunInputSetProperty, kObjectInputSet, -1, u"On", Variant::Long(1)); }).substr(0, 2),
            "9 ");
}

}  // namespace
}  // namespace kiv::test
