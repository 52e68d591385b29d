// A member's return to the party on the real script engine: its
// existence-changed trigger runs once it is back in play.
#include <gtest/gtest.h>

#include "data/fixed_identifiers.h"
#include "data/project_state.h"
#include "internal_commands_fixture.h"
#include "world/party_operations.h"

namespace kiv::test {
namespace {

using PartyRejoinTest = InternalCommandsTest;

TEST_F(PartyRejoinTest, TheExistenceChangedTriggerSeesTheMemberInPlay) {
  const std::int32_t leader = AddActor(0, u"Mark(0)");
  const std::int32_t member = AddActor(kSymTriggerActorExistenceChanged, u"Mark(1)");
  projectState.players.assign(1, Player());
  Player& player = projectState.players[0];
  player.mapIndex = 0;
  for (const std::int32_t c : {leader, member}) {
    PartyMember m;
    m.character = c;
    player.party.push_back(m);
  }
  player.controlledMember = -1;
  gameData.maps[0].actors[static_cast<std::size_t>(member)].removed = 1;
  RejoinPartyMember(0, 1);
  EXPECT_EQ(Marks(), std::vector<Variant>{Variant::Long(1)});
  EXPECT_EQ(gameData.maps[0].actors[static_cast<std::size_t>(member)].removed, 0);
  EXPECT_EQ(projectState.players[0].controlledMember, 1);
  // Already in play: no event.
  RejoinPartyMember(0, 1);
  EXPECT_EQ(Marks().size(), 1u);
}

}  // namespace
}  // namespace kiv::test
