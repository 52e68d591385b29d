#include <utility>

#include "state/state_block_parts.h"

namespace kiv {

namespace {

// The movement word of a character that follows its leader.
constexpr std::int32_t kFollowLeader = 0x10003;
constexpr std::int32_t kComputerControlled = 1;

Actor& CharacterOf(std::vector<Actor>& actors, const PartyMember& member) {
  return actors[static_cast<std::size_t>(member.character)];
}

// Moves the members that name another player to the end of that player's
// party, walking each party from its end so removals keep the indexes ahead.
void MoveMembersToTheirPlayers(std::vector<Player>& players, std::vector<Actor>& actors) {
  for (std::size_t p = 0; p < players.size(); ++p) {
    for (std::size_t m = players[p].party.size(); m-- > 0;) {
      const auto target = static_cast<std::size_t>(players[p].party[m].player);
      if (target == p) continue;
      if (target >= players.size()) players.resize(target + 1);  // new players take the reset record
      PartyMember member = std::move(players[p].party[m]);
      std::vector<PartyMember>& oldParty = players[p].party;
      oldParty.erase(oldParty.begin() + static_cast<std::ptrdiff_t>(m));
      for (std::size_t later = m; later < oldParty.size(); ++later) {
        CharacterOf(actors, oldParty[later]).partyMember = static_cast<std::int32_t>(later);
      }
      std::vector<PartyMember>& newParty = players[target].party;
      Actor& actor = CharacterOf(actors, member);
      actor.owningPlayer = static_cast<std::int32_t>(target);
      actor.partyMember = static_cast<std::int32_t>(newParty.size());
      newParty.push_back(std::move(member));
    }
  }
}

// Each member follows the nearest earlier member that is in play; the first
// member in play becomes the one the player controls.
void ChainParty(Player& player, std::vector<Actor>& actors) {
  std::int32_t leader = -1;
  for (std::size_t m = 0; m < player.party.size(); ++m) {
    Actor& actor = CharacterOf(actors, player.party[m]);
    if (leader >= 0) {
      actor.autoMoveStyle = kFollowLeader;
      actor.aiFlags = kComputerControlled;
      actor.targetActor = leader;
    }
    if (actor.removed == 0) {
      if (leader < 0) player.controlledMember = static_cast<std::int32_t>(m);
      leader = player.party[m].character;
    }
  }
}

}  // namespace

void RegroupParties(std::vector<Player>& players, std::vector<Actor>& actors) {
  MoveMembersToTheirPlayers(players, actors);
  for (Player& player : players) ChainParty(player, actors);
}

}  // namespace kiv
