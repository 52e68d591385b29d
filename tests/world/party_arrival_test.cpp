// A party arriving on another map, run by the real Character System: its
// members stand apart, the leader walks away, and every follower follows its
// own leader by the indexes of the new map.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "live_world_fixture.h"
#include "world/placement.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kFollowLeaderWord = 0x10003;
constexpr std::int32_t kStepRightWord = (1 << (4 + 2)) + 3;
const Box kMemberBox{-12, -12, 12, 12, 0, 32};

class PartyArrival : public LiveWorld {
 protected:
  void SetUp() override {
    LiveWorld::SetUp();
    second = AddMap(63, 63);
    // The map arrived on already holds three characters, far from the arrival.
    for (int k = 0; k < 3; ++k)
      AddWalker(1500.0f + 100.0f * static_cast<float>(k), 1500.0f, kMemberBox, 0.1f, second);
    Player player;
    player.mapIndex = 0;
    player.controlledMember = 0;
    for (int k = 0; k < 3; ++k) {
      const std::int32_t c = AddWalker(200.0f + 40.0f * static_cast<float>(k), 200.0f, kMemberBox);
      A(c).owningPlayer = 0;
      A(c).partyMember = k;
      if (k > 0) {  // each follows the member before it
        A(c).targetActor = c - 1;
        A(c).autoMoveStyle = kFollowLeaderWord;
        A(c).aiFlags = 1;
      }
      PartyMember member;
      member.character = c;
      player.party.push_back(member);
    }
    projectState.players.assign(1, player);
    shell.currentPlayer = 0;
  }

  std::int32_t second = -1;
};

TEST_F(PartyArrival, MembersStandApartTheLeaderWalksAwayAndEachFollowsItsOwnLeader) {
  A(0).x = 400.0f;  // where a zone or an edge put the leader
  A(0).y = 400.0f;
  const std::int32_t lead = SetCharacterPosition(0, 0, second, false, true);
  ASSERT_EQ(lead, 3);
  const std::vector<PartyMember>& party = projectState.players[0].party;
  ASSERT_EQ(party.size(), 3u);
  EXPECT_EQ(party[1].character, 4);
  EXPECT_EQ(party[2].character, 5);
  EXPECT_EQ(A(4, second).targetActor, 3);
  EXPECT_EQ(A(5, second).targetActor, 4);

  // No two members of the party (team -1: they block each other) overlap.
  for (std::int32_t i = 3; i <= 5; ++i)
    for (std::int32_t j = i + 1; j <= 5; ++j) {
      const float dx = std::fabs(A(i, second).x - A(j, second).x);
      const float dy = std::fabs(A(i, second).y - A(j, second).y);
      EXPECT_TRUE(dx >= 24.0f || dy >= 24.0f) << i << " and " << j << " overlap";
    }

  A(lead, second).path.assign(10, kStepRightWord);
  for (int tick = 0; tick < 80; ++tick) Tick(50, second);
  EXPECT_FLOAT_EQ(A(lead, second).x, 560.0f);
  EXPECT_FLOAT_EQ(A(lead, second).y, 400.0f);
  // The followers caught up with their own leaders, not with the three that
  // were there before.
  auto distance = [this](std::int32_t a, std::int32_t b) {
    return std::hypot(A(a, second).x - A(b, second).x, A(a, second).y - A(b, second).y);
  };
  EXPECT_LT(distance(4, 3), 80.0f);
  EXPECT_LT(distance(5, 4), 80.0f);
  for (std::int32_t k = 0; k < 3; ++k) EXPECT_EQ(A(k, second).x, 1500.0f + 100.0f * static_cast<float>(k));
}

}  // namespace
}  // namespace kiv::test
