#include "commands/party_access.h"

#include "core/error.h"
#include "data/game_data.h"
#include "script/script_value.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

[[noreturn]] void OutOfRange() { RaiseError(kErrIndex, "Subscript out of range."); }

}  // namespace

std::int32_t CalledPlayerIndex(const InternalCall& call) {
  const std::int32_t player =
      call.object.kind == kObjectPartyMember ? call.object.mapIndex : VarToLong(call.object.value);
  if (player < 0 || static_cast<std::size_t>(player) >= projectState.players.size()) OutOfRange();
  return player;
}

Player& CalledPlayer(const InternalCall& call) {
  return projectState.players[static_cast<std::size_t>(CalledPlayerIndex(call))];
}

std::int32_t CalledMemberIndex(const InternalCall& call) {
  const Player& player = CalledPlayer(call);
  const std::int32_t member = VarToLong(call.object.value);
  if (member < 0 || static_cast<std::size_t>(member) >= player.party.size()) OutOfRange();
  return member;
}

PartyMember& CalledMember(const InternalCall& call) {
  return CalledPlayer(call).party[static_cast<std::size_t>(CalledMemberIndex(call))];
}

Actor* MemberCharacter(const Player& player, const PartyMember& member) {
  if (player.mapIndex < -1 || player.mapIndex > gameData.maps.LastIndex()) return nullptr;
  std::vector<Actor>& actors = gameData.maps[player.mapIndex].actors;
  if (member.character < 0 || static_cast<std::size_t>(member.character) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(member.character)];
}

bool MemberInPlay(const Player& player, const PartyMember& member) {
  const Actor* character = MemberCharacter(player, member);
  return character != nullptr && character->removed == 0;
}

}  // namespace kiv
